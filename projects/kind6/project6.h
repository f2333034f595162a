#pragma once

#include "projects/common/kind_page.h"
#include "projects/common/kind_run.h"
#include "projects/keyword_input_project.h"
#include "projects/kind6/project6_rep.h"
#include "projects/kind6/project6_site.h"
#include "skin/skin_label.h"
#include "skin/skin_slider.h"

#include <vector>

class CDownloader;
class CDownloader_Parsers_SE_result;

// Kind 6, Placement Scout: sites that show content ads for a keyword, with their page and traffic rank.
// A run reads each keyword's organic results on search engine 1 (as many result pages as the page slider
// says), fetches every result site's home page once and tests it, and asks the page rank and the traffic
// rank of each site whose test found something. The four kinds of request run side by side, one of each
// at a time; a site whose home page cannot be read is listed as failed and the run goes on.
class CProject6 : public CKeywordInputProject, private CRunHooks {
  public:
    explicit CProject6(int id);

    void InitInfo() override;
    void CreateView(CSkinDlgHolder* holder, unsigned* nextId) override;
    void Process() override;
    void Export(CProjectExporter* exporter) override;
    void LoadXml(CDownloader_HTMLTags* tree) override;
    void SaveXml(CDownloader_HTMLTags* root) override;
    // A project made in the wizard starts its run at once.
    void OnCommand(const QString& command, int param, CSkinDlg_Base* sender) override;
    void ShowView(int show) override;
    void ClearData() override;

    const QStringList& Keywords() const { return m_input.Keywords(); }
    bool IsRunning() const { return m_run.IsRunning(); }
    const std::vector<CProject6_Site>& Sites() const { return m_sites; }
    CProject6_Rep& Report() { return m_rep; }
    CProjectBar& Bar() { return m_page.m_bar; }
    CSkinSlider& PagesSlider() { return m_pagesSlider; }

    static constexpr int kMinPages = 1;
    static constexpr int kMaxPages = 10;
    static constexpr int kDefaultPages = 3;
    // The page slider's row, between the project bar and the report.
    static constexpr int kRowTop = CProjectBar::kBottom + 4;
    static constexpr int kReportTop = kRowTop + 40;

    // The run's lanes: the searches, the home pages (a few at a time, so that a site that is slow to answer
    // holds up only its own row), then one lane for each of a found site's ranks. The searches' task is the
    // result page asked (over every keyword's pages in turn), the others' a site.
    static constexpr int kSearchLane = 0;
    static constexpr int kFirstHomePageLane = 1;
    static constexpr int kHomePageLanes = 4;
    static constexpr int kFirstRankLane = kFirstHomePageLane + kHomePageLanes;
    static constexpr int kLaneCount = kFirstRankLane + 2;
    // The run's pace: each step starts at most this many home pages, so that a page of new sites is not
    // fetched all at once.
    static constexpr int kHomePagesPerStep = 1;

  protected:
    // For kind 7, which finds its sites the way this kind does. markerTitle: the report's column of what the
    // home-page test found.
    CProject6(int id, int kind, const QString& markerTitle);

    // The home-page test: what the page holds that the kind looks for, or found false. The page is the
    // finished reply of downloader; homeUrl is the address that was asked for.
    virtual QString TestHomePage(const CDownloader& downloader, const QString& homeUrl, bool& found) const;
    // Adds the kind's own elements to the slider's row, from x on.
    virtual void CreateRowElements(CSkinDlgHolder* /*holder*/, unsigned* /*nextId*/, int /*x*/) {}
    virtual void ShowRowElements(bool /*visible*/) {}

  private:
    // sender: the window to ask over before a finished run's results are dropped (null: no question).
    void Start(CSkinDlg_Base* sender);
    void Stop();
    int SearchCount() const;
    // The first site not yet tested nor being fetched, task_value::kNone when none is.
    int NextUntestedSite() const;
    void StoreSearch(int task, const CDownloader* reply);
    void StoreHomePage(int lane, int task, const CDownloader* reply);
    void AddSites(const std::vector<CDownloader_Parsers_SE_result>& results);

    int NextTask(int lane) override;
    CServiceStep::Result StartTask(int lane, CServiceLane& request) override;
    Reply StoreReply(int lane, int task, const CDownloader* reply) override;
    // A failed search shows on the bar only (its results would add rows); a site's task is marked.
    void MarkFailed(int lane, int task, const QString& error) override;
    QString ServiceName(int lane, int task) const override;
    QString Subject(int lane, int task) const override;
    bool WorkLeft() const override;
    void ContentChanged() override;
    bool CountRequests(int& done, int& total) const override;

    std::vector<CProject6_Site> m_sites;
    int m_pageCount = kDefaultPages;
    // Result pages asked so far, over every keyword's pages in turn; a page without results ends its
    // keyword's search.
    int m_nextSearch = 0;
    // Home pages started (or waiting for a download slot) in this step; counted where they start, so that
    // asking for the next task changes nothing.
    int m_homePagesThisStep = 0;

    CKindPage m_page;
    CSkinLabel m_pagesLabel;
    CSkinSlider m_pagesSlider;
    CProject6_Rep m_rep;
    CKindRun m_run{m_page.m_bar, *this, kLaneCount};
};

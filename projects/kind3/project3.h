#pragma once

#include "projects/common/kind_page.h"
#include "projects/common/kind_run.h"
#include "projects/common/search_engine.h"
#include "projects/keyword_input_project.h"
#include "projects/kind3/project3_ad.h"
#include "projects/kind3/project3_advertiser.h"
#include "projects/kind3/project3_rep1.h"
#include "projects/kind3/project3_rep2.h"
#include "skin/skin_edit.h"

#include <QSet>
#include <vector>

// Kind 3, Campaign Chronicle: the advertisers of one keyword over the last months. Every run reads the ads
// of the first three result pages of each engine and adds what it saw, dated, to the project's history.
class CProject3 : public CKeywordInputProject, private CRunHooks {
  public:
    explicit CProject3(int id);

    void InitInfo() override;
    // A project made by the wizard starts its run once its page is built.
    void CreateView(CSkinDlgHolder* holder, unsigned* nextId) override;
    void Process() override;
    void Export(CProjectExporter* exporter) override;
    void LoadXml(CDownloader_HTMLTags* tree) override;
    void SaveXml(CDownloader_HTMLTags* root) override;
    void OnCommand(const QString& command, int param, CSkinDlg_Base* sender) override;
    void ShowView(int show) override;

    // Result pages read per engine in a run, ten results each.
    static constexpr int kPagesPerEngine = 3;
    static constexpr int kRequestsPerRun = kPagesPerEngine * kSearchEngineCount;

    const QString& Keyword() const { return m_keyword; }
    bool IsRunning() const { return m_run.IsRunning(); }
    const std::vector<CProject3_Ad>& Ads() const { return m_ads; }
    const std::vector<CProject3_Advertiser>& Advertisers() const { return m_advertisers; }

  private:
    // Starts a run for the keyword in the page's field; a changed keyword starts a new history once the
    // user agreed to let the old one go.
    void Start(CSkinDlg_Base* sender);
    // Adds the ads of one answered page as sightings of the running run.
    void AddSightings(int engine, const std::vector<CDownloader_Parsers_SE_result>& ads);
    void ShowSelectedAdvertiser();

    // The run's one lane asks the engines one after the other, kPagesPerEngine pages each; a task is the
    // number of a request in the run.
    int NextTask(int lane) override;
    CServiceStep::Result StartTask(int lane, CServiceLane& request) override;
    Reply StoreReply(int lane, int task, const CDownloader* reply) override;
    QString ServiceName(int lane, int task) const override;
    QString Subject(int lane, int task) const override;
    bool WorkLeft() const override;
    // The advertisers again from the history, and the ad report for the selected one.
    void ContentChanged() override;

    QString m_keyword;
    // The history: every sighting of every run.
    std::vector<CProject3_Ad> m_ads;
    std::vector<CProject3_Advertiser> m_advertisers;
    // The running run's date, and the ads it has already counted (an ad shown on several pages of one
    // engine is one sighting).
    int m_runSeen = 0;
    QSet<QString> m_runKeys;
    // The request the run asks next.
    int m_nextRequest = kRequestsPerRun;
    // A project made by the wizard starts at once; one read from a file waits for Start.

  public:
    // After the records they show.
    CKindPage m_page;
    CSkinEdit m_keywordEdit;
    CProject3_Rep1 m_rep1;
    CProject3_Rep2 m_rep2;

  private:
    CKindRun m_run{m_page.m_bar, *this, 1};
};

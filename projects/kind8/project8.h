#pragma once

#include "projects/common/kind_page.h"
#include "projects/common/kind_run.h"
#include "projects/common/search_engine.h"
#include "projects/keyword_input_project.h"
#include "projects/kind8/project8_rep1.h"
#include "projects/kind8/project8_result.h"
#include "skin/skin_label.h"

#include <vector>

// Kind 8, Offer Compass: CPA and affiliate offers for a keyword. The search asks every engine for
// "<keyword> affiliate program" (its first step) and then for "<keyword> CPA offer" (its second).
class CProject8 : public CKeywordInputProject, private CRunHooks {
  public:
    explicit CProject8(int id);

    void InitInfo() override;
    // A project made by the wizard starts its run once its page is built.
    void CreateView(CSkinDlgHolder* holder, unsigned* nextId) override;
    void Process() override;
    // Saving needs the search to have reached its second step.
    bool CanSave() override;
    void Export(CProjectExporter* exporter) override;
    void LoadXml(CDownloader_HTMLTags* tree) override;
    void SaveXml(CDownloader_HTMLTags* root) override;
    void OnCommand(const QString& command, int param, CSkinDlg_Base* sender) override;
    void ShowView(int show) override;

    // The two queries of a search, in the order they are asked.
    static QString OfferQuery(const QString& keyword, int query);
    static constexpr int kQueries = 2;
    static constexpr int kRequestsPerSearch = kQueries * kSearchEngineCount;

    // 0 before the search, 1 and 2 while its queries run (2 also once a stopped search has every engine's
    // answer to the first), kSearchDone after.
    int SearchStep() const;
    static constexpr int kSearchDone = 3;
    const QString& Keyword() const { return m_keyword; }
    const std::vector<CProject8_Result>& Results() const { return m_results; }

  private:
    void Start();

    // The run's one lane asks query by query, one request per engine; a task is the number of a request.
    int NextTask(int lane) override;
    CServiceStep::Result StartTask(int lane, CServiceLane& request) override;
    Reply StoreReply(int lane, int task, const CDownloader* reply) override;
    QString ServiceName(int lane, int task) const override;
    QString Subject(int lane, int task) const override;
    bool WorkLeft() const override;
    void ContentChanged() override;

    QString m_keyword;
    std::vector<CProject8_Result> m_results;
    // The request the run asks next.
    int m_nextRequest = kRequestsPerSearch;
    // A project made by the wizard starts at once; one read from a file waits for Start.

  public:
    // After the records they show.
    CKindPage m_page;
    CProject8_Rep1 m_rep1;
    // Open each engine's results for the first query in the browser.
    CSkinLabel m_links[kSearchEngineCount];

  private:
    CKindRun m_run{m_page.m_bar, *this, 1};
};

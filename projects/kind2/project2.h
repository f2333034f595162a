#pragma once

#include "projects/common/kind_page.h"
#include "projects/common/kind_run.h"
#include "projects/keyword_input_project.h"
#include "projects/kind2/project2_keyword.h"
#include "projects/kind2/project2_rep1.h"
#include "projects/kind2/project2_rep2.h"

#include <vector>

// Kind 2, Niche Lantern: pay-per-click market research per keyword on three search engines. For every
// keyword it reads the keyword tool's searches and cost per click, each engine's result count and ads, and
// the commercial intention; the ads of the selected keyword fill the second report.
class CProject2 : public CKeywordInputProject, private CRunHooks {
  public:
    explicit CProject2(int id);

    void InitInfo() override;
    // An accepted page also starts the run on the first step; an opened file starts nothing.
    void CreateView(CSkinDlgHolder* holder, unsigned* nextId) override;
    void ShowView(int show) override;
    // One step of every service lane: each holds at most one request and moves to the next keyword once
    // its reply is read.
    void Process() override;
    int CanExport(int reserved) override;
    // The keyword report, then the ads report when a keyword is selected.
    void Export(CProjectExporter* exporter) override;
    void LoadXml(CDownloader_HTMLTags* tree) override;
    void SaveXml(CDownloader_HTMLTags* root) override;
    void OnCommand(const QString& command, int param, CSkinDlg_Base* sender) override;

    // Asks for every value not fetched yet and again for every one whose request failed; values a service
    // could not give stay "No Data". With nothing left to ask it does nothing.
    void Start();
    // Gives back every downloader the run holds.
    void Stop();
    bool IsRunning() const { return m_run.IsRunning(); }

    const std::vector<CProject2_Keyword>& Records() const { return m_records; }
    CProject2_Rep1& KeywordReport() { return m_rep1; }
    CProject2_Rep2& AdsReport() { return m_rep2; }
    const CKindPage& Page() const { return m_page; }

    static inline const QString kSelectCommand = QStringLiteral("prj2_report_select_update");

  private:
    // The run's lanes, numbered as a record's tasks; a task is the index of a record (the keyword tool's asks
    // about every pending one).
    enum Lane { kToolLane, kGoogleLane, kBingLane, kYahooLane, kIntentLane, kLaneCount };
    static_assert(kLaneCount == CProject2_Keyword::kTaskCount &&
                  kIntentLane == CProject2_Keyword::kIntentTask);

    bool Pending(int lane, const CProject2_Keyword& record) const;
    int FirstPending(int lane) const;
    int CountPending() const;
    // The keywords the keyword tool has still to answer, one a line.
    QString PendingToolKeywords() const;
    void StoreTool(const CDownloader* reply);
    void StoreSearch(int lane, CProject2_Keyword& record, const CDownloader* reply);
    Reply StoreIntent(CProject2_Keyword& record, const CDownloader* reply);
    void SelectionChanged();
    void MakeRecords();

    int NextTask(int lane) override;
    CServiceStep::Result StartTask(int lane, CServiceLane& request) override;
    Reply StoreReply(int lane, int task, const CDownloader* reply) override;
    void MarkFailed(int lane, int task, const QString& error) override;
    QString ServiceName(int lane, int task) const override;
    QString Subject(int lane, int task) const override;
    bool WorkLeft() const override;
    void ContentChanged() override;

    std::vector<CProject2_Keyword> m_records;
    CProject2_Rep1 m_rep1;
    CProject2_Rep2 m_rep2;
    CKindPage m_page;
    CSkinDlgHolder* m_holder = nullptr;
    // The keywords the held keyword-tool run asks about, one a line.
    QString m_toolKeywords;
    CKindRun m_run{m_page.m_bar, *this, kLaneCount};
};

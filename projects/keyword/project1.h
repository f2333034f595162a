#pragma once

#include "projects/common/kind_page.h"
#include "projects/common/service_step.h"
#include "projects/keyword/project1_keyword.h"
#include "projects/keyword/project1_rep.h"
#include "projects/keyword_input_project.h"

#include <QHash>
#include <array>
#include <vector>

class CSkinDlg_Base;

// Kind 1, Lexicon Tide: keyword lists from many sources for the seed keywords, one row per keyword with
// what the sources say of it.
class CProject1 : public CKeywordInputProject {
  public:
    explicit CProject1(int id);

    void InitInfo() override;
    void CreateView(CSkinDlgHolder* holder, unsigned* nextId) override;
    // Starts the run of a new project on its first tick; then one step of every source.
    void Process() override;
    // Saving waits until the project stops gathering data.
    bool CanSave() override;
    int CanExport(int reserved) override;
    void Export(CProjectExporter* exporter) override;
    void LoadXml(CDownloader_HTMLTags* tree) override;
    void SaveXml(CDownloader_HTMLTags* root) override;
    void OnCommand(const QString& command, int param, CSkinDlg_Base* sender) override;
    void ShowView(int show) override;

    // m_status: a new project runs on its first tick; a stopped or opened one waits for Start.
    enum Status { kNew = 0, kRunning = 1, kDone = 2, kStopped = 3 };

    const std::vector<CProject1_Keyword>& Keywords() const { return m_keywords; }
    int Status() const { return m_status; }
    const CProjectBar& Bar() const { return m_page.m_bar; }
    CProject1_Rep& Report() { return m_report; }

  private:
    // One source working through the seeds, one request (or multi-step exchange) at a time; its step gives
    // its downloader back when the run stops or the project goes.
    struct Lane {
        int source = 0;
        QString service;
        bool enabled = false;
        int seed = 0;
        CServiceStep step;
    };

    void StartRun();
    void StopRun(int status);
    void StepLane(Lane& lane);
    CServiceStep::Result RunLane(Lane& lane, const QString& seed);
    void ReadReply(const Lane& lane, std::vector<CDownloader_Parsers_Adwords_result>& rows) const;
    void MergeRows(const std::vector<CDownloader_Parsers_Adwords_result>& rows, int source);
    void RebuildIndex();
    void ContentChanged();
    void UpdateBar();

    std::vector<CProject1_Keyword> m_keywords;
    // Case-folded keyword to its index in m_keywords.
    QHash<QString, int> m_index;
    int m_status = kNew;
    int m_done = 0;
    int m_total = 0;
    QString m_lastError;
    std::array<Lane, CProject1_Keyword::kSourceCount> m_lanes;
    // The window the keyword tool's picture-code prompt opens over.
    CSkinDlg_Base* m_parentWnd = nullptr;
    CProject1_Rep m_report{m_keywords};
    CKindPage m_page{1};
};

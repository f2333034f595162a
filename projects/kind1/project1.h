#pragma once

#include "projects/common/kind_page.h"
#include "projects/common/kind_run.h"
#include "projects/keyword_input_project.h"
#include "projects/kind1/project1_keyword.h"
#include "projects/kind1/project1_rep.h"

#include <QHash>
#include <array>
#include <vector>

class CSkinDlg_Base;

// Kind 1, Lexicon Tide: keyword lists from many sources for the seed keywords, one row per keyword with
// what the sources say of it.
class CProject1 : public CKeywordInputProject, private CRunHooks {
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

    const std::vector<CProject1_Keyword>& Keywords() const { return m_keywords; }
    CKindRun::State State() const { return m_run.GetState(); }
    const CProjectBar& Bar() const { return m_page.m_bar; }
    CProject1_Rep& Report() { return m_report; }

  private:
    // One source working through the seeds, one request (or multi-step exchange) at a time on its lane of
    // the run; a task is the index of a seed.
    struct Source {
        int source = 0;
        QString service;
        bool enabled = false;
        int seed = 0;
    };

    // A new run from an empty report, with every source whose account is set.
    void Start();
    void ReadReply(int source, const CDownloader& reply,
                   std::vector<CDownloader_Parsers_Adwords_result>& rows) const;
    void MergeRows(const std::vector<CDownloader_Parsers_Adwords_result>& rows, int source);
    void RebuildIndex();

    int NextTask(int lane) override;
    CServiceStep::Result StartTask(int lane, CServiceLane& request) override;
    Reply StoreReply(int lane, int task, const CDownloader* reply) override;
    QString ServiceName(int lane, int task) const override;
    QString Subject(int lane, int task) const override;
    bool WorkLeft() const override;
    void ContentChanged() override;

    std::vector<CProject1_Keyword> m_keywords;
    // Case-folded keyword to its index in m_keywords.
    QHash<QString, int> m_index;
    std::array<Source, CProject1_Keyword::kSourceCount> m_sources;
    // The window the keyword tool's picture-code prompt opens over.
    CSkinDlg_Base* m_parentWnd = nullptr;
    CProject1_Rep m_report{m_keywords};
    CKindPage m_page{1};
    CKindRun m_run{m_page.m_bar, *this, CProject1_Keyword::kSourceCount};
};

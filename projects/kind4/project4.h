#pragma once

#include "projects/common/kind_page.h"
#include "projects/common/kind_run.h"
#include "projects/keyword_input_project.h"
#include "projects/kind4/project4_data.h"
#include "projects/kind4/project4_rep1.h"
#include "projects/kind4/project4_rep2.h"
#include "skin/skin_button.h"

#include <array>

// Kind 4, Rank Summit: per keyword the search volume, each engine's result count and top ten organic results,
// and for every top site its page rank, inlinks, traffic rank and domain age.
class CProject4 : public CKeywordInputProject, private CRunHooks {
  public:
    explicit CProject4(int id);

    void InitInfo() override;
    // Builds the page; a project fresh from the wizard starts its run here, a reopened one never does.
    void CreateView(CSkinDlgHolder* holder, unsigned* nextId) override;
    void ShowView(int show) override;
    void Process() override;
    int CanExport(int reserved) override;
    void Export(CProjectExporter* exporter) override;
    void LoadXml(CDownloader_HTMLTags* tree) override;
    void SaveXml(CDownloader_HTMLTags* root) override;
    void OnCommand(const QString& command, int param, CSkinDlg_Base* sender) override;

    const CProject4_Data& Data() const { return m_data; }
    CProject4_Rep1& KeywordReport() { return m_rep1; }
    CProject4_Rep2& SiteReport() { return m_rep2; }
    const CProjectBar& Bar() const { return m_page.m_bar; }
    int Engine() const { return m_engine; }
    const CSkinButton& EngineTab(int engine) const { return m_engineTabs[static_cast<std::size_t>(engine)]; }

  private:
    void Start();
    void StoreVolumes(const CDownloader& downloader);
    void SelectEngine(int engine);
    void OnKeywordSelected();

    // One lane a service (a Project4Request); its task is a keyword or a site. Site requests appear as
    // searches answer, so the run is over only once every lane is idle.
    int NextTask(int lane) override;
    CServiceStep::Result StartTask(int lane, CServiceLane& request) override;
    Reply StoreReply(int lane, int task, const CDownloader* reply) override;
    void MarkFailed(int lane, int task, const QString& error) override;
    QString ServiceName(int lane, int task) const override;
    QString Subject(int lane, int task) const override;
    bool WorkLeft() const override;
    void ContentChanged() override;
    bool CountRequests(int& done, int& total) const override;

    CProject4_Data m_data;
    CProject4_Rep1 m_rep1;
    CProject4_Rep2 m_rep2;
    CKindPage m_page;
    std::array<CSkinButton, kProject4EngineCount> m_engineTabs;
    int m_engine = kProject4Google;
    // The window the keyword tool's picture-code prompt opens over.
    CSkinDlg_Base* m_window = nullptr;
    CKindRun m_run{m_page.m_bar, *this, kProject4RequestCount};
};

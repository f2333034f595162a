#pragma once

#include "app/project.h"
#include "app/project_view_title.h"
#include "projects/common/wizard_run_start.h"
#include "projects/wizard_keyword_input.h"

// What the kinds that start from keywords share: their keyword input in the wizard, the keywords it
// gathered (saved and read back with the project), and the view's heading.
class CKeywordInputProject : public CProject {
  public:
    CKeywordInputProject(int id, int kind, CWizardKeywordInput::Mode mode,
                         CWizardKeywordInput::History history = CWizardKeywordInput::History::Add);

    void CreateWizardPage(CSkinDlgHolder* holder, unsigned* nextId, int labelLeft, int fieldLeft, int top,
                          int width, QString preset) override;
    void DestroyWizardPage() override;
    bool ValidateWizardPage(QString& error) override;
    void CreateView(CSkinDlgHolder* holder, unsigned* nextId) override;
    void ShowView(int show) override;
    void LoadXml(CDownloader_HTMLTags* tree) override;
    void SaveXml(CDownloader_HTMLTags* root) override;
    // Answers the wizard's question about clearing the keyword history.
    void OnCommand(const QString& command, int param, CSkinDlg_Base* sender) override;

    const CWizardKeywordInput& Input() const { return m_input; }

  protected:
    // At the top of the kind's Process: true once, when a project the wizard made is to start its run.
    bool TakeWizardStart() { return m_wizardStart.TakeDue(m_viewCreated); }

    CWizardKeywordInput m_input;
    CProjectViewTitle m_viewTitle;

  private:
    CWizardRunStart m_wizardStart;
};

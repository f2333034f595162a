#include "projects/keyword_input_project.h"

#include "app/new_project_dlg.h"

CKeywordInputProject::CKeywordInputProject(int id, int kind, CWizardKeywordInput::Mode mode,
                                           CWizardKeywordInput::History history)
    : CProject(id), m_input(kind, mode, history) {
    m_kind = kind;
}

void CKeywordInputProject::CreateWizardPage(CSkinDlgHolder* holder, unsigned* nextId, int labelLeft,
                                            int fieldLeft, int top, int width, QString preset) {
    m_input.CreatePage(holder, nextId, labelLeft, fieldLeft, top, width, preset);
}

void CKeywordInputProject::DestroyWizardPage() {
    m_input.DestroyPage();
}

bool CKeywordInputProject::ValidateWizardPage(QString& error) {
    if (!m_input.Validate(error))
        return false;
    m_wizardStart.Accepted();
    return true;
}

void CKeywordInputProject::CreateView(CSkinDlgHolder* holder, unsigned* nextId) {
    m_viewTitle.CreateInView(holder, nextId, m_name);
    m_viewCreated = true;
}

void CKeywordInputProject::ShowView(int show) {
    m_viewTitle.SetVisible(show == kShowView);
}

void CKeywordInputProject::LoadXml(CDownloader_HTMLTags* tree) {
    m_wizardStart.Loaded();
    m_input.LoadXml(tree);
}

void CKeywordInputProject::SaveXml(CDownloader_HTMLTags* root) {
    m_input.SaveXml(root);
}

void CKeywordInputProject::OnCommand(const QString& command, int param, CSkinDlg_Base* /*sender*/) {
    if (m_input.IsListCommand(command) &&
        (param == CNewProjectDlg::kHistoryCleared || param == CNewProjectDlg::kHistoryKept))
        m_input.OnHistoryAnswer(param);
}

#include "app/project.h"

#include "skin/skin_constants.h"
#include "skin/skin_dlg_base.h"

using namespace Qt::StringLiterals;

CProject::CProject(int id) : m_id(id) {}

CProject::~CProject() = default;

void CProject::InitInfo() {}

void CProject::CreateWizardPage(CSkinDlgHolder* /*holder*/, unsigned* /*nextId*/, int /*labelLeft*/,
                                int /*fieldLeft*/, int /*top*/, int /*width*/, QString /*preset*/) {}

void CProject::DestroyWizardPage() {}

bool CProject::ValidateWizardPage(QString& error) {
    // A kind without its own check can never leave the wizard.
    error = u"Pure Virtual Call"_s;
    return false;
}

void CProject::CreateView(CSkinDlgHolder* /*holder*/, unsigned* /*nextId*/) {}

void CProject::Process() {}

void CProject::DrawView(plat::DeviceContext& /*dc*/, CMainDlg* /*mainWnd*/) {}

bool CProject::CanOpen() {
    return true;
}

QString CProject::OpenRefusal() {
    return {};
}

bool CProject::HasUnsavedResults() {
    return m_hasResults && CanSave();
}

bool CProject::ConfirmLoseResults(CSkinDlg_Base* dialog) {
    if (!m_hasResults || !dialog)
        return true;
    return dialog->MessageBox(kLoseResults, QString(), skin::kMessageYesNo | skin::kMessageQuestion) ==
           skin::kResultYes;
}

bool CProject::CanSave() {
    return true;
}

int CProject::CanExport(int /*reserved*/) {
    return 1;
}

void CProject::Export(CProjectExporter* /*exporter*/) {}

void CProject::LoadXml(CDownloader_HTMLTags* /*tree*/) {}

void CProject::SaveXml(CDownloader_HTMLTags* /*root*/) {}

void CProject::OnWizardDone() {}

void CProject::OnCommand(const QString& /*command*/, int /*param*/, CSkinDlg_Base* /*sender*/) {}

void CProject::ShowView(int /*show*/) {}

void CProject::ClearAll() {}

void CProject::ClearData() {}

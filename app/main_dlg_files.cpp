#include "app/export_target.h"
#include "app/main_dlg.h"
#include "app/project_exporter_csv.h"
#include "app/project_exporter_html.h"
#include "app/project_file.h"
#include "net/crawler.h"
#include "net/saved_file.h"
#include "platform/file_dialog.h"
#include "skin/commands.h"
#include "skin/skin_constants.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

const QString kUnrecognized = u"Unrecognized file format. Load operation aborted."_s;
const QString kCannotSave = u"Cannot open file for writing."_s;
const QString kSaveWhileBusy =
    u"Saving while this project is still gathering data is disabled.\nPlease allow "
    u"the project to finish before saving."_s;
const QString kNoOpenSave = u"The open/save options are not available for this project."_s;
const QString kCannotExport = u"Cannot open destination file for writing"_s;
const QString kNoExport = u"The export option is not available for this project."_s;

const QString kCaptionCriticalOpen = u"Critical Error"_s;
const QString kCaptionCritical = u"Critical error"_s;
const QString kCaptionCanceled = u"Operation canceled"_s;
const QString kCaptionSorry = u"Sorry"_s;

const QString kOpenFilter = u"Tarnwick 2.0 projects (*.twpx)"_s;
const QString kSaveFilter = u"Tarnwick projects (*.twpx)"_s;
const QString kHtmlFilter = u"HTML files (*.htm *.html)"_s;
const QString kCsvFilter = u"Excel CSV (*.csv)"_s;

constexpr unsigned kErrorBox = skin::kMessageOk | skin::kMessageStop;
constexpr unsigned kWarningBox = skin::kMessageOk | skin::kMessageExclamation;

} // namespace

bool CMainDlg::ConfirmReplace(const QString& path) {
    if (!QFileInfo::exists(path))
        return true;
    const QString question = QFileInfo(path).fileName() + u" already exists.\nDo you want to replace it?"_s;
    return MessageBox(question, QString(), skin::kMessageYesNo | skin::kMessageQuestion) == skin::kResultYes;
}

void CMainDlg::OpenProjectFile(int /*param*/) {
    plat::FileDialogRequest request;
    request.mode = plat::FileDialogRequest::Mode::Open;
    request.filters = {kOpenFilter};
    const plat::FileDialogAnswer answer = plat::RunFileDialog(this, request);
    if (!answer.accepted())
        return;

    killTimer(kProjectTimer);
    CDownloader_HTMLTags tree;
    const int kind = ReadProjectFile(answer.path, tree);
    if (kind == 0) {
        MessageBox(kUnrecognized, kCaptionCriticalOpen, kErrorBox);
        setTimer(kProjectTimer, kProjectTickMs);
        return;
    }
    // Only one kind-5 project can be open: a kind-5 file loads into it.
    const int openMonitor = kind == 5 ? FindProjectOfKind(5) : -1;
    std::unique_ptr<CProject> made;
    CProject* project = nullptr;
    if (openMonitor >= 0) {
        project = m_projects[size_t(openMonitor)].get();
    } else if (m_makeProject) {
        made = m_makeProject(kind, g_pCrawler ? g_pCrawler->TakeProjectId() : 0);
        project = made.get();
    }
    if (project && project->CanOpen()) {
        if (g_pCrawler)
            g_pCrawler->SetPaused(true);
        if (made) {
            made->InitInfo();
            AddProject(std::move(made));
        } else {
            ShowProject(openMonitor);
        }
        LoadProjectFile(*project, tree);
        OnCommand(skin::cmd::kResume, 0);
        LayoutTabs();
    } else if (project && !project->OpenRefusal().isEmpty()) {
        MessageBox(project->OpenRefusal(), QString(), kWarningBox);
    }
    setTimer(kProjectTimer, kProjectTickMs);
}

void CMainDlg::SaveProject(int /*param*/) {
    CProject& project = *m_projects[size_t(m_curProject)];
    if (!project.CanSave()) {
        if (project.m_busy)
            MessageBox(kSaveWhileBusy, kCaptionCanceled, kWarningBox);
        else
            MessageBox(kNoOpenSave, kCaptionSorry, kWarningBox);
        return;
    }
    plat::FileDialogRequest request;
    request.mode = plat::FileDialogRequest::Mode::Save;
    request.filters = {kSaveFilter};
    const plat::FileDialogAnswer answer = plat::RunFileDialog(this, request);
    if (!answer.accepted())
        return;

    const CDownloader_HTMLTags tree = ProjectFileTree(project);
    const QString path = ProjectFilePath(answer.path);
    // The dialog asked about the name the user typed, not about the one with the suffix added.
    if (path != answer.path && !ConfirmReplace(path))
        return;
    if (SaveTreeToFile(tree, path))
        project.m_hasResults = false;
    else
        MessageBox(kCannotSave, kCaptionCritical, kErrorBox);
}

void CMainDlg::ExportProject(int /*param*/) {
    CProject& project = *m_projects[size_t(m_curProject)];
    const int allowed = project.CanExport(0);
    if (allowed == 0) {
        MessageBox(kNoExport, kCaptionSorry, kWarningBox);
        return;
    }
    if (allowed != 1)
        return;
    plat::FileDialogRequest request;
    request.mode = plat::FileDialogRequest::Mode::Save;
    request.filters = {kHtmlFilter, kCsvFilter};
    const plat::FileDialogAnswer answer = plat::RunFileDialog(this, request);
    if (!answer.accepted())
        return;

    const ExportTarget target = ExportTarget::For(answer.path, answer.filterIndex);
    if (target.extensionAdded && !ConfirmReplace(target.path))
        return;
    std::unique_ptr<CProjectExporter> exporter;
    if (target.html)
        exporter = std::make_unique<CProjectExporter_HTML>();
    else
        exporter = std::make_unique<CProjectExporter_CSV>();
    bool written = exporter->Open(target.path);
    if (written) {
        const std::lock_guard lock(project.m_cs);
        project.Export(exporter.get());
        written = exporter->Close();
    }
    if (!written)
        MessageBox(kCannotExport, kCaptionCritical, kErrorBox);
}

#include "app/main_dlg.h"
#include "app/new_project_dlg.h"
#include "app/preferences_dlg.h"
#include "net/crawler.h"
#include "platform/shell.h"
#include "skin/commands.h"
#include "skin/skin_constants.h"
#include "skin/skin_menu_popup.h"

#include <QDir>

using namespace Qt::StringLiterals;
namespace cmd = skin::cmd;

namespace {

// A tab closed from its menu need not be the one shown: the question names it.
const QString kCloseTabQuestion =
    u"You will lose any unsaved results of \"%1\".\nAre you sure you want to close its tab?"_s;

// The start-with-login switch: run the monitoring kind, minimised.
constexpr char16_t kStartWithLoginSwitch[] = u"--GoProject4";

} // namespace

bool CMainDlg::OnCommand(const QString& command, int param) {
    if (command == cmd::kDefaultClose) {
        if (!ConfirmClose())
            return true;
        // Downloads end before the window goes; the take-down then joins the workers.
        if (g_pCrawler)
            g_pCrawler->StopAll();
        return CSkinDlg::OnCommand(command, param);
    }
    if (command.startsWith(cmd::kNewProject)) {
        NewProject(command);
        return true;
    }

    struct Handler {
        QLatin1StringView command;
        void (CMainDlg::*run)(int param);
        // Only with a project open; otherwise the command goes on like any other.
        bool needsProject;
    };
    static constexpr Handler kHandlers[] = {
        {cmd::kShowProject, &CMainDlg::ShowProject, false},
        {cmd::kMoveTabs, &CMainDlg::MoveTabs, false},
        {cmd::kShowProjectCloseMenu, &CMainDlg::ShowTabMenu, false},
        {cmd::kPauseProject, &CMainDlg::PauseProject, false},
        {cmd::kResumeProject, &CMainDlg::ResumeProject, false},
        {cmd::kCloseProject, &CMainDlg::CloseProject, false},
        {cmd::kOpen, &CMainDlg::OpenProjectFile, false},
        {cmd::kSave, &CMainDlg::SaveProject, true},
        {cmd::kPause, &CMainDlg::PauseAll, false},
        {cmd::kResume, &CMainDlg::ResumeAll, false},
        {cmd::kPreferences, &CMainDlg::EditPreferences, false},
        {cmd::kExport, &CMainDlg::ExportProject, true},
        {cmd::kHelp, &CMainDlg::ShowHelpMenu, false},
        {cmd::kHelpTopics, &CMainDlg::OpenManual, false},
        {cmd::kHelpAbout, &CMainDlg::ArmAboutBox, false},
        {cmd::kEstimates, &CMainDlg::ArmEstimates, false},
    };
    for (const Handler& handler : kHandlers) {
        if (command == handler.command && (!handler.needsProject || ValidTab(m_curProject))) {
            (this->*handler.run)(param);
            return true;
        }
    }
    if (ValidTab(m_curProject))
        m_projects[size_t(m_curProject)]->OnCommand(command, param, this);
    // Enter and Escape must not close the main window.
    if (command == cmd::kOk || command == cmd::kDefaultOk || command == cmd::kCancel ||
        command == cmd::kDefaultCancel)
        return true;
    return CSkinDlg::OnCommand(command, param);
}

void CMainDlg::EditPreferences(int firstPanel) {
    if (!g_pCrawler)
        return;
    {
        CPreferencesDlg preferences(this, firstPanel);
        preferences.DoModal();
    }
    // Saved whichever way the dialog ended; only this save, which the user asked for, reports a failure.
    if (!g_pCrawler->SaveSettings())
        MessageBox(u"Cannot save settings."_s, u"Critical error"_s, skin::kMessageStop);
}

bool CMainDlg::ConfirmClose() {
    for (const auto& project : m_projects)
        if (project->HasUnsavedResults())
            return project->ConfirmLoseResults(this);
    return true;
}

void CMainDlg::NewProject(const QString& command) {
    int preselect = -1;
    QString preset;
    if (command.size() > cmd::kNewProject.size()) {
        // A send-to: everything waits while the user looks at the keywords.
        OnCommand(cmd::kPause, 0);
        const QChar digit = command.at(cmd::kNewProject.size());
        if (digit >= u'1' && digit <= u'8') {
            preselect = digit.unicode() - u'1';
            preset = command.mid(cmd::kNewProject.size() + 1);
        }
    }
    // A wizard opened before the start-up one was due stands for it.
    killTimer(kWizardTimer);
    killTimer(kProjectTimer);
    std::unique_ptr<CProject> chosen;
    {
        CNewProjectDlg wizard(this, m_makeProject);
        wizard.m_pAtlasDC = m_pAtlasDC;
        wizard.m_preselect = preselect;
        wizard.m_presetText = preset;
        if (wizard.DoModal() == skin::kResultOk)
            chosen = wizard.TakeChosen();
    }
    if (chosen)
        AcceptNewProject(std::move(chosen));
    setTimer(kProjectTimer, kProjectTickMs);
}

void CMainDlg::AcceptNewProject(std::unique_ptr<CProject> project) {
    project->DestroyWizardPage();
    project->OnWizardDone();
    // Two kind-5 objects would both write the one monitoring list and lose each other's entries.
    const int openMonitor = project->m_kind == 5 ? FindProjectOfKind(5) : -1;
    if (openMonitor >= 0) {
        project.reset();
        OnCommand(cmd::kResume, 0);
        ShowProject(openMonitor);
        return;
    }
    m_minimizeToTray = false;
    AddProject(std::move(project));
    OnCommand(cmd::kResume, 0);
    if (g_pCrawler && g_pCrawler->m_cmdLine.contains(QString::fromUtf16(kStartWithLoginSwitch))) {
        CSkinDlg::OnCommand(cmd::kDefaultMinimize, 0);
        g_pCrawler->m_cmdLine.remove(QString::fromUtf16(kStartWithLoginSwitch));
    }
}

void CMainDlg::ShowProject(int index) {
    if (ValidTab(index)) {
        m_curProject = index;
        LayoutTabs();
    }
}

void CMainDlg::MoveTabs(int direction) {
    const int last = std::max(0, int(m_projects.size()) - 1);
    m_firstTab = std::clamp(m_firstTab + direction, 0, last);
    LayoutTabs();
}

void CMainDlg::ShowTabMenu(int index) {
    if (!ValidTab(index))
        return;
    CSkinMenuPopup menu(this, &m_btnHelp, -1, -1);
    if (m_projects[size_t(index)]->m_paused)
        menu.AddItem(u"Resume Run"_s, cmd::kResumeProject, index);
    else
        menu.AddItem(u"Pause Run"_s, cmd::kPauseProject, index);
    menu.AddItem(CSkinMenuPopup::kSeparator);
    menu.AddItem(u"Close tab"_s, cmd::kCloseProject, index);
    menu.DoModal();
}

void CMainDlg::ShowHelpMenu(int /*param*/) {
    CSkinMenuPopup menu(this, &m_btnHelp, -1, -1);
    menu.AddItem(u"Topics"_s, cmd::kHelpTopics, 0);
    menu.AddItem(CSkinMenuPopup::kSeparator);
    menu.AddItem(u"About..."_s, cmd::kHelpAbout, 0);
    menu.DoModal();
}

void CMainDlg::PauseAll(int /*param*/) {
    if (g_pCrawler)
        g_pCrawler->SetPaused(true);
    m_btnPause.SetVisible(false);
    m_btnResume.SetVisible(true);
}

void CMainDlg::ResumeAll(int /*param*/) {
    if (g_pCrawler)
        g_pCrawler->SetPaused(false);
    m_btnResume.SetVisible(false);
    m_btnPause.SetVisible(true);
}

void CMainDlg::PauseProject(int index) {
    if (!ValidTab(index) || m_projects[size_t(index)]->m_paused)
        return;
    CProject& project = *m_projects[size_t(index)];
    project.m_name += CProject::kPausedSuffix;
    project.m_paused = true;
    LayoutTabs();
}

void CMainDlg::ResumeProject(int index) {
    if (!ValidTab(index) || !m_projects[size_t(index)]->m_paused)
        return;
    CProject& project = *m_projects[size_t(index)];
    if (project.m_name.endsWith(CProject::kPausedSuffix))
        project.m_name.chop(CProject::kPausedSuffix.size());
    project.m_paused = false;
    LayoutTabs();
}

void CMainDlg::CloseProject(int index) {
    if (!ValidTab(index))
        return;
    // A tab closed by mistake would take its results with it, as closing the window would.
    CProject& project = *m_projects[size_t(index)];
    if (project.HasUnsavedResults()) {
        const QString caption = m_tabs[size_t(index)] ? m_tabs[size_t(index)]->m_caption : project.m_name;
        if (MessageBox(kCloseTabQuestion.arg(caption), QString(),
                       skin::kMessageYesNo | skin::kMessageQuestion) != skin::kResultYes)
            return;
    }
    SuspendPaint();
    const int id = m_projects[size_t(index)]->m_id;
    m_projects.erase(m_projects.begin() + index);
    m_tabs.erase(m_tabs.begin() + index);
    if (g_pCrawler)
        g_pCrawler->ReleaseJobDownloaders(id);
    m_curProject = m_projects.empty() ? -1 : std::max(0, index - 1);
    LayoutTabs();
}

void CMainDlg::OpenManual(int /*param*/) {
    const QString folder = g_pCrawler ? g_pCrawler->GetAppDir() : plat::ProgramFolder();
    OpenManualFile(QDir(folder).filePath(kManualName));
}

void CMainDlg::ArmAboutBox(int /*param*/) {
    setTimer(kAboutTimer, kAboutDelayMs);
}

void CMainDlg::ArmEstimates(int /*param*/) {
    setTimer(kEstimatesTimer, kEstimatesDelayMs);
}

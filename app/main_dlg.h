#pragma once

#include "app/project.h"
#include "platform/device_context.h"
#include "skin/skin_button.h"
#include "skin/skin_dlg.h"
#include "skin/skin_ico_button.h"

#include <QString>
#include <memory>
#include <vector>

// The one main window: the toolbar, one tab per open project, the current project's view below the tabs
// and the version label. It owns the open projects and drives them: every 500 ms the project tick runs one
// step of each project in tab order with the crawler set up for that project.
class CMainDlg : public CSkinDlg {
  public:
    CMainDlg();
    ~CMainDlg() override;

    void CreateElements() override;
    bool OnCommand(const QString& command, int param) override;
    void DrawBackground(plat::DeviceContext& dc) override;
    void OnSizeChanged(plat::SizeType sizeType) override;

    // The dialog's timers, and the window's keyboard shortcuts.
    void OnTimer(unsigned id) override;
    bool onKeyDown(int key, unsigned modifiers, bool autoRepeat) override;

    // Makes missing tab buttons, captions and places the tabs and scroll buttons, shows the current
    // project's view and hides the others.
    void LayoutTabs();
    // Runs one step of every project; timer 3 runs it, and re-arms itself when done.
    void ProjectTick();
    // Builds the project's view and makes it the current tab; the window owns the project from now on.
    void AddProject(std::unique_ptr<CProject> project);
    // The tab of the open project of that kind, -1 when none is open.
    int FindProjectOfKind(int kind) const;
    // Repaints the tabs whose busy icon turns, holding the icon of a paused project still.
    void RepaintTabStrip();

    // A picture button of a row, carrying a value of its creator's.
    class CRowButton : public CSkinButton {
      public:
        qintptr m_value = 0;
    };
    // Adds a picture button to a row: one square cell wide, its four state pictures the cells of one column
    // of the skin atlas (rows 0 to 3: normal, hot, disabled, pressed). x is the row's running x: the button
    // stands 6 pixels right of it and 27 below y, and x moves on by one cell.
    void AddSkinButton(CRowButton& button, const QString& command, int param, const QString& tooltip,
                       int column, int cellSize, int& x, int y, qintptr value);

    static constexpr unsigned kWizardTimer = 1;
    static constexpr int kWizardDelayMs = 100;
    static constexpr unsigned kProjectTimer = 3;
    static constexpr int kProjectTickMs = 500;
    static constexpr unsigned kAboutTimer = 4;
    static constexpr int kAboutDelayMs = 150;
    static constexpr unsigned kEstimatesTimer = 5;
    static constexpr int kEstimatesDelayMs = 300;

    // The manual that Help -> Topics opens, in the program's folder.
    static inline const QString kManualName = QStringLiteral("tw2-manual.pdf");

    // Makes the projects of the wizard and of opened files (the kinds live above this library).
    ProjectFactory m_makeProject;

    // The label in the bottom-right corner, "Build" and the release number.
    QString m_versionLabel;
    int m_versionWidth = 0;
    CSkinIcoButton m_btnTabsForward;
    CSkinIcoButton m_btnTabsBack;
    plat::DeviceContext m_toolbarDC;
    CSkinIcoButton m_btnNew;
    CSkinIcoButton m_btnOpen;
    CSkinIcoButton m_btnSave;
    CSkinIcoButton m_btnPause;
    CSkinIcoButton m_btnResume;
    CSkinIcoButton m_btnExport;
    CSkinIcoButton m_btnOptions;
    CSkinIcoButton m_btnHelp;
    // The current project and tab, -1 when there is none.
    int m_curProject = -1;
    // The first tab shown; the strip scrolls.
    int m_firstTab = 0;
    // The current tab at the last layout: when it changes, the strip scrolls to show the new one.
    int m_laidOutCurrent = -1;
    // The open projects in tab order, and their tab buttons (null until the layout makes one).
    std::vector<std::unique_ptr<CProject>> m_projects;
    std::vector<std::unique_ptr<CSkinButton>> m_tabs;

  private:
    bool ValidTab(int index) const { return index >= 0 && index < int(m_projects.size()); }
    void CreateToolbarButton(CSkinIcoButton& button, const QString& caption, const QString& command,
                             int column, int x, int width);
    void SetTabBusy(int index, bool busy);
    // Command handlers; the parameter is the command's.
    void ShowProject(int index);
    void MoveTabs(int direction);
    void PauseAll(int param);
    void ResumeAll(int param);
    void PauseProject(int index);
    void ResumeProject(int index);
    void CloseProject(int index);
    // Runs the preferences showing the panel asked for, then saves the settings.
    void EditPreferences(int firstPanel);
    // Closing the window: asks before results that could be saved are lost; false keeps the window open.
    bool ConfirmClose();
    // new_project, optionally followed by a kind digit and the preset keywords of a send-to.
    void NewProject(const QString& command);
    // Makes the wizard's accepted project a tab; a second kind-5 project is dropped for the open one.
    void AcceptNewProject(std::unique_ptr<CProject> project);
    void OpenProjectFile(int param);
    void SaveProject(int param);
    void ExportProject(int param);
    void ShowTabMenu(int index);
    void ShowHelpMenu(int param);
    void OpenManual(int param);
    void ArmAboutBox(int param);
    void ArmEstimates(int param);
    // Asks before a file the user did not pick by that name is replaced; true to go on.
    bool ConfirmReplace(const QString& path);
};

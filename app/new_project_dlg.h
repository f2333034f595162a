#pragma once

#include "app/project.h"
#include "skin/skin_button.h"
#include "skin/skin_dlg.h"
#include "skin/skin_ico_button.h"

#include <QString>
#include <array>
#include <memory>
#include <vector>

// The new-project wizard: the eight kinds as picture buttons, then the chosen kind's own input page, which
// the kind builds and validates itself. An accepted project is handed to the main window; the others go
// with the wizard.
class CNewProjectDlg : public CSkinDlg {
  public:
    // Makes one project of each kind, with eight consecutive ids from the crawler.
    CNewProjectDlg(CSkinDlg_Base* parent, const ProjectFactory& makeProject);
    ~CNewProjectDlg() override;

    void CreateElements() override;
    bool OnCommand(const QString& command, int param) override;
    void DrawBackground(plat::DeviceContext& dc) override;
    void OnKeyPressed(int vk) override;

    // After an accepted run: the chosen project, which the wizard no longer owns; null otherwise.
    std::unique_ptr<CProject> TakeChosen();

    static constexpr int kWidth = 660;
    static constexpr int kHeight = 500;
    // The parameter a kind's keyword list gets after the user answered the question about clearing the
    // history: cleared (the history is empty and saved) or kept.
    static constexpr int kHistoryCleared = -10;
    static constexpr int kHistoryKept = -11;

    std::vector<CSkinIcoButton> m_kindButtons;
    // Kinds 1 to 8 at 0 to 7; an entry handed over is null.
    std::vector<std::unique_ptr<CProject>> m_projects;
    // The kind whose page is shown; -1 while the kinds are listed.
    int m_current = -1;
    CSkinButton m_cancelButton;
    CSkinButton m_backButton;
    CSkinButton m_startButton;
    // A kind to show at once (send-to, the command-line switches); -1 none.
    int m_preselect = -1;
    // Handed to the preselected kind's page.
    QString m_presetText;

  private:
    bool ValidKind(int index) const {
        return index >= 0 && index < int(m_projects.size()) && m_projects[size_t(index)];
    }
    void ShowKindPage(int index);
    // Puts another kind's page in place of the one shown; the buttons stay as they are.
    void ChangeKindPage(int index);
    void ShowKindList();
    // Calls the kind's CreateWizardPage and gives its first field the keyboard focus.
    void BuildPage(int index);
    // START or Enter: the shown kind's page decides.
    void Accept();
    // Asks about a keyword list's "-- Clear history --"; the parameter the kind then gets.
    int AskClearHistory();
};

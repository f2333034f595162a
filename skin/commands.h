#pragma once

#include <QString>

// Command strings that elements send to their dialog, each spelt once: the element that sends one and the
// dialog that answers it name the same constant, so a misspelling does not compile.

namespace skin::cmd {

// Answered by every dialog's base.
inline constexpr QLatin1StringView kDefaultMinimize{"Default_minimize"};
inline constexpr QLatin1StringView kDefaultMaximize{"Default_maximize"};
inline constexpr QLatin1StringView kDefaultRestore{"Default_restore"};
inline constexpr QLatin1StringView kDefaultClose{"Default_close"};
inline constexpr QLatin1StringView kDefaultOk{"Default_ok"};
inline constexpr QLatin1StringView kDefaultCancel{"Default_cancel"};

// The OK and Cancel buttons of a dialog's bottom band.
inline constexpr QLatin1StringView kOk{"on_ok"};
inline constexpr QLatin1StringView kCancel{"on_cancel"};

// The message box's Yes and No buttons and its check box.
inline constexpr QLatin1StringView kYes{"on_yes"};
inline constexpr QLatin1StringView kNo{"on_no"};
inline constexpr QLatin1StringView kNeverAgain{"ch_neveragain"};

// The main window's toolbar.
inline constexpr QLatin1StringView kNewProject{"new_project"};
inline constexpr QLatin1StringView kOpen{"open"};
inline constexpr QLatin1StringView kSave{"save"};
inline constexpr QLatin1StringView kPause{"pause"};
inline constexpr QLatin1StringView kResume{"resume"};
inline constexpr QLatin1StringView kExport{"export"};
inline constexpr QLatin1StringView kPreferences{"preferences"};
inline constexpr QLatin1StringView kHelp{"help"};

// The new-project wizard's BACK button, and commands the wizard ignores.
inline constexpr QLatin1StringView kBack{"back"};
inline constexpr QLatin1StringView kMenuProject{"menu_project"};
inline constexpr QLatin1StringView kTabMain{"tab_main"};

// The main window's Help menu.
inline constexpr QLatin1StringView kHelpTopics{"help_topics"};
inline constexpr QLatin1StringView kHelpAbout{"help_about"};

// A kind-1 page's request for estimates, which the main window answers.
inline constexpr QLatin1StringView kEstimates{"prj1_estimates"};

// The main window's tab strip; the parameter is the tab's index (move_tabs: the direction).
inline constexpr QLatin1StringView kMoveTabs{"move_tabs"};
inline constexpr QLatin1StringView kShowProject{"show_project"};
inline constexpr QLatin1StringView kShowProjectCloseMenu{"show_project_closeMenu"};
inline constexpr QLatin1StringView kPauseProject{"pause_project"};
inline constexpr QLatin1StringView kResumeProject{"resume_project"};
inline constexpr QLatin1StringView kCloseProject{"close_project"};

// Suffixes an element puts after its own command: text typed into an edit field or an editable drop list
// (the parameter is the list's selection, 0 for a field), text dropped onto an edit field, and an editable
// drop list's text changed when it lost the focus.
inline constexpr QLatin1StringView kTypingSuffix{"_typing"};
inline constexpr QLatin1StringView kOnPasteSuffix{"_onPaste"};
inline constexpr QLatin1StringView kEditSuffix{"_edit"};

// Sent by the main window to the current project after every layout of the tabs.
inline constexpr QLatin1StringView kMainDlgOnSize{"MainDlg_OnSize"};

// The column filter dialog: a control that changes the filter ticks its enable box; the "Show All" box
// gives its state to every value of a check list.
inline constexpr QLatin1StringView kEnableFilter{"enable_filter"};
inline constexpr QLatin1StringView kFilterCheckAll{"filter_check_all"};

// Added by the date selector to its own command when the days it shows changed and want their bold marks.
inline constexpr QLatin1StringView kRecalculateBolds{"recalculate_bolds"};

} // namespace skin::cmd

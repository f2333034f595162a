#include "app/main_dlg.h"
#include "app/preferences_dlg.h"
#include "app/tab_strip_layout.h"
#include "platform/application.h"
#include "platform/keys.h"
#include "platform/screens.h"
#include "tests/app/app_test_support.h"
#include "tests/support/modal_script.h"
#include "tests/support/skin_test_support.h"

#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using apptest::OpenMainWindow;
using apptest::TestProject;

TEST(MainWindowSize, MaximisedOnItsOwnScreensWorkAreaAndNeverPlacedOffEveryScreen) {
    OpenMainWindow w;
    // The primary screen is 1280 x 800: three quarters is below the 1020 x 650 minimum, and 1020 < 1280.
    EXPECT_TRUE(skin::HostWindow(w.dlg).isMaximized());
    EXPECT_EQ(skin::HostWindow(w.dlg).windowRect(), plat::AvailableRectAt(plat::Point{10, 10}));
    w.dlg.OnCommand(u"Default_restore"_s, 0);
    ASSERT_FALSE(skin::HostWindow(w.dlg).isMaximized());
    // The window manager may not shrink it below the minimum either (tiling, keyboard resizing).
    EXPECT_EQ(w.dlg.widget()->windowHandle()->minimumSize(), QSize(1020, 650));
    const std::vector<plat::Rect> areas = plat::AvailableRects();
    for (const plat::Point away : {plat::Point{-5000, -5000}, {9000, 300}, {100, 4000}}) {
        skin::HostWindow(w.dlg).move(away.x, away.y);
        const plat::Rect placed = skin::HostWindow(w.dlg).windowRect();
        EXPECT_TRUE(std::any_of(areas.begin(), areas.end(),
                                [&](const plat::Rect& area) { return !placed.intersected(area).isEmpty(); }))
            << away.x << "," << away.y;
    }
    skin::HostWindow(w.dlg).setGeometry(plat::Rect::fromXywh(1500, 100, 1100, 700));
    w.dlg.OnCommand(u"Default_maximize"_s, 0);
    const plat::Rect second = plat::AvailableRectAt(plat::Point{2000, 500});
    EXPECT_EQ(skin::HostWindow(w.dlg).windowRect(), second);
    EXPECT_EQ(w.dlg.m_btnHelp.m_x + w.dlg.m_btnHelp.m_width, second.width() - 3) << "Help follows the edge";
}

namespace {

// The main window with every dialog it opens cancelled, the preferences counted.
class MainWindowToolbar : public ::testing::Test {
  protected:
    OpenMainWindow m_w;
    int m_dialogs = 0;
    skintest::ModalScript m_cancel{[this](CSkinDlg_Base& shown) {
        m_dialogs += dynamic_cast<CPreferencesDlg*>(&shown) != nullptr;
        shown.OnCommand(u"Default_cancel"_s, 0);
    }};
};
using MainWindowKeys = MainWindowToolbar;

} // namespace

TEST_F(MainWindowToolbar, ClicksSendTheButtonsCommandsAndPauseSwapsWithResume) {
    TestProject* project = m_w.dlg.AddTestProject(1);
    for (const CSkinIcoButton* button : {&m_w.dlg.m_btnNew, &m_w.dlg.m_btnOpen, &m_w.dlg.m_btnSave,
                                         &m_w.dlg.m_btnExport, &m_w.dlg.m_btnOptions, &m_w.dlg.m_btnHelp}) {
        m_w.dlg.commands.clear();
        skintest::ClickElement(m_w.dlg, *button);
        EXPECT_EQ(m_w.dlg.commands, QStringList{button->m_command});
    }
    EXPECT_EQ(m_dialogs, 1) << "the preferences";
    // Commands the window does not handle itself reach the current project, with the window as sender.
    m_w.dlg.OnCommand(u"prj1_start"_s, 0);
    EXPECT_TRUE(project->commands.contains(u"prj1_start"_s));
    EXPECT_EQ(project->lastSender, &m_w.dlg);

    skintest::ClickElement(m_w.dlg, m_w.dlg.m_btnPause);
    EXPECT_TRUE(g_pCrawler->IsPaused());
    EXPECT_FALSE(m_w.dlg.m_btnPause.m_visible);
    skintest::ClickElement(m_w.dlg, m_w.dlg.m_btnResume);
    EXPECT_FALSE(g_pCrawler->IsPaused());
    EXPECT_FALSE(m_w.dlg.m_btnResume.m_visible);
}

TEST_F(MainWindowKeys, ShortcutsFireOncePerPressAndEnterOrEscapeNeverClose) {
    const std::pair<int, const char16_t*> keys[] = {
        {'N', u"new_project"}, {'S', u"save"}, {'O', u"open"}, {'P', u"preferences"}};
    for (const auto& [key, command] : keys) {
        m_w.dlg.commands.clear();
        EXPECT_TRUE(m_w.dlg.onKeyDown(key, plat::kModControl, false));
        EXPECT_TRUE(m_w.dlg.onKeyDown(key, plat::kModControl, true));
        EXPECT_EQ(m_w.dlg.commands, QStringList{QString::fromUtf16(command)});
    }
    EXPECT_EQ(m_dialogs, 1) << "the preferences, once";
    m_w.dlg.commands.clear();
    m_w.dlg.onKeyDown('N', 0, false);
    m_w.dlg.onKeyDown('X', plat::kModControl, false);
    EXPECT_TRUE(m_w.dlg.commands.isEmpty());

    for (const int key : {plat::kKeyEscape, plat::kKeyEnter}) {
        m_w.dlg.onKeyDown(key, 0, false);
        m_w.dlg.onKeyUp(key, 0, false);
    }
    EXPECT_EQ(m_w.dlg.Result(), 0);
    m_w.dlg.OnCommand(u"Default_close"_s, 0);
    EXPECT_NE(m_w.dlg.Result(), 0) << "the close button does";
}

TEST(MainWindowTimers, TheWizardTimerSendsTheNewCommandOnce) {
    OpenMainWindow w;
    w.dlg.commands.clear();
    w.dlg.onTimer(CMainDlg::kWizardTimer);
    EXPECT_EQ(w.dlg.commands, QStringList{u"new_project"_s});
    EXPECT_FALSE(skin::HostWindow(w.dlg).hasTimer(CMainDlg::kWizardTimer));
}

TEST(MainWindowTabs, AClickedTabShowsItsProjectAndHidesTheOthers) {
    OpenMainWindow w;
    TestProject* a = w.dlg.AddTestProject(1, u"Alpha"_s);
    TestProject* b = w.dlg.AddTestProject(2, u"Beta"_s);
    b->m_tabTitle = u"Beta title"_s;
    w.dlg.LayoutTabs();
    ASSERT_EQ(w.dlg.m_tabs.size(), 2u);
    EXPECT_EQ(w.dlg.m_curProject, 1);
    EXPECT_EQ(w.dlg.m_tabs[1]->m_caption, u"Beta title"_s);
    EXPECT_EQ(a->shown, CProject::kHideView);
    EXPECT_EQ(b->shown, CProject::kShowView);
    EXPECT_EQ(b->commands.back(), u"MainDlg_OnSize"_s);

    skintest::ClickElement(w.dlg, *w.dlg.m_tabs[0]);
    EXPECT_EQ(w.dlg.m_curProject, 0);
    EXPECT_EQ(a->shown, CProject::kShowView);
    EXPECT_EQ(b->shown, CProject::kHideView);
}

TEST(MainWindowTabs, ManyTabsScrollWithTheirButtonsWithinTheList) {
    OpenMainWindow w;
    for (int i = 0; i < 20; ++i)
        w.dlg.AddTestProject(i + 1, u"A project with a long name %1"_s.arg(i));
    w.dlg.OnCommand(u"show_project"_s, 0);
    EXPECT_TRUE(w.dlg.m_btnTabsForward.m_visible);
    EXPECT_FALSE(w.dlg.m_btnTabsBack.m_visible);
    skintest::ClickElement(w.dlg, w.dlg.m_btnTabsForward);
    EXPECT_EQ(w.dlg.m_firstTab, 1);
    EXPECT_TRUE(w.dlg.m_btnTabsBack.m_visible);
    EXPECT_FALSE(w.dlg.m_tabs[0]->m_visible);
    skintest::ClickElement(w.dlg, w.dlg.m_btnTabsBack);
    EXPECT_EQ(w.dlg.m_firstTab, 0);
    EXPECT_FALSE(w.dlg.m_btnTabsBack.m_visible);
    w.dlg.OnCommand(u"move_tabs"_s, -1);
    EXPECT_EQ(w.dlg.m_firstTab, 0);
    w.dlg.OnCommand(u"move_tabs"_s, 500);
    EXPECT_EQ(w.dlg.m_firstTab, 19);
}

// Whenever the current tab changes, the strip scrolls so that it is shown and lit: a new tab at the end, a
// tab picked beyond the forward arrow or before the back arrow, the neighbour of a closed tab. The arrows
// still scroll away from it.
TEST(MainWindowTabs, TheStripScrollsToShowTheCurrentTab) {
    OpenMainWindow w;
    const auto currentShown = [&w] {
        const CSkinButton& tab = *w.dlg.m_tabs[size_t(w.dlg.m_curProject)];
        return tab.m_visible && tab.m_x + tab.m_width <= w.dlg.m_width - TabStripLayout::kScrollButton;
    };
    for (int i = 0; i < 20; ++i) {
        w.dlg.AddTestProject(i + 1, u"A project with a long name %1"_s.arg(i));
        EXPECT_TRUE(currentShown()) << "new tab " << i;
    }
    EXPECT_GT(w.dlg.m_firstTab, 0);
    w.dlg.OnCommand(u"show_project"_s, 2);
    EXPECT_EQ(w.dlg.m_firstTab, 2);
    EXPECT_TRUE(currentShown());
    w.dlg.OnCommand(u"show_project"_s, 0);
    ASSERT_TRUE(w.dlg.m_btnTabsForward.m_visible);
    const auto firstHidden = std::find_if(w.dlg.m_tabs.begin(), w.dlg.m_tabs.end(),
                                          [](const auto& tab) { return !tab->m_visible; });
    ASSERT_NE(firstHidden, w.dlg.m_tabs.end());
    const int beyond = int(firstHidden - w.dlg.m_tabs.begin()) + 3;
    w.dlg.OnCommand(u"show_project"_s, beyond);
    EXPECT_TRUE(currentShown());
    EXPECT_TRUE(w.dlg.m_btnTabsBack.m_visible);

    w.dlg.OnCommand(u"move_tabs"_s, 20);
    EXPECT_FALSE(w.dlg.m_tabs[size_t(beyond)]->m_visible) << "the arrows still scroll";
    w.dlg.OnCommand(u"close_project"_s, beyond);
    EXPECT_EQ(w.dlg.m_curProject, beyond - 1);
    EXPECT_TRUE(currentShown());
}

// Restored from maximised to its 1020 px, the window keeps the current tab in the strip: the last of tabs
// that all fitted maximised is scrolled to, not left beyond the forward arrow.
TEST(MainWindowTabs, TheCurrentTabStaysShownWhenTheWindowIsRestored) {
    OpenMainWindow w;
    ASSERT_TRUE(skin::HostWindow(w.dlg).isMaximized());
    const int restoredWidth = 1020;
    ASSERT_GT(w.dlg.m_width, restoredWidth);
    const auto stripWidth = [&w] {
        int width = 0;
        for (const auto& tab : w.dlg.m_tabs)
            width += tab->m_width;
        return width;
    };
    for (int i = 1; stripWidth() < restoredWidth; ++i)
        w.dlg.AddTestProject(i, u"A project with a long name %1"_s.arg(i));
    ASSERT_FALSE(w.dlg.m_btnTabsForward.m_visible) << "every tab fits the maximised window";
    const CSkinButton& current = *w.dlg.m_tabs.back();
    ASSERT_TRUE(current.m_visible);

    w.dlg.OnCommand(u"Default_restore"_s, 0);
    plat::Application::processEvents();
    ASSERT_EQ(w.dlg.m_width, restoredWidth);
    EXPECT_TRUE(current.m_visible);
    EXPECT_LE(current.m_x + current.m_width, restoredWidth - TabStripLayout::kScrollButton);
    EXPECT_TRUE(w.dlg.m_btnTabsBack.m_visible);
}

TEST(MainWindowTabs, PauseMarksTheNameOnceAndIndexesOutsideTheListDoNothing) {
    OpenMainWindow w;
    TestProject* a = w.dlg.AddTestProject(1, u"Alpha"_s);
    w.dlg.AddTestProject(2, u"Beta"_s);
    for (const QString& command :
         {u"show_project"_s, u"pause_project"_s, u"resume_project"_s, u"close_project"_s}) {
        for (const int index : {-1, 2, 1000}) {
            w.dlg.OnCommand(command, index);
            EXPECT_EQ(w.dlg.m_projects.size(), 2u);
            EXPECT_EQ(w.dlg.m_curProject, 1);
            EXPECT_FALSE(a->m_paused);
        }
    }
    w.dlg.OnCommand(u"pause_project"_s, 0);
    w.dlg.OnCommand(u"pause_project"_s, 0);
    EXPECT_TRUE(a->m_paused);
    EXPECT_EQ(w.dlg.m_tabs[0]->m_caption, u"Alpha (paused)"_s);
    w.dlg.OnCommand(u"resume_project"_s, 0);
    w.dlg.OnCommand(u"resume_project"_s, 0);
    EXPECT_FALSE(a->m_paused);
    EXPECT_EQ(a->m_name, u"Alpha"_s);
}

TEST(MainWindowTabs, ClosingATabDeletesItsProjectAndFreesItsDownloaders) {
    OpenMainWindow w;
    bool betaGone = false;
    w.dlg.AddTestProject(11);
    TestProject* b = w.dlg.AddTestProject(12);
    w.dlg.AddTestProject(13);
    b->destroyed = &betaGone;
    b->takeDownloader = true;
    w.dlg.ProjectTick();
    ASSERT_EQ(g_pCrawler->CountJobDownloaders(12), 1);

    w.dlg.OnCommand(u"close_project"_s, 1);
    EXPECT_TRUE(betaGone);
    EXPECT_EQ(g_pCrawler->CountJobDownloaders(12), 0);
    ASSERT_EQ(w.dlg.m_tabs.size(), 2u);
    EXPECT_EQ(w.dlg.m_curProject, 0);
    EXPECT_EQ(w.dlg.m_tabs[1]->m_param, 1) << "tabs after the closed one move down an index";
    w.dlg.OnCommand(u"close_project"_s, 0);
    w.dlg.OnCommand(u"close_project"_s, 0);
    EXPECT_TRUE(w.dlg.m_projects.empty());
    EXPECT_EQ(w.dlg.m_curProject, -1);
}

// A row of picture buttons: each one cell to the right of the last, placed below and right of the row's
// origin, showing the cells of its atlas column in its four states, and sending its command when clicked.
TEST(MainWindowRowButtons, EachTakesTheNextCellAndShowsItsColumnsPictures) {
    OpenMainWindow w;
    constexpr int kCell = 32;
    constexpr int kColumn = 1;
    const plat::DeviceContext& atlas = *skin::Atlas();
    const auto cellMatches = [&](const plat::DeviceContext& dc, int row) {
        for (int y = 0; y < kCell; ++y)
            for (int x = 0; x < kCell; ++x)
                if (dc.getPixel(x, y) != atlas.getPixel(kColumn * kCell + x, row * kCell + y))
                    return false;
        return true;
    };
    CMainDlg::CRowButton first;
    CMainDlg::CRowButton second;
    const unsigned idsBefore = w.dlg.m_nextElementId;
    int x = 200;
    w.dlg.AddSkinButton(first, u"row_pick"_s, 4, u"First pick"_s, kColumn, kCell, x, 300, 77);
    w.dlg.AddSkinButton(second, u"row_pick"_s, 5, u"Second pick"_s, kColumn, kCell, x, 300, -1);
    EXPECT_EQ(w.dlg.m_nextElementId, idsBefore + 2);
    EXPECT_EQ(x, 200 + 2 * kCell);
    EXPECT_EQ(first.m_value, 77);
    EXPECT_EQ(second.m_value, -1);
    EXPECT_TRUE(first.m_caption.isEmpty());
    QString tip;
    plat::Rect at;
    ASSERT_TRUE(second.GetToolTip(tip, &at));
    EXPECT_EQ(tip, u"Second pick"_s);
    EXPECT_EQ(at, plat::Rect::fromXywh(200 + kCell + 6, 327, kCell, kCell));

    w.dlg.commands.clear();
    skintest::ClickElement(w.dlg, second);
    EXPECT_EQ(w.dlg.commands, QStringList{u"row_pick"_s});
    EXPECT_EQ(second.m_param, 5);

    plat::DeviceContext dc(kCell, kCell);
    dc.bitBlt(0, 0, kCell, kCell, atlas, kColumn * kCell, 0);
    ASSERT_FALSE(cellMatches(dc, 1) || cellMatches(dc, 3))
        << "the column's cells must differ to tell states apart";
    w.dlg.m_pHover = w.dlg.m_pFocus = w.dlg.m_pPressed = nullptr;
    first.Draw(dc, 0, 0, true);
    EXPECT_TRUE(cellMatches(dc, 0)) << "normal";
    w.dlg.m_pHover = &first;
    first.Draw(dc, 0, 0, true);
    EXPECT_TRUE(cellMatches(dc, 1)) << "hot";
    w.dlg.m_pPressed = &first;
    first.Draw(dc, 0, 0, true);
    EXPECT_TRUE(cellMatches(dc, 3)) << "pressed";
    first.SetEnabled(false);
    first.Draw(dc, 0, 0, true);
    EXPECT_TRUE(cellMatches(dc, 2)) << "disabled";
    for (const int row : {0, 1, 3})
        EXPECT_FALSE(cellMatches(dc, row)) << "the disabled cell differs from row " << row;
    w.dlg.m_pHover = w.dlg.m_pPressed = nullptr;
}

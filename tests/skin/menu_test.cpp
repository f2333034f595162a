#include "skin/context_menu.h"
#include "skin/skin_constants.h"
#include "skin/skin_menu_popup.h"
#include "tests/skin/record_report.h"
#include "tests/support/modal_script.h"
#include "tests/support/skin_test_support.h"
#include "tests/support/test_printers.h"
#include "tests/support/window_events.h"

#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace Qt::StringLiterals;
using skintest::ModalScript;
using skintest::TestDialog;

namespace {

// Moves down the menu as a user would until item index (-1: no item) is under the pointer, and lets go of
// the button there.
void ReleaseOn(CSkinMenuPopup& menu, int index, Qt::MouseButton button = Qt::LeftButton) {
    for (int y = 0; y < menu.m_height; ++y) {
        skintest::MoveMouse(menu, {40, y});
        if (menu.HoveredItem() == index) {
            skintest::PressMouse(menu, {40, y}, false, button);
            return;
        }
    }
    ADD_FAILURE() << "item " << index << " cannot be hovered";
}

// A three-item tab menu at screen (x, y) over dlg, driven by act once shown; the result, where the menu
// stood and whether it opened upward.
std::tuple<int, plat::Rect, bool>
RunMenu(TestDialog& dlg, int x, int y, const std::function<void(CSkinMenuPopup&)>& act, bool upward = false) {
    plat::Rect placed;
    ModalScript hook([&](CSkinDlg_Base& w) {
        placed = skin::HostWindow(w).windowRect();
        act(dynamic_cast<CSkinMenuPopup&>(w));
    });
    CSkinMenuPopup menu(&dlg, nullptr, x, y, upward);
    menu.AddItem(u"Pause Run"_s, u"pause_project"_s, 3);
    menu.AddItem(CSkinMenuPopup::kSeparator);
    menu.AddItem(u"Close tab"_s, u"close_project"_s, 3);
    const int result = menu.DoModal();
    return {result, placed, menu.OpensUpward()};
}

} // namespace

// A release of either button on an item chooses it; its command arrives like a click, but only once the menu
// and the code that ran it have returned. A press outside and Esc cancel; a release on the separator or
// outside chooses nothing; Enter ends the menu with 1 and sends nothing.
TEST(Menu, ChoosesByReleaseAndCancelsOrEndsWithoutAChoice) {
    TestDialog dlg;
    dlg.Open();
    const struct {
        const char* name;
        std::function<void(CSkinMenuPopup&)> act;
        int result;
        QStringList commands;
    } cases[] = {
        {"left release", [](CSkinMenuPopup& m) { ReleaseOn(m, 2); }, 1, {u"close_project"_s}},
        {"right release",
         [](CSkinMenuPopup& m) { ReleaseOn(m, 0, Qt::RightButton); },
         1,
         {u"pause_project"_s}},
        {"left press outside",
         [](CSkinMenuPopup& m) {
             skintest::PressMouse(m, {-20, 10}, true);
         },
         2,
         {}},
        {"Esc", [](CSkinMenuPopup& m) { QTest::keyClick(m.widget(), Qt::Key_Escape); }, 2, {}},
        {"separator, outside, then Enter",
         [](CSkinMenuPopup& m) {
             skintest::MoveMouse(m, {40, 10});
             ReleaseOn(m, -1);
             skintest::PressMouse(m, {-30, -30}, false, Qt::RightButton);
             EXPECT_EQ(m.Result(), 0);
             QTest::keyClick(m.widget(), Qt::Key_Return);
         },
         1,
         {}},
    };
    for (const auto& c : cases) {
        dlg.commands.clear();
        EXPECT_EQ(std::get<0>(RunMenu(dlg, 300, 300, c.act)), c.result) << c.name;
        EXPECT_TRUE(dlg.commands.isEmpty()) << c.name;
        QCoreApplication::processEvents();
        EXPECT_EQ(dlg.commands, c.commands) << c.name;
    }
    EXPECT_EQ(dlg.params, (std::vector<int>{3, 3}));
}

// Near the right or bottom edge of the screen (1280 x 800) the menu opens to the left of or above the point;
// opened upward where it would leave the top it moves back below the point, but not while it fits above.
TEST(Menu, FlipsAtTheEdgesOfTheScreen) {
    TestDialog dlg;
    dlg.Open();
    const struct {
        int x, y;
        bool upward, left, above;
    } cases[] = {{600, 300, false, false, false}, {1275, 300, false, true, false},
                 {600, 795, false, false, true},  {1275, 795, false, true, true},
                 {600, 20, true, false, false},   {600, 100, true, false, true}};
    for (const auto& c : cases) {
        const auto [result, placed, upward] = RunMenu(
            dlg, c.x, c.y, [](CSkinMenuPopup& m) { m.EndSkinDialog(skin::kResultCancel); }, c.upward);
        const plat::Point corner{c.left ? placed.right - 1 : placed.left,
                                 c.above ? placed.bottom - 1 : placed.top};
        EXPECT_EQ(corner, (plat::Point{c.x, c.y})) << c.x << "," << c.y;
        EXPECT_EQ(upward, c.above) << c.x << "," << c.y;
    }
}

namespace {

// A report whose context menu offers to delete the report itself; it goes on using itself after the menu.
struct MenuReport : skintest::RecordReport {
    void OnContextMenu(int x, int y) override {
        skin::RunContextMenu(*this, x, y, {{u"Close project"_s, u"delete_owner"_s, 0}});
        ++menusRun;
    }
    int menusRun = 0;
};

} // namespace

// The report grid opens its context menu at the clicked point; the chosen command deletes the grid and
// arrives once the grid's code has returned. A command whose dialog has gone is dropped. The sanitizer run
// checks that nothing freed is touched.
TEST(Menu, ACommandThatDeletesTheGridOrOutlivesTheDialogTouchesNothingFreed) {
    plat::Rect placed;
    ModalScript hook([&](CSkinDlg_Base& w) {
        placed = skin::HostWindow(w).windowRect();
        ReleaseOn(dynamic_cast<CSkinMenuPopup&>(w), 0);
    });
    auto dlg = std::make_unique<TestDialog>();
    auto grid = std::make_unique<MenuReport>();
    grid->records = {{10, 0.5f, u"red"_s}, {20, 1.5f, u"blue"_s}};
    dlg->build = [&](TestDialog& d) {
        grid->SetupColumns(&d.m_rootHolder, d.m_nextElementId++);
        grid->SetPosition(20, 40, 400, 200, CSkinElement::kShowFlag);
        grid->UpdateItemCount();
    };
    dlg->handle = [&](const QString&, int) {
        grid.reset();
        return true;
    };
    dlg->Open();
    dlg->RedrawNow();
    skintest::ClickAt(*dlg, {60, 80}, Qt::RightButton);
    EXPECT_EQ(placed.topLeft(), skin::HostWindow(*dlg).clientToScreen({60, 80}));
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->menusRun, 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid, nullptr);
    skintest::ClickAt(*dlg, {60, 80});
    dlg->RedrawNow();

    MenuReport survivor;
    skintest::Place(survivor, dlg->m_rootHolder, 20, 40, 200, 100);
    survivor.OnContextMenu(10, 10);
    dlg.reset();
    QCoreApplication::processEvents();
}

// A right click on the tray icon offers the window back or the end of the program.
TEST(Menu, TheTrayMenuRestoresOrExits) {
    TestDialog dlg;
    dlg.Open();
    ModalScript hook([&](CSkinDlg_Base& w) { ReleaseOn(dynamic_cast<CSkinMenuPopup&>(w), 2); });
    dlg.onTrayIcon(plat::TrayClick::Right);
    QCoreApplication::processEvents();
    EXPECT_EQ(dlg.commands, (QStringList{u"Default_close"_s}));
    EXPECT_EQ(dlg.Result(), skin::kResultCancel);
}

#include "skin/skin_constants.h"
#include "skin/skin_menu_popup.h"
#include "tests/skin/skin_test_support.h"
#include "tests/skin/test_printers.h"
#include "tests/skin/window_events.h"

#include <QFocusEvent>
#include <gtest/gtest.h>
#include <memory>

using namespace Qt::StringLiterals;
using skintest::ModalHook;
using skintest::TestDialog;

namespace {

// Where the pointer hovers item index (-1: a place over no item), found by moving down the menu.
plat::Point ItemPoint(CSkinMenuPopup& menu, int index) {
    for (int y = 0; y < menu.m_height; ++y) {
        skintest::MoveMouse(menu, {40, y});
        if (menu.HoveredItem() == index) {
            return {40, y};
        }
    }
    ADD_FAILURE() << "item " << index << " cannot be hovered";
    return {};
}

void Release(CSkinMenuPopup& menu, int index, Qt::MouseButton button = Qt::LeftButton) {
    const plat::Point p = ItemPoint(menu, index);
    skintest::PressMouse(menu, {p.x, p.y}, false, button);
}

// Runs a three-item tab menu at screen (x, y) over dlg, with act driving it once shown.
struct MenuRun {
    int result = 0;
    plat::Rect placed;
    bool upward = false;
};
MenuRun RunMenu(TestDialog& dlg, int x, int y, const std::function<void(CSkinMenuPopup&)>& act,
                bool upward = false) {
    MenuRun run;
    ModalHook hook([&](plat::Window& w) {
        run.placed = w.windowRect();
        act(dynamic_cast<CSkinMenuPopup&>(w));
    });
    CSkinMenuPopup menu(&dlg, nullptr, x, y, upward);
    menu.AddItem(u"Pause Run"_s, u"pause_project"_s, 3);
    menu.AddItem(CSkinMenuPopup::kSeparator);
    menu.AddItem(u"Close tab"_s, u"close_project"_s, 3);
    run.result = menu.DoModal();
    run.upward = menu.OpensUpward();
    return run;
}

} // namespace

// A release of either button on an item chooses it; the command arrives like a click, but only once the menu
// and the code that ran it have returned. Presses outside, Esc and the loss of the focus cancel; a release on
// the separator or outside chooses nothing and the menu stays; Enter ends it with 1 and sends nothing.
TEST(Menu, ChoosesByReleaseAndCancelsOrEndsWithoutAChoice) {
    TestDialog dlg;
    dlg.Open();
    struct Case {
        const char* name;
        std::function<void(CSkinMenuPopup&)> act;
        int result;
        QStringList commands;
    };
    const Case cases[] = {
        {"left release", [](CSkinMenuPopup& m) { Release(m, 2); }, skin::kResultOk, {u"close_project"_s}},
        {"right release",
         [](CSkinMenuPopup& m) { Release(m, 0, Qt::RightButton); },
         skin::kResultOk,
         {u"pause_project"_s}},
        {"left press outside",
         [](CSkinMenuPopup& m) {
             skintest::PressMouse(m, {-20, 10}, true);
         },
         skin::kResultCancel,
         {}},
        {"right press outside",
         [](CSkinMenuPopup& m) {
             skintest::PressMouse(m, {m.m_width + 5, 10}, true, Qt::RightButton);
         },
         skin::kResultCancel,
         {}},
        {"Esc",
         [](CSkinMenuPopup& m) { QTest::keyClick(m.widget(), Qt::Key_Escape); },
         skin::kResultCancel,
         {}},
        {"focus lost",
         [](CSkinMenuPopup& m) {
             QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
             QCoreApplication::sendEvent(m.widget(), &out);
         },
         skin::kResultCancel,
         {}},
        {"separator, outside, then Enter",
         [](CSkinMenuPopup& m) {
             ItemPoint(m, 0);
             Release(m, -1);
             skintest::PressMouse(m, {-30, -30}, false, Qt::RightButton);
             EXPECT_TRUE(m.Result() == 0);
             QTest::keyClick(m.widget(), Qt::Key_Return);
         },
         skin::kResultOk,
         {}},
    };
    for (const Case& c : cases) {
        dlg.commands.clear();
        EXPECT_EQ(RunMenu(dlg, 300, 300, c.act).result, c.result) << c.name;
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
        bool upward;
        bool left, above;
    } cases[] = {
        {600, 300, false, false, false}, {1275, 300, false, true, false}, {600, 795, false, false, true},
        {1275, 795, false, true, true},  {600, 20, true, false, false},   {600, 100, true, false, true},
    };
    for (const auto& c : cases) {
        const MenuRun run = RunMenu(
            dlg, c.x, c.y, [](CSkinMenuPopup& m) { m.EndSkinDialog(skin::kResultCancel); }, c.upward);
        const plat::Point corner{c.left ? run.placed.right - 1 : run.placed.left,
                                 c.above ? run.placed.bottom - 1 : run.placed.top};
        EXPECT_EQ(corner, (plat::Point{c.x, c.y})) << c.x << "," << c.y;
        EXPECT_EQ(run.upward, c.above) << c.x << "," << c.y;
    }
}

namespace {

// An element that opens a menu at the clicked point on a right click and goes on using itself after the menu
// has gone, as a report grid does.
class MenuOwner : public skintest::ProbeElement {
  public:
    void OnRightClick(int x, int y) override {
        {
            CSkinMenuPopup menu(m_pDlg, this, x, y);
            menu.AddItem(u"Close project"_s, u"delete_owner"_s, 1);
            menu.DoModal();
        }
        ++menusRun;
    }
    int menusRun = 0;
};

} // namespace

// The command deletes the element that opened the menu; it arrives once that element's code has returned. A
// command whose dialog has gone is dropped. The sanitizer run checks that nothing freed is touched.
TEST(Menu, ACommandThatDeletesTheOwnerOrOutlivesTheDialogTouchesNothingFreed) {
    plat::Rect placed;
    ModalHook hook([&](plat::Window& w) {
        placed = w.windowRect();
        Release(dynamic_cast<CSkinMenuPopup&>(w), 0);
    });
    auto dlg = std::make_unique<TestDialog>();
    auto owner = std::make_unique<MenuOwner>();
    MenuOwner* raw = owner.get();
    dlg->build = [&](TestDialog& d) { skintest::Place(*owner, d.m_rootHolder, 20, 40, 200, 100); };
    dlg->handle = [&](const QString& command, int) {
        owner.reset();
        return command == u"delete_owner"_s;
    };
    dlg->Open();
    dlg->onMouseMove(60, 50);
    dlg->onRButtonDown(60, 50);
    dlg->onRButtonUp(60, 50);
    EXPECT_EQ(placed.topLeft(), dlg->clientToScreen({60, 50}));
    ASSERT_NE(owner, nullptr);
    EXPECT_EQ(raw->menusRun, 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(owner, nullptr);
    dlg->onMouseMove(60, 50);
    dlg->redrawNow();

    MenuOwner survivor;
    skintest::Place(survivor, dlg->m_rootHolder, 20, 40, 200, 100);
    survivor.OnRightClick(10, 10);
    dlg.reset();
    QCoreApplication::processEvents();
    EXPECT_EQ(survivor.menusRun, 1);
}

// A right click on the tray icon offers the window back or the end of the program.
TEST(Menu, TheTrayMenuRestoresOrExits) {
    TestDialog dlg;
    dlg.Open();
    QStringList offered;
    ModalHook hook([&](plat::Window& w) {
        auto& menu = dynamic_cast<CSkinMenuPopup&>(w);
        for (const CSkinMenuPopup_Item& item : menu.Items()) {
            offered.append(item.text);
        }
        Release(menu, 2);
    });
    dlg.onTrayIcon(plat::TrayClick::Right);
    EXPECT_EQ(offered, (QStringList{u"Restore Tarnwick 2.0"_s, u"-"_s, u"Exit"_s}));
    QCoreApplication::processEvents();
    EXPECT_EQ(dlg.commands, (QStringList{u"Default_close"_s}));
    EXPECT_EQ(dlg.Result(), skin::kResultCancel);
}

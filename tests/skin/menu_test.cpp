#include "platform/screens.h"
#include "skin/skin_constants.h"
#include "skin/skin_menu_popup.h"
#include "tests/skin/skin_test_support.h"
#include "tests/skin/test_printers.h"

#include <QApplication>
#include <QFocusEvent>
#include <gtest/gtest.h>
#include <memory>

using namespace Qt::StringLiterals;
using skintest::ModalHook;
using skintest::ProbeElement;
using skintest::TestDialog;

namespace {

// Where the pointer hovers item index, found by moving down the menu as a user would.
plat::Point ItemPoint(CSkinMenuPopup& menu, int index) {
    for (int y = 0; y < menu.m_height; ++y) {
        skintest::SendMouse(menu, QEvent::MouseMove, 40, y);
        if (menu.HoveredItem() == index) {
            return {40, y + menu.ItemHeight() / 2};
        }
    }
    ADD_FAILURE() << "item " << index << " cannot be hovered";
    return {};
}

void AddTabItems(CSkinMenuPopup& menu) {
    menu.AddItem(u"Pause Run"_s, u"pause_project"_s, 3);
    menu.AddItem(CSkinMenuPopup::kSeparator);
    menu.AddItem(u"Close tab"_s, u"close_project"_s, 3);
}

class MenuTest : public ::testing::Test {
  protected:
    MenuTest() { dlg.Open(); }

    // Runs a three-item menu at screen (x, y), letting act drive it once shown; answers its result.
    int RunMenu(int x, int y, const std::function<void(CSkinMenuPopup&)>& act, bool upward = false,
                plat::Rect* placed = nullptr) {
        ModalHook hook([&](plat::Window& w) {
            auto& menu = dynamic_cast<CSkinMenuPopup&>(w);
            if (placed) {
                *placed = menu.windowRect();
            }
            act(menu);
        });
        CSkinMenuPopup menu(&dlg, nullptr, x, y, upward);
        AddTabItems(menu);
        const int result = menu.DoModal();
        opensUpward = menu.OpensUpward();
        return result;
    }

    TestDialog dlg;
    bool opensUpward = false;
};

} // namespace

// The chosen command arrives like a click, but only once the menu and the code that ran it have returned.
TEST_F(MenuTest, AReleaseOnAnItemChoosesItAndItsCommandArrivesAfterTheMenuHasGone) {
    for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        dlg.commands.clear();
        dlg.params.clear();
        const int result = RunMenu(300, 300, [button](CSkinMenuPopup& menu) {
            const plat::Point p = ItemPoint(menu, 2);
            skintest::SendMouse(menu, QEvent::MouseButtonRelease, p.x, p.y, button);
        });
        EXPECT_EQ(result, skin::kResultOk);
        EXPECT_TRUE(dlg.commands.isEmpty()) << "delivered before the caller's code returned";
        QCoreApplication::processEvents();
        EXPECT_EQ(dlg.commands, (QStringList{u"close_project"_s}));
        EXPECT_EQ(dlg.params, (std::vector<int>{3}));
    }
}

// Outside presses of either button, Esc and the loss of the focus cancel; a release on the separator or
// outside the menu chooses nothing and the menu stays; Enter ends it with 1 and sends nothing.
TEST_F(MenuTest, CancelsAndEndsWithoutAChoice) {
    struct Case {
        const char* name;
        std::function<void(CSkinMenuPopup&)> act;
        int result;
    };
    const Case cases[] = {
        {"left press outside",
         [](CSkinMenuPopup& m) { skintest::SendMouse(m, QEvent::MouseButtonPress, -20, 10); },
         skin::kResultCancel},
        {"right press outside",
         [](CSkinMenuPopup& m) {
             skintest::SendMouse(m, QEvent::MouseButtonPress, m.m_width + 5, 10, Qt::RightButton);
         },
         skin::kResultCancel},
        {"Esc", [](CSkinMenuPopup& m) { skintest::SendKey(m, Qt::Key_Escape); }, skin::kResultCancel},
        {"focus lost",
         [](CSkinMenuPopup& m) {
             QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
             QCoreApplication::sendEvent(m.widget(), &out);
         },
         skin::kResultCancel},
        {"release on the separator, then Enter",
         [](CSkinMenuPopup& m) {
             const plat::Point first = ItemPoint(m, 0);
             const plat::Point last = ItemPoint(m, 2);
             for (int y = first.y; y < last.y; ++y) {
                 skintest::SendMouse(m, QEvent::MouseMove, 40, y);
                 if (m.HoveredItem() < 0) {
                     skintest::SendMouse(m, QEvent::MouseButtonRelease, 40, y);
                     break;
                 }
             }
             skintest::SendMouse(m, QEvent::MouseButtonRelease, -30, -30, Qt::RightButton);
             EXPECT_TRUE(m.isInModalLoop() && m.Result() == 0);
             skintest::SendKey(m, Qt::Key_Return);
         },
         skin::kResultOk},
    };
    for (const Case& c : cases) {
        dlg.commands.clear();
        EXPECT_EQ(RunMenu(300, 300, c.act), c.result) << c.name;
        QCoreApplication::processEvents();
        EXPECT_TRUE(dlg.commands.isEmpty()) << c.name;
    }
}

TEST_F(MenuTest, AMenuOfSeparatorsOnlyChoosesNothing) {
    ModalHook hook([](plat::Window& w) {
        auto& menu = dynamic_cast<CSkinMenuPopup&>(w);
        for (int y = 0; y < menu.m_height; ++y) {
            skintest::SendMouse(menu, QEvent::MouseButtonRelease, 40, y);
        }
        EXPECT_EQ(menu.Result(), 0);
        skintest::SendMouse(menu, QEvent::MouseButtonPress, 40, menu.m_height + 30);
    });
    CSkinMenuPopup menu(&dlg, nullptr, 300, 300);
    menu.AddItem(CSkinMenuPopup::kSeparator);
    menu.AddItem(CSkinMenuPopup::kSeparator);
    EXPECT_EQ(menu.DoModal(), skin::kResultCancel);
    EXPECT_EQ(menu.ChosenItem(), -1);
}

// Near the right or bottom edge of the screen (1280 x 800) the menu opens to the left of or above the point;
// opened upward where it would leave the top it moves back below the point, but not while it fits above.
TEST_F(MenuTest, FlipsAtTheEdgesOfTheScreen) {
    struct Case {
        int x, y;
        bool upward;
        bool left, above;
    };
    const Case cases[] = {
        {600, 300, false, false, false}, {1275, 300, false, true, false}, {600, 795, false, false, true},
        {1275, 795, false, true, true},  {600, 20, true, false, false},   {600, 100, true, false, true},
    };
    for (const Case& c : cases) {
        plat::Rect placed;
        RunMenu(
            c.x, c.y, [](CSkinMenuPopup& m) { m.EndSkinDialog(skin::kResultCancel); }, c.upward, &placed);
        EXPECT_EQ(placed.right == c.x + 1, c.left) << c.x << "," << c.y;
        EXPECT_EQ(placed.left == c.x, !c.left) << c.x << "," << c.y;
        EXPECT_EQ(placed.bottom == c.y + 1, c.above) << c.x << "," << c.y;
        EXPECT_EQ(placed.top == c.y, !c.above) << c.x << "," << c.y;
        EXPECT_EQ(opensUpward, c.above) << c.x << "," << c.y;
    }
}

// A grid opens its context menu with itself as owner and the clicked point inside it.
TEST_F(MenuTest, WithAnOwnerElementThePointCountsFromTheElement) {
    ProbeElement grid;
    skintest::Place(grid, dlg.m_rootHolder, 50, 60, 300, 200);
    plat::Rect placed;
    ModalHook hook([&](plat::Window& w) {
        placed = w.windowRect();
        static_cast<CSkinDlg_Base&>(w).EndSkinDialog(skin::kResultCancel);
    });
    CSkinMenuPopup menu(&dlg, &grid, 5, 7);
    AddTabItems(menu);
    menu.DoModal();
    EXPECT_EQ(placed.topLeft(), dlg.clientToScreen({55, 67}));
}

namespace {

// An element that opens a menu on a right click and goes on using itself after the menu has gone, as a
// report grid does.
class MenuOwner : public ProbeElement {
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

void ChooseFirstItem(plat::Window& w) {
    auto& menu = dynamic_cast<CSkinMenuPopup&>(w);
    const plat::Point p = ItemPoint(menu, 0);
    skintest::SendMouse(menu, QEvent::MouseButtonRelease, p.x, p.y);
}

} // namespace

// The command deletes the element that opened the menu; it arrives once that element's code has returned. A
// command whose dialog has gone is dropped. The sanitizer run checks that nothing freed is touched.
TEST(MenuLifetime, ACommandThatDeletesTheOwnerOrOutlivesTheDialogTouchesNothingFreed) {
    ModalHook hook(ChooseFirstItem);
    {
        TestDialog dlg;
        auto owner = std::make_unique<MenuOwner>();
        MenuOwner* raw = owner.get();
        dlg.build = [&](TestDialog& d) { skintest::Place(*owner, d.m_rootHolder, 20, 40, 200, 100); };
        dlg.handle = [&](const QString& command, int) {
            if (command == u"delete_owner"_s) {
                owner.reset();
            }
            return true;
        };
        dlg.Open();
        dlg.onMouseMove(60, 60);
        dlg.onRButtonDown(60, 60);
        dlg.onRButtonUp(60, 60);
        ASSERT_NE(owner, nullptr);
        EXPECT_EQ(raw->menusRun, 1);
        QCoreApplication::processEvents();
        EXPECT_EQ(owner, nullptr);
        EXPECT_EQ(dlg.commands, (QStringList{u"delete_owner"_s}));
        dlg.onMouseMove(60, 60);
        dlg.redrawNow();
    }
    auto dlg = std::make_unique<TestDialog>();
    MenuOwner owner;
    dlg->build = [&](TestDialog& d) { skintest::Place(owner, d.m_rootHolder, 20, 40, 200, 100); };
    dlg->Open();
    owner.OnRightClick(10, 10);
    dlg.reset();
    QCoreApplication::processEvents();
    EXPECT_EQ(owner.menusRun, 1);
}

// A right click on the tray icon offers the window back or the end of the program.
TEST_F(MenuTest, TheTrayMenuRestoresOrExits) {
    QStringList offered;
    ModalHook hook([&](plat::Window& w) {
        auto& menu = dynamic_cast<CSkinMenuPopup&>(w);
        for (const CSkinMenuPopup_Item& item : menu.Items()) {
            offered.append(item.text);
        }
        const plat::Point p = ItemPoint(menu, 2);
        skintest::SendMouse(menu, QEvent::MouseButtonRelease, p.x, p.y);
    });
    dlg.onTrayIcon(plat::TrayClick::Right);
    EXPECT_EQ(offered, (QStringList{u"Restore Tarnwick 2.0"_s, u"-"_s, u"Exit"_s}));
    QCoreApplication::processEvents();
    EXPECT_EQ(dlg.commands, (QStringList{u"Default_close"_s}));
    EXPECT_EQ(dlg.Result(), skin::kResultCancel);
}

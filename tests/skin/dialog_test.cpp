#include "core/headless_platform_services.h"
#include "platform/keys.h"
#include "platform/screens.h"
#include "platform/window.h"
#include "skin/skin_button.h"
#include "skin/skin_constants.h"
#include "tests/skin/skin_test_support.h"
#include "tests/skin/test_printers.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>
#include <memory>

using namespace Qt::StringLiterals;
using skintest::ManualClock;
using skintest::ProbeElement;
using skintest::TestDialog;

namespace {

// A framed dialog with two push buttons, an element with a tooltip and a drop target.
struct ButtonsDialog {
    ButtonsDialog() {
        dlg.m_width = 420;
        dlg.m_height = 260;
        dlg.m_title = u"Tarnwick 2.0 :: Test"_s;
        dlg.build = [this](TestDialog& d) {
            ok.Create(&d.m_rootHolder, d.m_nextElementId++, u"OK"_s, u"on_ok"_s, 7);
            ok.SetPosition(200, 200, 90, 29, 0);
            cancel.Create(&d.m_rootHolder, d.m_nextElementId++, u"Cancel"_s, u"on_cancel"_s, 9);
            cancel.SetPosition(300, 200, 90, 29, 0);
            tipped.Create(&d.m_rootHolder, d.m_nextElementId++, QString(), QString(), 0,
                          u"Details at http://example.test/help here"_s);
            tipped.SetPosition(20, 60, 120, 40, 0);
            target.Create(&d.m_rootHolder, d.m_nextElementId++);
            target.SetPosition(20, 120, 120, 40, 0);
            target.acceptsDrops = true;
            target.EnableDragDrop();
        };
    }
    // Rests the pointer on the tooltip element long enough for its tooltip to show.
    CSkinTooltip_windows* ShowTooltip(ManualClock& clock) {
        const plat::Point p = TestDialog::Centre(tipped);
        dlg.onMouseMove(p.x, p.y);
        clock.Advance(800);
        dlg.onTimer(skin::kTickTimerId);
        return dlg.Tooltip();
    }
    TestDialog dlg;
    CSkinButton ok;
    CSkinButton cancel;
    ProbeElement tipped;
    ProbeElement target;
};

} // namespace

TEST(DialogCommands, ClicksSendTheElementsCommandAndParameter) {
    ButtonsDialog b;
    b.dlg.Open();
    b.dlg.Click(b.ok);
    b.dlg.Click(b.cancel);
    EXPECT_EQ(b.dlg.commands, (QStringList{u"on_ok"_s, u"on_cancel"_s}));
    EXPECT_EQ(b.dlg.params, (std::vector<int>{7, 9}));
    EXPECT_EQ(b.dlg.m_pPressed, nullptr);
}

TEST(DialogCommands, PressOnOneElementAndReleaseOnAnotherSendsNothing) {
    ButtonsDialog b;
    b.dlg.Open();
    const plat::Point from = TestDialog::Centre(b.ok);
    const plat::Point to = TestDialog::Centre(b.cancel);
    b.dlg.onLButtonDown(from.x, from.y);
    b.dlg.onMouseMove(to.x, to.y);
    b.dlg.onLButtonUp(to.x, to.y);
    EXPECT_TRUE(b.dlg.commands.isEmpty());
}

TEST(DialogCommands, CaptionButtonsSendTheDefaultCommands) {
    ButtonsDialog b;
    b.dlg.Open();
    ASSERT_TRUE(b.dlg.m_btnClose.m_visible);
    EXPECT_EQ(b.dlg.m_btnClose.m_x, 420 - 26);
    EXPECT_EQ(b.dlg.m_btnMinimize.m_x, 420 - 70);
    EXPECT_FALSE(b.dlg.m_btnRestore.m_visible);
    b.dlg.Click(b.dlg.m_btnMinimize);
    b.dlg.onSize(plat::SizeType::Restored, 420, 260);
    b.dlg.Click(b.dlg.m_btnClose);
    EXPECT_EQ(b.dlg.commands, (QStringList{u"Default_minimize"_s, u"Default_close"_s}));
    EXPECT_EQ(b.dlg.m_result, skin::kResultCancel);
}

TEST(DialogCommands, MaximiseSwapsTheCaptionButtons) {
    ButtonsDialog b;
    b.dlg.Open();
    b.dlg.Click(b.dlg.m_btnMaximize);
    EXPECT_TRUE(b.dlg.m_maximized);
    EXPECT_TRUE(b.dlg.m_btnRestore.m_visible);
    EXPECT_FALSE(b.dlg.m_btnMaximize.m_visible);
    EXPECT_EQ(b.dlg.m_btnClose.m_x, b.dlg.m_width - 26);
    b.dlg.Click(b.dlg.m_btnRestore);
    EXPECT_FALSE(b.dlg.m_maximized);
    EXPECT_FALSE(b.dlg.m_btnRestore.m_visible);
    EXPECT_EQ(b.dlg.m_width, 420);
}

TEST(DialogKeys, EnterWithoutFocusIsOkAndOnAFocusedButtonClicksIt) {
    ButtonsDialog b;
    b.dlg.Open();
    b.dlg.Key(plat::kKeyEnter);
    EXPECT_EQ(b.dlg.commands, (QStringList{u"Default_ok"_s}));
    b.dlg.commands.clear();
    b.dlg.m_result = 0;
    b.cancel.SetFocus();
    b.dlg.Key(plat::kKeyEnter);
    b.dlg.Key(plat::kKeySpace);
    EXPECT_EQ(b.dlg.commands, (QStringList{u"on_cancel"_s, u"on_cancel"_s}));
}

TEST(DialogKeys, EscapeFirstDropsTheFocusThenCancels) {
    ButtonsDialog b;
    b.dlg.Open();
    b.ok.SetFocus();
    b.dlg.Key(plat::kKeyEscape);
    EXPECT_EQ(b.dlg.m_pFocus, nullptr);
    EXPECT_TRUE(b.dlg.commands.isEmpty());
    b.dlg.Key(plat::kKeyEscape);
    EXPECT_EQ(b.dlg.commands, (QStringList{u"Default_cancel"_s}));
    EXPECT_EQ(b.dlg.m_result, skin::kResultCancel);
}

TEST(DialogKeys, TabMovesBetweenButtonsAndStartsAtTheFirst) {
    ButtonsDialog b;
    b.dlg.Open();
    b.dlg.Key(plat::kKeyTab);
    EXPECT_EQ(b.dlg.m_pFocus, &b.ok);
    b.dlg.Key(plat::kKeyTab);
    EXPECT_EQ(b.dlg.m_pFocus, &b.cancel);
    b.dlg.Key(plat::kKeyTab);
    EXPECT_EQ(b.dlg.m_pFocus, &b.ok); // caption buttons never take the focus
    b.dlg.Key(plat::kKeyTab, plat::kModShift);
    EXPECT_EQ(b.dlg.m_pFocus, &b.cancel);
    EXPECT_TRUE(b.dlg.commands.isEmpty());
}

TEST(DialogKeys, AutoRepeatedReleasesDoNothing) {
    ButtonsDialog b;
    b.dlg.Open();
    b.ok.SetFocus();
    b.dlg.onKeyDown(plat::kKeyEnter, 0, false);
    for (int i = 0; i < 5; ++i) {
        b.dlg.onKeyDown(plat::kKeyEnter, 0, true);
        b.dlg.onKeyUp(plat::kKeyEnter, 0, true);
    }
    EXPECT_TRUE(b.dlg.commands.isEmpty());
    b.dlg.onKeyUp(plat::kKeyEnter, 0, false);
    EXPECT_EQ(b.dlg.commands, (QStringList{u"on_ok"_s}));
}

TEST(DialogKeys, F1OpensHelpFromTheProgramFolder) {
    ButtonsDialog b;
    b.dlg.Open();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QCoreApplication::sendEvent(b.dlg.widget(), &press);
    EXPECT_EQ(b.dlg.helps, 1);
    // A focused button takes keys, but F1 still reaches help.
    b.ok.SetFocus();
    QCoreApplication::sendEvent(b.dlg.widget(), &press);
    EXPECT_EQ(b.dlg.helps, 2);
    EXPECT_EQ(CSkinDlg_Base::UserManualPath(),
              QCoreApplication::applicationDirPath() + u"/User Manual.pdf"_s);
    EXPECT_TRUE(b.dlg.commands.isEmpty());
}

TEST(DialogModal, EndSkinDialogEndsTheRunAtTheNextTick) {
    ButtonsDialog b;
    QElapsedTimer elapsed;
    QTimer::singleShot(30, [&] {
        b.dlg.EndSkinDialog(0); // no result: the run goes on
        QTimer::singleShot(150, [&] {
            EXPECT_TRUE(b.dlg.isInModalLoop());
            elapsed.start();
            b.dlg.EndSkinDialog(5);
        });
    });
    const int result = b.dlg.DoModal();
    EXPECT_EQ(result, 5);
    EXPECT_LT(elapsed.elapsed(), 200);
}

TEST(DialogModal, ButtonCommandEndsTheRun) {
    ButtonsDialog b;
    b.dlg.handle = [&](const QString& command, int) {
        if (command == "on_ok"_L1) {
            b.dlg.EndSkinDialog(skin::kResultOk);
            return true;
        }
        return false;
    };
    QTimer::singleShot(20, [&] { b.dlg.Click(b.ok); });
    EXPECT_EQ(b.dlg.DoModal(), skin::kResultOk);
}

TEST(DialogSafety, ACommandThatDeletesItsButtonLeavesNoDanglingPointer) {
    TestDialog dlg;
    auto doomed = std::make_unique<CSkinButton>();
    CSkinButton* raw = doomed.get();
    dlg.build = [&](TestDialog& d) {
        doomed->Create(&d.m_rootHolder, 5, u"Close project"_s, u"close_project"_s);
        doomed->SetPosition(10, 40, 120, 29, 0);
    };
    dlg.handle = [&](const QString& command, int) {
        if (command == "close_project"_L1) {
            doomed.reset();
            return true;
        }
        return false;
    };
    dlg.Open();
    dlg.Click(*raw);
    EXPECT_EQ(doomed, nullptr);
    EXPECT_EQ(dlg.m_pPressed, nullptr);
    EXPECT_EQ(dlg.m_pHover, &dlg.m_rootHolder); // the point is over the bare dialog now
    EXPECT_EQ(dlg.m_pFocus, nullptr);
    EXPECT_EQ(CSkinDlg_Base::HoverSlot(), nullptr);
    // More input and a paint after the deletion reach only live elements (the sanitizer run checks this).
    dlg.onMouseMove(20, 50);
    dlg.Key(plat::kKeyEnter);
    dlg.redrawNow();
}

TEST(DialogSafety, EnterOnAFocusedButtonThatDeletesItself) {
    TestDialog dlg;
    auto doomed = std::make_unique<CSkinButton>();
    dlg.build = [&](TestDialog& d) {
        doomed->Create(&d.m_rootHolder, 5, u"Go"_s, u"go"_s);
        doomed->SetPosition(10, 40, 120, 29, 0);
    };
    dlg.handle = [&](const QString& command, int) {
        doomed.reset();
        return command == "go"_L1;
    };
    dlg.Open();
    doomed->SetFocus();
    dlg.Key(plat::kKeyEnter);
    EXPECT_EQ(doomed, nullptr);
    EXPECT_EQ(dlg.m_pFocus, nullptr);
}

TEST(DialogSafety, LeaveNotificationThatDeletesTheNewHoverElement) {
    TestDialog dlg;
    auto first = std::make_unique<ProbeElement>();
    auto second = std::make_unique<ProbeElement>();
    dlg.build = [&](TestDialog& d) {
        skintest::Place(*first, d.m_rootHolder, 10, 40, 50, 50);
        skintest::Place(*second, d.m_rootHolder, 100, 40, 50, 50);
    };
    dlg.Open();
    first->onLeave = [&] { second.reset(); };
    dlg.onMouseMove(20, 50);
    ASSERT_EQ(CSkinDlg_Base::HoverSlot(), first.get());
    dlg.onMouseMove(110, 50);
    EXPECT_EQ(second, nullptr);
    EXPECT_EQ(CSkinDlg_Base::HoverSlot(), nullptr);
    EXPECT_EQ(dlg.m_pHover, nullptr);
}

TEST(DialogTooltip, ShowsAfterTheDelayOnlyWhileActiveAndNeverTakesFocus) {
    ManualClock clock;
    ButtonsDialog b;
    b.dlg.Open();
    const plat::Point p = TestDialog::Centre(b.tipped);
    b.dlg.onMouseMove(p.x, p.y);
    clock.Advance(700);
    b.dlg.onTimer(skin::kTickTimerId);
    EXPECT_EQ(b.dlg.Tooltip(), nullptr);
    clock.Advance(60);
    b.dlg.onTimer(skin::kTickTimerId);
    ASSERT_NE(b.dlg.Tooltip(), nullptr);
    EXPECT_TRUE(b.dlg.m_tooltipShown);
    EXPECT_EQ(b.dlg.Tooltip()->kind(), plat::WindowKind::Tooltip);
    EXPECT_FALSE(b.dlg.Tooltip()->hasCapture());
    EXPECT_FALSE(b.dlg.Tooltip()->isActive());
    // Keys still reach the dialog's focused element; the key closes the tooltip.
    b.ok.SetFocus();
    b.dlg.Key(plat::kKeyEnter);
    EXPECT_EQ(b.dlg.commands, (QStringList{u"on_ok"_s}));
    EXPECT_EQ(b.dlg.Tooltip(), nullptr);

    // An inactive window shows no tooltip.
    b.dlg.onActivate(false);
    b.dlg.onMouseMove(1, 250);
    b.dlg.onMouseMove(p.x, p.y);
    clock.Advance(1000);
    b.dlg.onTimer(skin::kTickTimerId);
    EXPECT_EQ(b.dlg.Tooltip(), nullptr);
}

TEST(DialogTooltip, LeavingTheElementClosesItWithinAPollAndTheTimeLimitClosesItAnyway) {
    ManualClock clock;
    ButtonsDialog b;
    b.dlg.Open();
    ASSERT_NE(b.ShowTooltip(clock), nullptr);
    const plat::Point p = TestDialog::Centre(b.tipped);
    b.dlg.onMouseMove(p.x + 3, p.y); // still over the element
    b.dlg.Tooltip()->onTimer(1);
    b.dlg.onTimer(skin::kTickTimerId);
    ASSERT_NE(b.dlg.Tooltip(), nullptr);
    b.dlg.onMouseMove(300, 100);
    b.dlg.Tooltip()->onTimer(1);
    b.dlg.onTimer(skin::kTickTimerId);
    EXPECT_EQ(b.dlg.Tooltip(), nullptr);

    ASSERT_NE(b.ShowTooltip(clock), nullptr);
    clock.Advance(19000);
    b.dlg.onTimer(skin::kTickTimerId);
    EXPECT_NE(b.dlg.Tooltip(), nullptr);
    clock.Advance(1100);
    b.dlg.onTimer(skin::kTickTimerId);
    EXPECT_EQ(b.dlg.Tooltip(), nullptr);
}

TEST(DialogTooltip, ClickOnTheLinkOpensItThroughThePlatformServices) {
    ManualClock clock;
    HeadlessPlatformServices services;
    InstallPlatformServices(&services);
    ButtonsDialog b;
    b.dlg.Open();
    CSkinTooltip_windows* tip = b.ShowTooltip(clock);
    ASSERT_NE(tip, nullptr);
    const plat::Rect link = tip->LinkRect();
    ASSERT_FALSE(link.isEmpty());
    tip->onLButtonDown(link.left + 2, link.top + 2);
    EXPECT_EQ(services.OpenedUrls(), (QStringList{u"http://example.test/help"_s}));
    b.dlg.onTimer(skin::kTickTimerId);
    EXPECT_EQ(b.dlg.Tooltip(), nullptr);
    InstallPlatformServices(nullptr);
}

TEST(DialogTooltip, StaysInsideTheWorkAreaOfTheScreenUnderThePointer) {
    ButtonsDialog b;
    b.dlg.Open();
    const plat::Rect area = plat::availableRectAt({0, 0}); // the test screen, 1280 x 800
    for (const plat::Point cursor : {plat::Point{640, 400}, {1278, 400}, {2, 400}, {640, 798}, {1278, 798}}) {
        CSkinTooltip_windows tip(&b.dlg, u"A tooltip that needs some room on the screen"_s, plat::Rect{});
        tip.ShowAt(cursor);
        const plat::Rect shown = tip.windowRect();
        EXPECT_EQ(shown.intersected(area), shown) << cursor.x << "," << cursor.y;
        EXPECT_FALSE(shown.contains(cursor)) << cursor.x << "," << cursor.y;
        if (cursor == plat::Point{640, 400}) {
            // Where it fits: a third of its width left of the pointer and 30 px below it.
            EXPECT_EQ(shown, plat::Rect::fromXywh(640 - tip.Width() / 3, 430, tip.Width(), tip.Height()));
        }
    }
}

// Menus, the drop list, the colour picker and the ad preview are such popups. Under the popup's grab a press
// anywhere reaches the popup, in its own coordinates.
TEST(DialogPopup, APressOutsideCancelsTheRunUnlessItsResultIsDecided) {
    ButtonsDialog owner;
    owner.dlg.Open();
    TestDialog popup(&owner.dlg, plat::WindowKind::Popup);
    popup.m_framed = false;
    popup.m_captureMode = true;
    popup.m_width = 200;
    popup.m_height = 100;
    QTimer::singleShot(100, [&] {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(-20, 150), QPointF(-20, 150), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(popup.widget(), &press);
    });
    QTimer::singleShot(3000, [&] { popup.EndSkinDialog(99); }); // never hangs
    EXPECT_EQ(popup.DoModal(), skin::kResultCancel);
    popup.EndSkinDialog(skin::kResultOk);
    popup.onCancelPopup();
    EXPECT_EQ(popup.m_result, skin::kResultOk);
}

TEST(DialogFrame, CaptionDragMovesTheWindow) {
    ButtonsDialog b;
    b.dlg.Open();
    const plat::Rect before = b.dlg.windowRect();
    b.dlg.onMouseMove(150, 12);
    b.dlg.onLButtonDown(150, 12);
    ASSERT_TRUE(b.dlg.m_moving);
    const plat::Point anchor = b.dlg.m_dragAnchor;
    b.dlg.MoveStep({anchor.x - 40, anchor.y + 25});
    const plat::Rect after = b.dlg.windowRect();
    EXPECT_EQ(after.left, before.left - 40);
    EXPECT_EQ(after.top, before.top + 25);
    EXPECT_EQ(after.width(), before.width());
    b.dlg.onLButtonUp(150, 12);
    EXPECT_FALSE(b.dlg.m_moving);
    EXPECT_TRUE(b.dlg.commands.isEmpty());
}

TEST(DialogFrame, BorderDragResizesWithinTheMinimumSize) {
    ButtonsDialog b;
    b.dlg.m_minWidth = 350;
    b.dlg.m_minHeight = 240;
    b.dlg.Open();
    const plat::Rect before = b.dlg.windowRect();
    b.dlg.onMouseMove(419, 130);
    b.dlg.onLButtonDown(419, 130);
    ASSERT_TRUE(b.dlg.m_resizing);
    EXPECT_FALSE(b.dlg.m_moving);
    b.dlg.ResizeStep({before.right + 60, 400});
    EXPECT_EQ(b.dlg.windowRect().width(), 480);
    EXPECT_EQ(b.dlg.m_width, 480);
    EXPECT_EQ(b.dlg.m_btnClose.m_x, 480 - 26);
    // Far to the left: the window keeps its minimum width.
    b.dlg.ResizeStep({before.left - 500, 400});
    EXPECT_EQ(b.dlg.windowRect().width(), 350);
    b.dlg.onLButtonUp(0, 130);
    // The bottom-left corner: never narrower than 300 px even with a smaller minimum, never shorter than it.
    ButtonsDialog small;
    small.dlg.m_minWidth = 100;
    small.dlg.m_minHeight = 240;
    small.dlg.Open();
    small.dlg.onMouseMove(1, small.dlg.m_height - 1);
    small.dlg.onLButtonDown(1, small.dlg.m_height - 1);
    ASSERT_TRUE(small.dlg.m_resizing);
    const plat::Rect r = small.dlg.windowRect();
    small.dlg.ResizeStep({r.right + 100, r.top + 10});
    EXPECT_EQ(small.dlg.windowRect().width(), 300);
    EXPECT_EQ(small.dlg.windowRect().height(), 300);
    small.dlg.onLButtonUp(0, 0);
}

// Tiling or a keyboard resize by the window manager must not cut off the caption buttons.
TEST(DialogFrame, TheWindowManagerKeepsToTheBorderDragsLimits) {
    struct Case {
        bool maximizable;
        int minWidth, minHeight;
        QSize minimum, maximum;
    };
    const Case cases[] = {{true, 100, 70, {300, 300}, {QWIDGETSIZE_MAX, QWIDGETSIZE_MAX}},
                          {true, 350, 320, {350, 320}, {QWIDGETSIZE_MAX, QWIDGETSIZE_MAX}},
                          {false, 100, 70, {420, 260}, {420, 260}}};
    for (const Case& c : cases) {
        ButtonsDialog b;
        b.dlg.m_maximizable = c.maximizable;
        b.dlg.m_minWidth = c.minWidth;
        b.dlg.m_minHeight = c.minHeight;
        b.dlg.Open();
        const QWindow* shown = b.dlg.widget()->windowHandle();
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->minimumSize(), c.minimum) << c.minWidth;
        EXPECT_EQ(shown->maximumSize(), c.maximum) << c.minWidth;
    }
}

TEST(DialogFrame, SetTitleKeepsThePlainTextAndNeverNestsMarkup) {
    ButtonsDialog b;
    b.dlg.Open();
    b.dlg.SetTitle(u"Tarnwick 2.0 :: Options"_s);
    b.dlg.SetTitle(b.dlg.Title());
    EXPECT_EQ(b.dlg.Title(), u"Tarnwick 2.0 :: Options"_s);
    EXPECT_EQ(b.dlg.windowText(), u"Tarnwick 2.0 :: Options"_s);
}

TEST(DialogFrame, MinimiseToTrayWithoutATrayStaysReachable) {
    ButtonsDialog b;
    b.dlg.m_minimizeToTray = true;
    b.dlg.Open();
    ASSERT_FALSE(plat::isSystemTrayAvailable());
    b.dlg.onSize(plat::SizeType::Minimized, 420, 260);
    EXPECT_FALSE(b.dlg.hasTrayIcon());
    EXPECT_TRUE(b.dlg.isVisible());
    b.dlg.onSize(plat::SizeType::Restored, 420, 260);
    EXPECT_FALSE(b.dlg.m_minimized);
}

TEST(DialogDrops, UnicodeTextReachesTheElementUnderThePointer) {
    ButtonsDialog b;
    b.dlg.Open();
    const plat::Point p = TestDialog::Centre(b.target);
    EXPECT_TRUE(b.dlg.onDragOver(p.x, p.y));
    EXPECT_FALSE(b.dlg.onDragOver(TestDialog::Centre(b.tipped).x, TestDialog::Centre(b.tipped).y));
    const QString text = u"Grüße, 日本語 — ключ"_s;
    b.dlg.onDrop(p.x, p.y, text);
    EXPECT_EQ(b.target.dropped, text);
    EXPECT_EQ(b.target.dropAt.x, p.x - 20);
    // The edge itself is outside: the test is strict.
    EXPECT_FALSE(b.dlg.DropTextAt(20, 130, nullptr));
}

TEST(DialogDrops, APressOnADraggableElementArmsATextDragInsteadOfTakingTheCapture) {
    ButtonsDialog b;
    b.target.dragText = u"keyword — ключ"_s;
    b.dlg.Open();
    const plat::Point p = TestDialog::Centre(b.target);
    b.dlg.onLButtonDown(p.x, p.y);
    EXPECT_TRUE(b.dlg.m_dragArmed);
    EXPECT_FALSE(b.dlg.hasCapture());
    QString text;
    EXPECT_TRUE(b.dlg.BeginDragAt(p.x, p.y, &text));
    EXPECT_EQ(text, b.target.dragText);
    b.dlg.onLButtonUp(p.x, p.y);
    EXPECT_FALSE(b.dlg.m_dragArmed);
    // A press elsewhere takes the capture and arms nothing.
    const plat::Point q = TestDialog::Centre(b.tipped);
    b.dlg.onLButtonDown(q.x, q.y);
    EXPECT_FALSE(b.dlg.m_dragArmed);
    EXPECT_TRUE(b.dlg.hasCapture());
    b.dlg.onLButtonUp(q.x, q.y);
    EXPECT_FALSE(b.dlg.hasCapture());
}

TEST(DialogWheel, ScrollsTheHolderUnderThePointerEvenOverAChild) {
    TestDialog dlg;
    CSkinDlgHolder list(false, false);
    std::vector<std::unique_ptr<ProbeElement>> rows;
    dlg.build = [&](TestDialog& d) {
        list.Create(&d.m_rootHolder, 5);
        list.SetPosition(10, 40, 200, 108, 0);
        for (int i = 0; i < 50; ++i) {
            rows.push_back(std::make_unique<ProbeElement>());
            rows.back()->SetPosition(0, 0, 180, 20, 0);
            list.AddElement(rows.back().get(), 0, i * 20);
        }
    };
    dlg.Open();
    dlg.onMouseMove(50, 60);
    ASSERT_EQ(dlg.m_pHover, rows[0].get());
    EXPECT_TRUE(dlg.onMouseWheel(-120, 50, 60));
    EXPECT_EQ(list.m_scrollY, 20);
    for (int i = 0; i < 100; ++i) {
        dlg.onMouseWheel(-120, 50, 60);
    }
    EXPECT_EQ(list.m_scrollY, 50 * 20 + 4 - 100);
}

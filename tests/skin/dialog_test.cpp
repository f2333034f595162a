#include "core/headless_platform_services.h"
#include "platform/keys.h"
#include "platform/screens.h"
#include "platform/window.h"
#include "skin/skin_button.h"
#include "skin/skin_constants.h"
#include "skin/skin_ico_button.h"
#include "tests/support/skin_test_support.h"
#include "tests/support/test_clock.h"
#include "tests/support/test_printers.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <type_traits>

using namespace Qt::StringLiterals;
using skin::CaptionButton;
using skintest::ProbeElement;
using skintest::TestDialog;

namespace {

// Each action on a dialog has one public name: the platform window's lower-level twins of EndSkinDialog,
// Invalidate and RedrawNow are not part of a dialog's face, nor is the window itself.
template <typename D>
concept EndsByWindow = requires(D& d) {
    d.endDialog(1);
};
template <typename D>
concept InvalidatesByWindow = requires(D& d) {
    d.invalidate();
};
template <typename D>
concept RedrawsByWindow = requires(D& d) {
    d.redrawNow();
};
template <typename D>
constexpr bool kShowsWindowTwins = EndsByWindow<D> || InvalidatesByWindow<D> || RedrawsByWindow<D> ||
                                   std::is_convertible_v<D*, plat::Window*>;
static_assert(EndsByWindow<plat::Window> && InvalidatesByWindow<plat::Window> &&
              RedrawsByWindow<plat::Window>);
static_assert(!kShowsWindowTwins<CSkinDlg_Base> && !kShowsWindowTwins<TestDialog>);
static_assert(requires(TestDialog & d) {
    d.EndSkinDialog(1);
    d.Invalidate();
    d.RedrawNow();
});

// A framed dialog with two push buttons, an element with a tooltip and a drop target.
class DialogTest : public ::testing::Test {
  protected:
    DialogTest() {
        m_dlg.m_width = 420;
        m_dlg.m_height = 260;
        m_dlg.build = [this](TestDialog& d) {
            m_ok.Create(&d.m_rootHolder, d.m_nextElementId++, u"OK"_s, u"on_ok"_s, 7);
            m_ok.SetPosition(200, 200, 90, 29, 0);
            m_cancel.Create(&d.m_rootHolder, d.m_nextElementId++, u"Cancel"_s, u"on_cancel"_s, 9);
            m_cancel.SetPosition(300, 200, 90, 29, 0);
            m_tipped.Create(&d.m_rootHolder, d.m_nextElementId++, QString(), QString(), 0,
                            u"Details at http://example.test/help here"_s);
            m_tipped.SetPosition(20, 60, 120, 40, 0);
            skintest::Place(m_target, d.m_rootHolder, 20, 120, 120, 40);
            m_target.acceptsDrops = true;
            m_target.EnableDragDrop();
        };
    }
    // Rests the pointer on the tooltip element long enough for its tooltip to show.
    CSkinTooltip_windows* ShowTooltip() {
        const plat::Point p = skintest::Centre(m_tipped);
        m_dlg.onMouseMove(p.x, p.y);
        m_clock.AdvanceMs(800);
        m_dlg.onTimer(skin::kTickTimerId);
        return m_dlg.Tooltip();
    }
    const CSkinButton& Caption(CaptionButton which) { return m_dlg.Frame().Button(which); }

    twtest::TestClock m_clock{{.monotonicMs = 1'000'000}};
    TestDialog m_dlg;
    CSkinButton m_ok;
    CSkinButton m_cancel;
    ProbeElement m_tipped;
    ProbeElement m_target;
};

using DialogCommands = DialogTest;
using DialogKeys = DialogTest;
using DialogModal = DialogTest;
using DialogTooltip = DialogTest;
using DialogFrame = DialogTest;
using DialogDrops = DialogTest;
using DialogTimers = DialogTest;

} // namespace

TEST_F(DialogCommands, AClickSendsItsCommandOnlyWhenPressAndReleaseMeet) {
    m_dlg.Open();
    skintest::ClickElement(m_dlg, m_ok);
    skintest::ClickElement(m_dlg, m_cancel);
    const plat::Point from = skintest::Centre(m_ok);
    const plat::Point to = skintest::Centre(m_cancel);
    m_dlg.onLButtonDown(from.x, from.y);
    m_dlg.onMouseMove(to.x, to.y);
    m_dlg.onLButtonUp(to.x, to.y);
    EXPECT_EQ(m_dlg.commands, (QStringList{u"on_ok"_s, u"on_cancel"_s}));
    EXPECT_EQ(m_dlg.params, (std::vector<int>{7, 9}));
    EXPECT_EQ(m_dlg.m_pPressed, nullptr);
}

// Without a focused element Enter is OK and Escape Cancel. Tab starts at the first button and passes over the
// caption buttons, both ways; Enter and Space click the focused button; Escape first only drops the focus.
TEST_F(DialogKeys, EnterSpaceEscapeAndTab) {
    m_dlg.Open();
    m_dlg.Key(plat::kKeyEnter);
    std::vector<CSkinElement*> seen;
    for (const unsigned modifiers : {0u, 0u, 0u, unsigned(plat::kModShift)}) {
        m_dlg.Key(plat::kKeyTab, modifiers);
        seen.push_back(m_dlg.m_pFocus);
    }
    EXPECT_EQ(seen, (std::vector<CSkinElement*>{&m_ok, &m_cancel, &m_ok, &m_cancel}));
    m_dlg.Key(plat::kKeyEnter);
    m_dlg.Key(plat::kKeySpace);
    m_dlg.Key(plat::kKeyEscape);
    EXPECT_EQ(m_dlg.m_pFocus, nullptr);
    m_dlg.Key(plat::kKeyEscape);
    EXPECT_EQ(m_dlg.commands,
              (QStringList{u"Default_ok"_s, u"on_cancel"_s, u"on_cancel"_s, u"Default_cancel"_s}));
    EXPECT_EQ(m_dlg.Result(), skin::kResultCancel);
}

TEST_F(DialogKeys, AutoRepeatedReleasesDoNothingAndF1AsksForHelpWhateverHasTheFocus) {
    m_dlg.Open();
    m_ok.SetFocus();
    m_dlg.onKeyDown(plat::kKeyEnter, 0, false);
    for (int i = 0; i < 5; ++i) {
        m_dlg.onKeyDown(plat::kKeyEnter, 0, true);
        m_dlg.onKeyUp(plat::kKeyEnter, 0, true);
    }
    EXPECT_TRUE(m_dlg.commands.isEmpty());
    m_dlg.onKeyUp(plat::kKeyEnter, 0, false);
    EXPECT_EQ(m_dlg.commands, (QStringList{u"on_ok"_s}));
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QCoreApplication::sendEvent(m_dlg.widget(), &f1);
    EXPECT_EQ(m_dlg.helps, 1);
}

namespace {

// A mouse event as the window system delivers it to the dialog's window.
void SendMouse(const TestDialog& dlg, QEvent::Type type, plat::Point at) {
    QWidget* w = dlg.widget();
    const QPointF local(at.x, at.y);
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent event(type, local, w->mapToGlobal(local), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &event);
}

} // namespace

// Clicked with the mouse, neither kind of button keeps the focus: it goes dark once the pointer leaves it or
// the window. Focused by Tab it stays lit wherever the pointer is, Enter clicks it and it keeps the focus; a
// mouse click then takes the focus away.
TEST(DialogButtonFocus, AClickLeavesNoButtonLitWhileTabFocusStaysLitAndEnterClicks) {
    TestDialog dlg;
    CSkinButton text;
    CSkinIcoButton tool;
    dlg.build = [&](TestDialog& d) {
        text.Create(&d.m_rootHolder, d.m_nextElementId++, u"Save"_s, u"save"_s);
        text.SetPosition(20, 60, 90, 29, 0);
        tool.CreateEx(&d.m_rootHolder, d.m_nextElementId++, u"Pause"_s, u"pause"_s, 0, QString(), nullptr, 0,
                      CSkinIcoButton::kIconAbove);
        tool.SetPosition(140, 40, 60, 60, 0);
        tool.m_takesKeys = true;
    };
    dlg.Open();
    const plat::Point away{300, 200};
    const auto clickAndCount = [&](plat::Point at) {
        dlg.commands.clear();
        for (const QEvent::Type type :
             {QEvent::MouseMove, QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
            SendMouse(dlg, type, at);
        return dlg.commands.size();
    };
    const std::pair<const CSkinElement*, std::function<bool()>> cases[] = {
        {&text, [&] { return text.IsHot(); }}, {&tool, [&] { return tool.IsHot(); }}};
    for (const auto& [button, hot] : cases) {
        SCOPED_TRACE(button->m_command.toStdString());
        const plat::Point on = skintest::Centre(*button);
        for (const bool leaveWindow : {false, true}) {
            EXPECT_EQ(clickAndCount(on), 1);
            EXPECT_TRUE(hot() && dlg.m_pFocus == nullptr) << "lit only while the pointer rests on it";
            if (leaveWindow) {
                QEvent leave(QEvent::Leave);
                QCoreApplication::sendEvent(dlg.widget(), &leave);
            } else {
                SendMouse(dlg, QEvent::MouseMove, away);
            }
            EXPECT_FALSE(hot()) << leaveWindow;
        }
        for (int tabs = 0; tabs < 4 && dlg.m_pFocus != button; ++tabs)
            dlg.Key(plat::kKeyTab);
        dlg.commands.clear();
        dlg.Key(plat::kKeyEnter);
        EXPECT_EQ(dlg.commands, QStringList{button->m_command});
        EXPECT_TRUE(hot() && dlg.m_pFocus == button);
        EXPECT_EQ(clickAndCount(on), 1);
        SendMouse(dlg, QEvent::MouseMove, away);
        EXPECT_FALSE(hot() || dlg.m_pFocus);
    }
}

TEST_F(DialogModal, EndSkinDialogEndsTheRunAtTheNextTick) {
    QElapsedTimer elapsed;
    QTimer::singleShot(30, [&] {
        m_dlg.EndSkinDialog(0); // no result: the run goes on
        QTimer::singleShot(150, [&] {
            EXPECT_TRUE(skin::HostWindow(m_dlg).isInModalLoop());
            elapsed.start();
            m_dlg.EndSkinDialog(5);
        });
    });
    EXPECT_EQ(m_dlg.DoModal(), 5);
    EXPECT_LT(elapsed.elapsed(), 200);
}

// A timer reaches the dialog's OnTimer after the skin's own handling of it: at the tick the due tooltip is up
// already. A timer that finds a result pending ends the dialog and goes no further.
TEST_F(DialogTimers, OnTimerFollowsTheSkinsOwnHandlingUnlessTheDialogEnds) {
    constexpr unsigned kTick = skin::kTickTimerId;
    constexpr unsigned kOwn = 77;
    m_dlg.Open();
    std::vector<unsigned> seen;
    bool tooltipUpAtTick = false;
    m_dlg.timer = [&](unsigned id) {
        seen.push_back(id);
        if (id == kTick)
            tooltipUpAtTick = m_dlg.Tooltip() != nullptr;
    };
    const plat::Point p = skintest::Centre(m_tipped);
    m_dlg.onMouseMove(p.x, p.y);
    m_clock.AdvanceMs(800);
    m_dlg.onTimer(kTick);
    m_dlg.onTimer(kOwn);
    EXPECT_EQ(seen, (std::vector<unsigned>{kTick, kOwn}));
    EXPECT_TRUE(tooltipUpAtTick);
    m_dlg.EndSkinDialog(skin::kResultOk);
    m_dlg.onTimer(kOwn);
    EXPECT_EQ(seen.size(), 2u);
}

namespace {

// Notes, for each showing of a window, whether it was shown asking the window system not to activate it.
class ShowingWatch : public QObject {
  public:
    explicit ShowingWatch(QWindow* window) : m_window(window) { window->installEventFilter(this); }
    ~ShowingWatch() override { m_window->removeEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        // The request Qt hands the window system as the window is shown.
        if (watched == m_window && event->type() == QEvent::Show)
            withoutActivation.push_back(m_window->property("_q_showWithoutActivating").toBool());
        return false;
    }
    std::vector<bool> withoutActivation;

  private:
    QWindow* m_window;
};

} // namespace

// A dialog opened over a hidden parent brings the parent back in the state it was in, minimised or not,
// without asking for the activation, so the keyboard focus stays where it was (the offscreen screen activates
// whatever it shows, so the request is what shows here). A parent whose window has not opened stays unshown.
TEST(DialogParent, AHiddenParentIsShownInItsStateWithoutAskingForTheFocus) {
    TestDialog parent;
    parent.Open();
    plat::Window& window = skin::HostWindow(parent);
    ShowingWatch watch(parent.widget()->windowHandle());
    const auto openChild = [&] {
        window.hide();
        const TestDialog child(&parent);
        EXPECT_TRUE(window.isVisible());
        EXPECT_FALSE(child.widget()->isVisible());
    };
    openChild();
    EXPECT_FALSE(window.isMinimized());
    window.minimize();
    openChild();
    EXPECT_TRUE(window.isMinimized());
    EXPECT_TRUE(parent.widget()->isMinimized());
    EXPECT_EQ(watch.withoutActivation, (std::vector<bool>{true, true}));

    // Shown already: nothing to show again.
    const TestDialog another(&parent);
    EXPECT_EQ(watch.withoutActivation.size(), 2u);

    TestDialog unopened;
    const TestDialog child(&unopened);
    EXPECT_FALSE(skin::HostWindow(unopened).isVisible());
}

// A command that deletes its own button, clicked or pressed by Enter, leaves the dialog no pointer to it;
// more input and a paint after the deletion reach only live elements (the sanitizer run checks this).
TEST(DialogSafety, ACommandThatDeletesItsButtonLeavesNoDanglingPointer) {
    for (const bool byKey : {false, true}) {
        TestDialog dlg;
        auto doomed = std::make_unique<CSkinButton>();
        CSkinButton* raw = doomed.get();
        dlg.build = [&](TestDialog& d) {
            doomed->Create(&d.m_rootHolder, 5, u"Close project"_s, u"close_project"_s);
            doomed->SetPosition(10, 40, 120, 29, 0);
        };
        dlg.handle = [&](const QString&, int) {
            doomed.reset();
            return true;
        };
        dlg.Open();
        if (byKey) {
            raw->SetFocus();
            dlg.Key(plat::kKeyEnter);
        } else {
            skintest::ClickElement(dlg, *raw);
        }
        EXPECT_EQ(doomed, nullptr);
        EXPECT_TRUE(dlg.m_pPressed == nullptr && dlg.m_pFocus == nullptr &&
                    CSkinDlg_Base::HoverSlot() == nullptr);
        dlg.onMouseMove(20, 50);
        dlg.Key(plat::kKeyEnter);
        dlg.RedrawNow();
    }
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

TEST_F(DialogTooltip, ShowsAfterTheDelayOnlyWhileActiveAndNeverTakesTheKeys) {
    m_dlg.Open();
    const plat::Point p = skintest::Centre(m_tipped);
    m_dlg.onMouseMove(p.x, p.y);
    m_clock.AdvanceMs(700);
    m_dlg.onTimer(skin::kTickTimerId);
    EXPECT_EQ(m_dlg.Tooltip(), nullptr);
    m_clock.AdvanceMs(60);
    m_dlg.onTimer(skin::kTickTimerId);
    ASSERT_NE(m_dlg.Tooltip(), nullptr);
    EXPECT_FALSE(m_dlg.Tooltip()->hasCapture());
    EXPECT_FALSE(m_dlg.Tooltip()->isActive());
    // Keys still reach the dialog's focused element; the key closes the tooltip.
    m_ok.SetFocus();
    m_dlg.Key(plat::kKeyEnter);
    EXPECT_EQ(m_dlg.commands, (QStringList{u"on_ok"_s}));
    EXPECT_EQ(m_dlg.Tooltip(), nullptr);
    m_dlg.onActivate(false);
    m_dlg.onMouseMove(1, 250);
    EXPECT_EQ(ShowTooltip(), nullptr) << "an inactive window shows no tooltip";
}

TEST_F(DialogTooltip, LeavingTheElementClosesItWithinAPollAndTheTimeLimitClosesItAnyway) {
    m_dlg.Open();
    ASSERT_NE(ShowTooltip(), nullptr);
    const plat::Point p = skintest::Centre(m_tipped);
    for (const int x : {p.x + 3, 300}) {
        m_dlg.onMouseMove(x, p.y);
        ASSERT_NE(m_dlg.Tooltip(), nullptr) << x;
        m_dlg.Tooltip()->onTimer(1);
        m_dlg.onTimer(skin::kTickTimerId);
    }
    EXPECT_EQ(m_dlg.Tooltip(), nullptr);
    ASSERT_NE(ShowTooltip(), nullptr);
    m_clock.AdvanceMs(19000);
    m_dlg.onTimer(skin::kTickTimerId);
    EXPECT_NE(m_dlg.Tooltip(), nullptr);
    m_clock.AdvanceMs(1100);
    m_dlg.onTimer(skin::kTickTimerId);
    EXPECT_EQ(m_dlg.Tooltip(), nullptr);
}

TEST_F(DialogTooltip, ClickOnTheLinkOpensItThroughThePlatformServices) {
    HeadlessPlatformServices services;
    InstallPlatformServices(&services);
    m_dlg.Open();
    CSkinTooltip_windows* tip = ShowTooltip();
    ASSERT_NE(tip, nullptr);
    const plat::Rect link = tip->LinkRect();
    tip->onLButtonDown(link.left + 2, link.top + 2);
    EXPECT_EQ(services.OpenedUrls(), (QStringList{u"http://example.test/help"_s}));
    m_dlg.onTimer(skin::kTickTimerId);
    EXPECT_EQ(m_dlg.Tooltip(), nullptr);
    InstallPlatformServices(nullptr);
}

TEST_F(DialogTooltip, StaysInsideTheWorkAreaOfTheScreenUnderThePointer) {
    m_dlg.Open();
    const plat::Rect area = plat::AvailableRectAt({0, 0}); // the test screen, 1280 x 800
    for (const plat::Point cursor : {plat::Point{640, 400}, {1278, 400}, {2, 400}, {640, 798}, {1278, 798}}) {
        CSkinTooltip_windows tip(&m_dlg, u"A tooltip that needs some room on the screen"_s, plat::Rect{});
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
TEST_F(DialogTest, APopupPressOutsideCancelsTheRunUnlessItsResultIsDecided) {
    m_dlg.Open();
    TestDialog popup(&m_dlg, plat::WindowKind::Popup);
    popup.m_framed = false;
    popup.m_captureMode = true;
    popup.m_width = 200;
    popup.m_height = 100;
    QTimer::singleShot(100, [&] {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(-20, 150), QPointF(-20, 150), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(popup.widget(), &press);
    });
    // Never hangs; the guard dies with the popup, so it cannot fire into a later test.
    QTimer::singleShot(3000, popup.widget(), [&] { popup.EndSkinDialog(99); });
    EXPECT_EQ(popup.DoModal(), skin::kResultCancel);
    popup.EndSkinDialog(skin::kResultOk);
    popup.onCancelPopup();
    EXPECT_EQ(popup.Result(), skin::kResultOk);
}

// Sizes and layouts pass by while a dialog opens; it is painted once, at the size it shows with.
TEST(DialogOpening, PaintsOnceAtTheSizeItShowsWith) {
    for (const bool maximized : {false, true}) {
        SCOPED_TRACE(maximized);
        TestDialog dlg;
        skintest::ProbeElement probe;
        dlg.build = [&](TestDialog& d) {
            d.m_startMaximized = maximized;
            probe.Create(&d.m_rootHolder, d.m_nextElementId++);
            probe.SetPosition(10, 40, 50, 20, 0);
            probe.fill = plat::Rgb(1, 2, 3);
        };
        dlg.onInitDialog();
        EXPECT_EQ(probe.draws, 1);
        EXPECT_EQ(skin::HostWindow(dlg).backBuffer().size(), skin::HostWindow(dlg).clientSize());
        EXPECT_EQ(skin::HostWindow(dlg).backBuffer().getPixel(11, 41), plat::Rgb(1, 2, 3));
        EXPECT_EQ(skin::HostWindow(dlg).isMaximized(), maximized);
    }
}

TEST_F(DialogFrame, CaptionButtonsMaximiseRestoreMinimiseAndClose) {
    m_dlg.Open();
    EXPECT_FALSE(Caption(CaptionButton::Restore).m_visible);
    skintest::ClickElement(m_dlg, Caption(CaptionButton::Maximize));
    EXPECT_TRUE(skin::HostWindow(m_dlg).isMaximized());
    EXPECT_TRUE(Caption(CaptionButton::Restore).m_visible);
    EXPECT_FALSE(Caption(CaptionButton::Maximize).m_visible);
    skintest::ClickElement(m_dlg, Caption(CaptionButton::Restore));
    EXPECT_FALSE(skin::HostWindow(m_dlg).isMaximized());
    EXPECT_EQ(m_dlg.m_width, 420);
    skintest::ClickElement(m_dlg, Caption(CaptionButton::Minimize));
    EXPECT_TRUE(skin::HostWindow(m_dlg).isMinimized());
    skin::HostWindow(m_dlg).restore();
    skintest::ClickElement(m_dlg, Caption(CaptionButton::Close));
    EXPECT_EQ(m_dlg.commands, (QStringList{u"Default_maximize"_s, u"Default_restore"_s, u"Default_minimize"_s,
                                           u"Default_close"_s}));
    EXPECT_EQ(m_dlg.Result(), skin::kResultCancel);
}

// In the caption band a double click toggles maximise at the following release; on the icon's corner it
// closes a dialog without a parent only.
TEST_F(DialogFrame, CaptionDoubleClick) {
    m_dlg.Open();
    m_dlg.onLButtonDblClk(200, 12);
    EXPECT_FALSE(skin::HostWindow(m_dlg).isMaximized());
    m_dlg.onLButtonUp(200, 12);
    EXPECT_TRUE(skin::HostWindow(m_dlg).isMaximized());
    TestDialog child(&m_dlg);
    child.Open();
    child.onLButtonDblClk(10, 10);
    EXPECT_EQ(child.Result(), 0);
    m_dlg.onLButtonDblClk(10, 10);
    EXPECT_EQ(m_dlg.Result(), skin::kResultCancel);
}

// A press in the caption band moves the window; one on the right border resizes it down to the minimum width
// (the bounds of a step are border_drag's); the release ends either.
TEST_F(DialogFrame, CaptionAndBorderDrags) {
    m_dlg.m_minWidth = 350;
    m_dlg.Open();
    const plat::Rect before = skin::HostWindow(m_dlg).windowRect();
    const plat::Point cursor = plat::CursorPos();
    m_dlg.onLButtonDown(150, 12);
    ASSERT_EQ(m_dlg.Pointer().Mode(), skin::PointerMode::Moving);
    m_dlg.Frame().MoveStep({cursor.x - 40, cursor.y + 25});
    EXPECT_EQ(skin::HostWindow(m_dlg).windowRect(), before.translated(-40, 25));
    m_dlg.onLButtonUp(150, 12);
    const plat::Rect moved = skin::HostWindow(m_dlg).windowRect();
    m_dlg.onLButtonDown(419, 130);
    ASSERT_EQ(m_dlg.Pointer().Mode(), skin::PointerMode::Resizing);
    m_dlg.Frame().ResizeStep({moved.right + 60, 400});
    EXPECT_EQ(m_dlg.m_width, 480);
    EXPECT_EQ(Caption(CaptionButton::Close).m_x, 480 - 26);
    m_dlg.Frame().ResizeStep({moved.left - 500, 400});
    EXPECT_EQ(skin::HostWindow(m_dlg).windowRect().width(), 350);
    m_dlg.onLButtonUp(0, 130);
    EXPECT_EQ(m_dlg.Pointer().Mode(), skin::PointerMode::Idle);
    EXPECT_TRUE(m_dlg.commands.isEmpty());
}

TEST_F(DialogFrame, SetTitleKeepsThePlainTextAndNeverNestsMarkup) {
    m_dlg.Open();
    m_dlg.SetTitle(u"Tarnwick 2.0 :: Options"_s);
    m_dlg.SetTitle(m_dlg.Title());
    EXPECT_EQ(m_dlg.Title(), u"Tarnwick 2.0 :: Options"_s);
    EXPECT_EQ(skin::HostWindow(m_dlg).windowText(), u"Tarnwick 2.0 :: Options"_s);
}

// Without a system tray a minimised window stays reachable; from the tray icon it comes back maximised again
// if it was maximised.
TEST_F(DialogFrame, MinimiseToTrayKeepsTheWindowReachableAndItsMaximisedState) {
    m_dlg.m_minimizeToTray = true;
    m_dlg.Open();
    ASSERT_FALSE(plat::IsSystemTrayAvailable());
    skin::HostWindow(m_dlg).maximize();
    skin::HostWindow(m_dlg).minimize();
    EXPECT_FALSE(skin::HostWindow(m_dlg).hasTrayIcon());
    EXPECT_TRUE(skin::HostWindow(m_dlg).isVisible());
    m_dlg.onTrayIcon(plat::TrayClick::Left);
    EXPECT_FALSE(skin::HostWindow(m_dlg).isMinimized());
    EXPECT_TRUE(skin::HostWindow(m_dlg).isMaximized());
    EXPECT_TRUE(Caption(CaptionButton::Restore).m_visible);
}

// Dropped text reaches the element under the pointer, strictly inside it; a press on an element that offers
// its text arms a drag instead of taking the capture.
TEST_F(DialogDrops, TextDropsAndDrags) {
    m_target.dragText = u"keyword — ключ"_s;
    m_dlg.Open();
    const plat::Point p = skintest::Centre(m_target);
    const plat::Point elsewhere = skintest::Centre(m_tipped);
    EXPECT_TRUE(m_dlg.onDragOver(p.x, p.y));
    EXPECT_FALSE(m_dlg.onDragOver(elsewhere.x, elsewhere.y));
    const QString text = u"Grüße, 日本語 — ключ"_s;
    m_dlg.onDrop(p.x, p.y, text);
    EXPECT_EQ(m_target.dropped, text);
    EXPECT_EQ(m_target.dropAt.x, p.x - 20);
    EXPECT_FALSE(m_dlg.DropTextAt(20, 130, nullptr)) << "the edge itself is outside";
    for (const plat::Point at : {p, elsewhere}) {
        m_dlg.onLButtonDown(at.x, at.y);
        EXPECT_EQ(m_dlg.Pointer().Mode() == skin::PointerMode::DragArmed, at == p);
        EXPECT_EQ(skin::HostWindow(m_dlg).hasCapture(), at != p);
        m_dlg.onLButtonUp(at.x, at.y);
    }
    QString offered;
    EXPECT_TRUE(m_dlg.BeginDragAt(p.x, p.y, &offered));
    EXPECT_EQ(offered, m_target.dragText);
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
    for (int i = 0; i < 100; ++i)
        dlg.onMouseWheel(-120, 50, 60);
    EXPECT_EQ(list.m_scrollY, 50 * 20 + 4 - 100);
}

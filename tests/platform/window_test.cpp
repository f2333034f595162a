#include "platform/compositor.h"
#include "platform/keys.h"
#include "platform/screens.h"
#include "tests/platform/recording_window.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMimeData>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using plat::Rect;
using twtest::RecordingWindow;
using twtest::waitUntil;

namespace {

Rect availableOf(const QScreen* screen) {
    const QRect r = screen->availableGeometry();
    return Rect::fromXywh(r.x(), r.y(), r.width(), r.height());
}

} // namespace

TEST(WindowTimers, DeliveredByIdUntilKilled) {
    RecordingWindow w;
    w.setTimer(0x7F000003u, 10);
    w.setTimer(5, 15);
    EXPECT_TRUE(w.hasTimer(5));
    ASSERT_TRUE(waitUntil([&] {
        return std::count(w.timers.begin(), w.timers.end(), 0x7F000003u) >= 3 &&
               std::count(w.timers.begin(), w.timers.end(), 5u) >= 2;
    }));
    w.killTimer(0x7F000003u);
    w.killTimer(5);
    EXPECT_FALSE(w.hasTimer(5));
    const size_t seen = w.timers.size();
    QTest::qWait(60);
    EXPECT_EQ(w.timers.size(), seen);
}

TEST(WindowTimers, SettingAnIdAgainRestartsItAndAHandlerMayKillItsOwnTimer) {
    RecordingWindow w;
    w.timerAction = [](RecordingWindow& self, unsigned id) { self.killTimer(id); };
    w.setTimer(1, 500);
    w.setTimer(1, 10); // replaces the 500-ms period
    ASSERT_TRUE(waitUntil([&] { return !w.timers.empty(); }, 300));
    QTest::qWait(50);
    EXPECT_EQ(w.timers.size(), 1u);
    EXPECT_FALSE(w.hasTimer(1));
}

TEST(WindowModal, EndedFromATimerReturnsTheCode) {
    RecordingWindow w;
    w.initAction = [](RecordingWindow& self) {
        self.resize(300, 200);
        self.setTimer(0x7F000003u, 50);
    };
    w.timerAction = [](RecordingWindow& self, unsigned) { self.endDialog(42); };
    EXPECT_EQ(w.doModal(), 42);
    EXPECT_EQ(w.inits, 1);
    EXPECT_EQ(w.destroys, 1);
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.isInModalLoop());
    // The window is gone: its timers with it.
    EXPECT_FALSE(w.hasTimer(0x7F000003u));
    // It can run again.
    EXPECT_EQ(w.doModal(), 42);
    EXPECT_EQ(w.inits, 2);
}

TEST(WindowModal, EndedDuringInitialisationNeverShows) {
    RecordingWindow w;
    bool shown = false;
    w.initAction = [&](RecordingWindow& self) {
        self.endDialog(7);
        shown = self.isVisible();
    };
    EXPECT_EQ(w.doModal(), 7);
    EXPECT_FALSE(shown);
    EXPECT_EQ(w.destroys, 1);
}

TEST(WindowModal, ChildRunsInsideItsParentsRunAndBlocksTheParent) {
    RecordingWindow parent;
    int childResult = 0;
    bool parentBlocked = false;
    parent.initAction = [](RecordingWindow& self) {
        self.resize(400, 300);
        self.setTimer(1, 20);
    };
    parent.timerAction = [&](RecordingWindow& self, unsigned) {
        self.killTimer(1);
        RecordingWindow child(&self);
        child.initAction = [](RecordingWindow& c) {
            c.resize(200, 100);
            c.centerOnParent();
            c.show();
            c.setTimer(2, 30);
        };
        child.timerAction = [&](RecordingWindow& c, unsigned) {
            parentBlocked = QApplication::activeModalWidget() == c.widget();
            c.endDialog(6);
        };
        childResult = child.doModal();
        self.endDialog(1);
    };
    EXPECT_EQ(parent.doModal(), 1);
    EXPECT_EQ(childResult, 6);
    EXPECT_TRUE(parentBlocked);
}

class WindowPlacement : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(QGuiApplication::screens().size(), 2); }
    QScreen* primary() { return QGuiApplication::screens()[0]; }
    QScreen* second() { return QGuiApplication::screens()[1]; }
};

TEST_F(WindowPlacement, MaximiseFillsTheWorkAreaOfItsOwnScreenAndRestoreGoesBack) {
    for (const auto& [placed, screen] : {std::pair{Rect::fromXywh(100, 80, 600, 500), primary()},
                                         std::pair{Rect::fromXywh(1400, 100, 400, 300), second()}}) {
        SCOPED_TRACE(screen->name().toStdString());
        RecordingWindow w;
        w.setGeometry(placed);
        w.show();
        w.maximize();
        EXPECT_TRUE(w.isMaximized());
        EXPECT_EQ(w.windowRect(), availableOf(screen));
        EXPECT_EQ(w.workArea(), availableOf(screen));
        ASSERT_FALSE(w.sizes.empty());
        EXPECT_EQ(w.sizes.back().type, plat::SizeType::Maximized);
        EXPECT_EQ(w.sizes.back().height, availableOf(screen).height());
        w.restore();
        EXPECT_FALSE(w.isMaximized());
        EXPECT_EQ(w.windowRect(), placed);
        EXPECT_EQ(w.sizes.back().type, plat::SizeType::Restored);
        EXPECT_EQ(w.sizes.back().width, placed.width());
    }
}

TEST_F(WindowPlacement, MinimiseAndRestoreReportTheirSizeTypes) {
    RecordingWindow w;
    w.setGeometry(Rect::fromXywh(50, 50, 300, 200));
    w.show();
    w.sizes.clear();
    w.minimize();
    EXPECT_TRUE(w.isMinimized());
    ASSERT_EQ(w.sizes.size(), 1u);
    EXPECT_EQ(w.sizes[0].type, plat::SizeType::Minimized);
    w.minimize(); // already minimised: nothing new
    EXPECT_EQ(w.sizes.size(), 1u);
    w.restore();
    EXPECT_FALSE(w.isMinimized());
    EXPECT_EQ(w.sizes.back().type, plat::SizeType::Restored);
    // Restoring a minimised, maximised window brings it back maximised.
    w.maximize();
    w.minimize();
    w.restore();
    EXPECT_TRUE(w.isMaximized());
    EXPECT_EQ(w.sizes.back().type, plat::SizeType::Maximized);
}

// Where a window may stand is worked out in KeepReachable; here: placing and moving go through it.
TEST_F(WindowPlacement, NeverPlacedOffEveryScreen) {
    RecordingWindow w;
    w.setGeometry(Rect::fromXywh(-5000, -4000, 600, 500));
    EXPECT_EQ(w.windowRect(), Rect::fromXywh(0, 0, 600, 500));
    w.move(9000, 200);
    EXPECT_EQ(w.windowRect().right, availableOf(second()).right);
    w.show();
    w.move(100, -300); // caption above the top edge: pulled back
    EXPECT_EQ(w.windowRect().top, 0);
}

TEST_F(WindowPlacement, SizeChangesReachTheHandlerOnceEvenWhileHidden) {
    RecordingWindow w;
    w.resize(320, 240);
    ASSERT_EQ(w.sizes.size(), 1u);
    EXPECT_EQ(w.sizes[0].width, 320);
    EXPECT_EQ(w.sizes[0].type, plat::SizeType::Restored);
    w.move(10, 10);
    w.show();
    QTest::qWait(20);
    // Moving and showing keep the size: no second call.
    EXPECT_EQ(w.sizes.size(), 1u);
}

TEST_F(WindowPlacement, CentredOnItsParentAndKeptOnItsScreen) {
    RecordingWindow parent;
    parent.setGeometry(Rect::fromXywh(200, 100, 800, 600));
    RecordingWindow child(&parent);
    child.resize(300, 200);
    child.centerOnParent();
    EXPECT_EQ(child.windowRect(), Rect::fromXywh(450, 300, 300, 200));
    // A wide child over a parent at the screen's left edge stays on the screen.
    parent.setGeometry(Rect::fromXywh(0, 0, 200, 200));
    child.resize(600, 100);
    child.centerOnParent();
    EXPECT_EQ(child.windowRect().left, 0);
    // Without a parent: centred on the work area.
    RecordingWindow alone;
    alone.resize(280, 200);
    alone.centerOnParent();
    EXPECT_EQ(alone.windowRect(), Rect::fromXywh(500, 300, 280, 200));
}

TEST(WindowPainting, PaintComposesTheBackBufferAtTheWindowSize) {
    RecordingWindow w;
    w.resize(120, 80);
    w.redrawNow(); // hidden: only the back buffer
    EXPECT_EQ(w.paints, 1);
    EXPECT_EQ(w.backBuffer().size(), (plat::Size{120, 80}));
    EXPECT_EQ(w.backBuffer().getPixel(119, 79), plat::rgb(10, 20, 30));
    w.resize(200, 90);
    w.redrawNow();
    EXPECT_EQ(w.backBuffer().size(), (plat::Size{200, 90}));
    EXPECT_EQ(w.backBuffer().getPixel(199, 89), plat::rgb(10, 20, 30));
}

TEST(WindowPainting, ShownWindowShowsTheBackBuffer) {
    RecordingWindow w;
    ASSERT_TRUE(w.showAt(Rect::fromXywh(40, 40, 100, 60)));
    ASSERT_TRUE(waitUntil([&] { return w.paints > 0; }));
    const int before = w.paints;
    w.paintColor = plat::rgb(200, 0, 0);
    w.invalidate();
    ASSERT_TRUE(waitUntil([&] { return w.paints > before; }));
    const QImage shown = w.widget()->grab().toImage();
    EXPECT_EQ(QColor(shown.pixel(50, 30)), QColor(200, 0, 0));
    // Putting part of the back buffer on the screen does not paint again.
    const int painted = w.paints;
    w.backBuffer().fillSolidRect(Rect{0, 0, 10, 10}, plat::rgb(0, 0, 250));
    w.showBackBuffer(Rect{0, 0, 10, 10});
    EXPECT_EQ(w.paints, painted);
}

TEST(WindowRegion, RoundedCornersCutOnlyTheCorners) {
    RecordingWindow w;
    w.resize(100, 60);
    EXPECT_TRUE(w.regionContains(0, 0));
    w.setRoundRectRegion(100, 60, 4, 4);
    for (const plat::Point corner : {plat::Point{0, 0}, {99, 0}, {0, 59}, {99, 59}, {100, 30}})
        EXPECT_FALSE(w.regionContains(corner.x, corner.y)) << corner.x << "," << corner.y;
    for (const plat::Point inside : {plat::Point{1, 0}, {0, 1}, {50, 30}, {98, 59}})
        EXPECT_TRUE(w.regionContains(inside.x, inside.y)) << inside.x << "," << inside.y;
    w.clearRegion();
    EXPECT_TRUE(w.regionContains(0, 0));
}

TEST(WindowMouse, EventsReachTheHandlersInClientCoordinates) {
    RecordingWindow w;
    ASSERT_TRUE(w.showAt(Rect::fromXywh(100, 100, 200, 150)));
    QTest::mousePress(w.widget(), Qt::LeftButton, {}, QPoint(10, 20));
    QTest::mouseRelease(w.widget(), Qt::LeftButton, {}, QPoint(11, 21));
    QTest::mouseDClick(w.widget(), Qt::LeftButton, {}, QPoint(12, 22));
    QTest::mouseClick(w.widget(), Qt::RightButton, {}, QPoint(30, 40));
    ASSERT_GE(w.mouse.size(), 5u);
    QStringList seen;
    for (const auto& call : w.mouse)
        if (call.what != u"move"_s)
            seen << call.what;
    EXPECT_TRUE(seen.join(u',').contains(u"ldown,lup"_s));
    EXPECT_TRUE(seen.contains(u"ldbl"_s));
    EXPECT_TRUE(seen.join(u',').endsWith(u"rdown,rup"_s));
    EXPECT_EQ(w.mouse.front().x, 10);
    EXPECT_EQ(w.mouse.front().y, 20);
}

TEST(WindowMouse, CaptureRoutesOtherWindowsMouseToTheCapturingWindow) {
    RecordingWindow a, b;
    ASSERT_TRUE(a.showAt(Rect::fromXywh(100, 100, 200, 150)));
    ASSERT_TRUE(b.showAt(Rect::fromXywh(500, 300, 200, 150)));
    a.setCapture();
    EXPECT_EQ(plat::Window::captureWindow(), &a);
    QTest::mouseClick(b.widget(), Qt::LeftButton, {}, QPoint(10, 10));
    const auto down =
        std::find_if(a.mouse.begin(), a.mouse.end(), [](const auto& c) { return c.what == u"ldown"_s; });
    ASSERT_NE(down, a.mouse.end());
    // (510, 310) on the screen is (410, 210) in a's client area: outside it, as a popup needs to know.
    EXPECT_EQ(down->x, 410);
    EXPECT_EQ(down->y, 210);
    EXPECT_EQ(b.mouseCalls(u"ldown"_s), 0);
    a.releaseCapture();
    EXPECT_FALSE(a.hasCapture());
    QTest::mouseClick(b.widget(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(b.mouseCalls(u"ldown"_s), 1);
    EXPECT_EQ(a.mouseCalls(u"ldown"_s), 1);
    // Hiding the capturing window gives the capture up.
    a.setCapture();
    a.hide();
    EXPECT_EQ(plat::Window::captureWindow(), nullptr);
}

TEST(WindowMouse, WheelReportsNotchesOf120) {
    RecordingWindow w;
    ASSERT_TRUE(w.showAt(Rect::fromXywh(100, 100, 200, 150)));
    QWheelEvent wheel(QPointF(20, 30), QPointF(120, 130), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w.widget(), &wheel);
    ASSERT_FALSE(w.mouse.empty());
    EXPECT_EQ(w.mouse.back().what, u"wheel-120"_s);
    EXPECT_EQ(w.mouse.back().x, 20);
}

class WindowKeys : public ::testing::Test {
  protected:
    void SetUp() override {
        w.setGeometry(Rect::fromXywh(100, 100, 200, 150));
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.widget()));
    }
    RecordingWindow w;
};

TEST_F(WindowKeys, TabAndShiftTabReachTheWindowNotQtsFocusChain) {
    QTest::keyClick(w.widget(), Qt::Key_Tab);
    QTest::keyClick(w.widget(), Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_EQ(w.keys.size(), 4u);
    EXPECT_TRUE(w.keys[0].down);
    EXPECT_EQ(w.keys[0].key, plat::kKeyTab);
    EXPECT_EQ(w.keys[0].modifiers, plat::kModNone);
    EXPECT_FALSE(w.keys[1].down);
    EXPECT_EQ(w.keys[2].key, plat::kKeyTab);
    EXPECT_EQ(w.keys[2].modifiers, plat::kModShift);
}

TEST_F(WindowKeys, KeysAreMappedAndCharactersFollowUnhandledKeys) {
    QTest::keyClick(w.widget(), Qt::Key_Return);
    QTest::keyClick(w.widget(), Qt::Key_Escape);
    QTest::keyClick(w.widget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(w.widget(), u"xY"_s);
    ASSERT_GE(w.keys.size(), 6u);
    EXPECT_EQ(w.keys[0].key, plat::kKeyEnter);
    EXPECT_EQ(w.keys[2].key, plat::kKeyEscape);
    EXPECT_EQ(w.keys[4].key, 'A');
    EXPECT_EQ(w.keys[4].modifiers, plat::kModControl);
    EXPECT_EQ(w.chars, u"xY"_s);
    w.handleKeys = true;
    QTest::keyClick(w.widget(), Qt::Key_Z);
    EXPECT_EQ(w.chars, u"xY"_s); // a handled key sends no character
}

TEST_F(WindowKeys, AutoRepeatIsFlaggedBothWays) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier, QString(), true);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(w.widget(), &press);
    QApplication::sendEvent(w.widget(), &release);
    ASSERT_EQ(w.keys.size(), 2u);
    EXPECT_EQ(w.keys[0].key, plat::kKeyDown);
    EXPECT_TRUE(w.keys[0].autoRepeat);
    EXPECT_TRUE(w.keys[1].autoRepeat);
    EXPECT_FALSE(w.keys[1].down);
}

TEST_F(WindowKeys, F1AsksForHelpUnlessTheKeyWasHandled) {
    QTest::keyClick(w.widget(), Qt::Key_F1);
    EXPECT_EQ(w.helps, 1);
    EXPECT_EQ(w.keys[0].key, plat::kKeyF1);
    w.handleKeys = true;
    QTest::keyClick(w.widget(), Qt::Key_F1);
    EXPECT_EQ(w.helps, 1);
}

TEST_F(WindowKeys, CloseRequestLeavesTheDecisionToTheWindow) {
    w.widget()->close();
    EXPECT_EQ(w.closes, 1);
    EXPECT_TRUE(w.isVisible());
}

TEST(WindowTooltip, NeverTakesTheFocusOrTheKeys) {
    RecordingWindow dialog;
    ASSERT_TRUE(dialog.showAt(Rect::fromXywh(100, 100, 300, 200)));
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.widget()));
    dialog.setFocus();
    RecordingWindow tip(&dialog, plat::WindowKind::Tooltip);
    ASSERT_TRUE(tip.showAt(Rect::fromXywh(150, 150, 120, 40)));
    QTest::qWait(20);
    EXPECT_EQ(QApplication::activeWindow(), dialog.widget());
    EXPECT_EQ(QApplication::focusWidget(), dialog.widget());
    EXPECT_FALSE(tip.isActive());
    EXPECT_EQ(dialog.focusLosses, 0);
    EXPECT_EQ(plat::Window::captureWindow(), nullptr);
    // Typing goes on into the dialog.
    QTest::keyClicks(QApplication::focusWidget(), u"ok"_s);
    EXPECT_EQ(dialog.chars, u"ok"_s);
    EXPECT_TRUE(tip.keys.empty());
}

TEST(WindowDrop, UnicodeTextReachesTheDropHandler) {
    RecordingWindow w;
    w.acceptDrops(true);
    ASSERT_TRUE(w.showAt(Rect::fromXywh(100, 100, 200, 150)));
    const QString text = u"Grüße, 東京 – “quoted” keyword"_s;
    QMimeData data;
    data.setText(text);
    QDragEnterEvent enter(QPoint(30, 40), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w.widget(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_EQ(enter.dropAction(), Qt::CopyAction);
    EXPECT_EQ(w.dragEnters, 1);
    QDropEvent drop(QPointF(30, 40), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w.widget(), &drop);
    ASSERT_EQ(w.drops.size(), 1);
    EXPECT_EQ(w.drops[0], text);
    EXPECT_EQ(w.dropPoint, (plat::Point{30, 40}));
    EXPECT_TRUE(drop.isAccepted());
    // A spot that takes no text refuses the drag, and a refused drop is not taken.
    w.acceptDrop = false;
    QDragMoveEvent move(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w.widget(), &move);
    EXPECT_FALSE(move.isAccepted());
    QDropEvent refused(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w.widget(), &refused);
    EXPECT_FALSE(refused.isAccepted());
    // Something that is not text is not offered at all.
    QMimeData image;
    image.setData(u"image/png"_s, QByteArray("\x89PNG"));
    QDragEnterEvent other(QPoint(30, 40), Qt::CopyAction, &image, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w.widget(), &other);
    EXPECT_FALSE(other.isAccepted());
}

TEST(WindowTaskbar, HiddenFromTheTaskbarWhenShownNext) {
    RecordingWindow w;
    w.setShowInTaskbar(false);
    w.resize(100, 100);
    w.show();
    EXPECT_EQ(w.widget()->windowFlags() & Qt::WindowType_Mask, Qt::Tool);
    w.hide();
    w.setShowInTaskbar(true);
    w.show();
    EXPECT_EQ(w.widget()->windowFlags() & Qt::WindowType_Mask, Qt::Window);
}

TEST(WindowTray, WithoutASystemTrayTheCallerIsTold) {
    RecordingWindow w;
    if (plat::isSystemTrayAvailable())
        GTEST_SKIP() << "this desktop has a system tray";
    EXPECT_FALSE(w.addTrayIcon(u"Tarnwick 2.0"_s));
    EXPECT_FALSE(w.hasTrayIcon());
}

// (The offscreen platform activates every shown window but tooltips, so activation is not checked here;
// layered windows are made only where translucentWindowsAvailable, which offscreen is not.)
TEST(WindowLayered, TranslucentClickThroughAndNeverFocused) {
    RecordingWindow dialog;
    ASSERT_TRUE(dialog.showAt(Rect::fromXywh(100, 100, 300, 200)));
    RecordingWindow shadow(&dialog, plat::WindowKind::Layered);
    shadow.setGeometry(Rect::fromXywh(108, 108, 300, 200));
    shadow.showNoActivate();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(shadow.widget()));
    EXPECT_TRUE(shadow.widget()->testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_TRUE(shadow.widget()->windowFlags() & Qt::WindowTransparentForInput);
    EXPECT_TRUE(shadow.widget()->windowFlags() & Qt::WindowDoesNotAcceptFocus);
    EXPECT_TRUE(shadow.widget()->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_EQ(shadow.widget()->focusPolicy(), Qt::NoFocus);
}

TEST(WindowActivation, ActivationChangesReachBothWindows) {
    struct Tracking : RecordingWindow {
        void onActivate(bool active) override { changes.push_back(active); }
        std::vector<bool> changes;
    };
    Tracking first, second;
    first.setGeometry(Rect::fromXywh(50, 50, 200, 100));
    second.setGeometry(Rect::fromXywh(400, 50, 200, 100));
    first.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(first.widget()));
    ASSERT_FALSE(first.changes.empty());
    EXPECT_TRUE(first.changes.back());
    EXPECT_TRUE(first.isActive());
    second.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(second.widget()));
    EXPECT_FALSE(first.changes.back());
    EXPECT_FALSE(first.isActive());
    EXPECT_TRUE(second.changes.back());
}

TEST(Compositor, OffscreenHasNoTranslucentWindows) {
    if (QGuiApplication::platformName() != u"offscreen"_s)
        GTEST_SKIP() << "only the offscreen answer is known in advance";
    EXPECT_FALSE(plat::translucentWindowsAvailable());
}

#include "platform/first_expose.h"
#include "platform/keys.h"
#include "platform/screens.h"
#include "tests/platform/recording_window.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMimeData>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using plat::Rect;
using twtest::RecordingWindow;
using twtest::WaitUntil;

namespace {

Rect AvailableOf(const QScreen* screen) {
    const QRect r = screen->availableGeometry();
    return Rect::fromXywh(r.x(), r.y(), r.width(), r.height());
}

} // namespace

TEST(WindowTimers, DeliveredByIdUntilKilledEvenFromTheirOwnHandler) {
    RecordingWindow w;
    w.timerAction = [](RecordingWindow& self, unsigned id) {
        if (id == 1)
            self.killTimer(id);
    };
    w.setTimer(1, 500);
    w.setTimer(1, 10); // replaces the 500-ms period
    w.setTimer(5, 15);
    ASSERT_TRUE(WaitUntil([&] { return std::count(w.timers.begin(), w.timers.end(), 5u) >= 2; }));
    EXPECT_EQ(std::count(w.timers.begin(), w.timers.end(), 1u), 1);
    EXPECT_FALSE(w.hasTimer(1));
    w.killTimer(5);
    const size_t seen = w.timers.size();
    QTest::qWait(60);
    EXPECT_EQ(w.timers.size(), seen);
}

TEST(WindowModal, EndsFromATimerOrBeforeItShowsAndAChildRunsInsideItsParentsRunBlockingIt) {
    RecordingWindow parent;
    int childResult = 0;
    bool parentBlocked = false;
    parent.initAction = [](RecordingWindow& self) {
        self.setTimer(1, 20);
        self.setTimer(9, 60000);
    };
    parent.timerAction = [&](RecordingWindow& self, unsigned) {
        self.killTimer(1);
        RecordingWindow child(&self);
        child.initAction = [](RecordingWindow& c) { c.setTimer(2, 30); };
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
    EXPECT_FALSE(parent.isVisible());
    EXPECT_FALSE(parent.hasTimer(9)); // the window is gone: its timers with it
    EXPECT_EQ(parent.destroys, 1);
    // Ended before it shows: it never shows, and it can run again.
    bool shown = true;
    parent.initAction = [&](RecordingWindow& self) {
        self.endDialog(7);
        shown = self.isVisible();
    };
    EXPECT_EQ(parent.doModal(), 7);
    EXPECT_FALSE(shown);
    EXPECT_EQ(parent.destroys, 2);
}

class WindowPlacement : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(QGuiApplication::screens().size(), 2); }
    QScreen* Second() { return QGuiApplication::screens()[1]; }
};

TEST_F(WindowPlacement, MaximisedOnItsOwnScreenThenMinimisedAndRestoredStepByStep) {
    const Rect placed = Rect::fromXywh(1400, 100, 400, 300);
    RecordingWindow w;
    w.setGeometry(placed);
    w.show();
    w.maximize();
    EXPECT_EQ(w.windowRect(), AvailableOf(Second()));
    w.sizes.clear();
    w.minimize();
    w.minimize(); // already minimised: nothing new
    ASSERT_EQ(w.sizes.size(), 1u);
    EXPECT_EQ(w.sizes[0].type, plat::SizeType::Minimized);
    w.restore();
    EXPECT_TRUE(w.isMaximized());
    EXPECT_EQ(w.sizes.back().type, plat::SizeType::Maximized);
    w.restore();
    EXPECT_EQ(w.windowRect(), placed);
    EXPECT_EQ(w.sizes.back().type, plat::SizeType::Restored);
}

TEST_F(WindowPlacement, SizeChangesReachTheHandlerOnceEvenWhileHidden) {
    RecordingWindow w;
    w.resize(320, 240);
    ASSERT_EQ(w.sizes.size(), 1u);
    EXPECT_EQ(w.sizes[0].width, 320);
    w.move(10, 10);
    w.show();
    QTest::qWait(20);
    EXPECT_EQ(w.sizes.size(), 1u); // moving and showing keep the size
}

TEST_F(WindowPlacement, CentredOnItsParentAndKeptOnItsScreen) {
    RecordingWindow parent;
    parent.setGeometry(Rect::fromXywh(200, 100, 800, 600));
    RecordingWindow child(&parent);
    child.resize(300, 200);
    child.centerOnParent();
    EXPECT_EQ(child.windowRect(), Rect::fromXywh(450, 300, 300, 200));
    parent.setGeometry(Rect::fromXywh(0, 0, 200, 200));
    child.resize(600, 100);
    child.centerOnParent();
    EXPECT_EQ(child.windowRect().left, 0);
}

// What the window manager is told (tiling and keyboard resizing keep to it), through a new native window too.
TEST_F(WindowPlacement, SizeLimitsReachTheWindowSystemAndFollowTheProgramsOwnSizes) {
    RecordingWindow resizable;
    resizable.setSizeLimits(true, {500, 400});
    resizable.setGeometry(Rect::fromXywh(50, 50, 300, 200));
    EXPECT_EQ(resizable.windowRect(), Rect::fromXywh(50, 50, 500, 400));
    resizable.show();
    EXPECT_EQ(resizable.widget()->windowHandle()->minimumSize(), QSize(500, 400));
    RecordingWindow fixed;
    fixed.resize(300, 200);
    fixed.setSizeLimits(false, {});
    fixed.resize(320, 180);
    fixed.setShowInTaskbar(false);
    fixed.show();
    EXPECT_EQ(fixed.widget()->windowHandle()->minimumSize(), QSize(320, 180));
    EXPECT_EQ(fixed.widget()->windowHandle()->maximumSize(), QSize(320, 180));
}

TEST(WindowPainting, PaintComposesTheBackBufferAtTheWindowSizeAndShowsIt) {
    RecordingWindow w;
    w.resize(120, 80);
    w.redrawNow(); // hidden: only the back buffer
    EXPECT_EQ(w.paints, 1);
    EXPECT_EQ(w.backBuffer().getPixel(119, 79), plat::Rgb(10, 20, 30));
    ASSERT_TRUE(w.ShowAt(Rect::fromXywh(40, 40, 100, 60)));
    w.paintColor = plat::Rgb(200, 0, 0);
    w.invalidate();
    ASSERT_TRUE(WaitUntil([&] { return w.backBuffer().size() == plat::Size{100, 60} && w.paints > 1; }));
    EXPECT_EQ(QColor(w.widget()->grab().toImage().pixel(50, 30)), QColor(200, 0, 0));
    // Putting part of the back buffer on the screen does not paint again.
    const int painted = w.paints;
    w.showBackBuffer(Rect{0, 0, 10, 10});
    EXPECT_EQ(w.paints, painted);
}

TEST(WindowPainting, TheFirstExposeIsToldOnceAfterTheWindowWasPainted) {
    RecordingWindow w;
    int told = 0, paintsWhenTold = 0;
    plat::FirstExposeWatch watch(w, [&] {
        ++told;
        paintsWhenTold = w.paints;
    });
    ASSERT_TRUE(w.ShowAt(Rect::fromXywh(40, 40, 100, 60)));
    ASSERT_TRUE(WaitUntil([&] { return told > 0; }));
    EXPECT_GE(paintsWhenTold, 1);
    w.hide();
    ASSERT_TRUE(w.ShowAt(Rect::fromXywh(40, 40, 100, 60)));
    QTest::qWait(20);
    EXPECT_EQ(told, 1);
}

TEST(WindowRegion, RoundedCornersCutOnlyTheCorners) {
    RecordingWindow w;
    w.resize(100, 60);
    w.setRoundRectRegion(100, 60, 4, 4);
    for (const plat::Point corner : {plat::Point{0, 0}, {99, 0}, {0, 59}, {99, 59}, {100, 30}})
        EXPECT_FALSE(w.regionContains(corner.x, corner.y)) << corner.x << "," << corner.y;
    for (const plat::Point inside : {plat::Point{1, 0}, {0, 1}, {50, 30}, {98, 59}})
        EXPECT_TRUE(w.regionContains(inside.x, inside.y)) << inside.x << "," << inside.y;
    w.clearRegion();
    EXPECT_TRUE(w.regionContains(0, 0));
}

TEST(WindowMouse, CaptureRoutesOtherWindowsMouseToTheCapturingWindowElseEachGetsItsOwn) {
    RecordingWindow a, b;
    ASSERT_TRUE(a.ShowAt(Rect::fromXywh(100, 100, 200, 150)));
    ASSERT_TRUE(b.ShowAt(Rect::fromXywh(500, 300, 200, 150)));
    a.setCapture();
    QTest::mouseClick(b.widget(), Qt::LeftButton, {}, QPoint(10, 10));
    const auto down =
        std::find_if(a.mouse.begin(), a.mouse.end(), [](const auto& c) { return c.what == u"ldown"_s; });
    ASSERT_NE(down, a.mouse.end());
    // (510, 310) on the screen is (410, 210) in a's client area: outside it, as a popup needs to know.
    EXPECT_EQ(down->x, 410);
    EXPECT_EQ(down->y, 210);
    EXPECT_EQ(b.MouseCalls(u"ldown"_s), 0);
    a.releaseCapture();
    QTest::mouseClick(b.widget(), Qt::RightButton, {}, QPoint(10, 20));
    QWheelEvent wheel(QPointF(20, 30), QPointF(520, 330), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(b.widget(), &wheel);
    QStringList seen;
    for (const auto& call : b.mouse)
        if (call.what != u"move"_s)
            seen << u"%1@%2,%3"_s.arg(call.what).arg(call.x).arg(call.y);
    EXPECT_EQ(seen, (QStringList{u"rdown@10,20"_s, u"rup@10,20"_s, u"wheel-120@20,30"_s}));
    // Hiding the capturing window gives the capture up.
    a.setCapture();
    a.hide();
    EXPECT_EQ(plat::Window::captureWindow(), nullptr);
}

TEST(WindowKeys, MappedKeysTabIncludedReachTheWindowAndCharactersAndHelpFollowUnhandledKeys) {
    RecordingWindow w;
    ASSERT_TRUE(w.ShowAt(Rect::fromXywh(100, 100, 200, 150)));
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.widget()));
    QTest::keyClick(w.widget(), Qt::Key_Backtab, Qt::ShiftModifier); // not Qt's focus chain
    QTest::keyClick(w.widget(), Qt::Key_Return);
    QTest::keyClick(w.widget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(w.widget(), u"xY"_s);
    QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(w.widget(), &repeat);
    ASSERT_EQ(w.keys.size(), 11u);
    EXPECT_EQ(w.keys[0].key, plat::kKeyTab);
    EXPECT_EQ(w.keys[0].modifiers, plat::kModShift);
    EXPECT_FALSE(w.keys[1].down);
    EXPECT_EQ(w.keys[2].key, plat::kKeyEnter);
    EXPECT_EQ(w.keys[4].key, 'A');
    EXPECT_EQ(w.keys[4].modifiers, plat::kModControl);
    EXPECT_EQ(w.chars, u"xY"_s); // Ctrl+A types nothing
    EXPECT_EQ(w.keys[10].key, plat::kKeyDown);
    EXPECT_TRUE(w.keys[10].autoRepeat);
    QTest::keyClick(w.widget(), Qt::Key_F1);
    EXPECT_EQ(w.helps, 1);
    w.handleKeys = true;
    QTest::keyClick(w.widget(), Qt::Key_Z);
    QTest::keyClick(w.widget(), Qt::Key_F1);
    EXPECT_EQ(w.chars, u"xY"_s); // a handled key sends no character
    EXPECT_EQ(w.helps, 1);       // nor asks for help
    w.widget()->close();
    EXPECT_EQ(w.closes, 1);
    EXPECT_TRUE(w.isVisible()); // the window decides whether it closes
}

TEST(WindowTooltip, NeverTakesTheFocusOrTheKeys) {
    RecordingWindow dialog;
    ASSERT_TRUE(dialog.ShowAt(Rect::fromXywh(100, 100, 300, 200)));
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.widget()));
    dialog.setFocus();
    RecordingWindow tip(&dialog, plat::WindowKind::Tooltip);
    ASSERT_TRUE(tip.ShowAt(Rect::fromXywh(150, 150, 120, 40)));
    QTest::qWait(20);
    EXPECT_EQ(QApplication::activeWindow(), dialog.widget());
    EXPECT_EQ(dialog.focusLosses, 0);
    QTest::keyClicks(QApplication::focusWidget(), u"ok"_s);
    EXPECT_EQ(dialog.chars, u"ok"_s);
    EXPECT_TRUE(tip.keys.empty());
}

// Presses and keys go through the window system here (QTest's window overloads), where the popup's grab
// applies; the widget overloads would hand them straight to the widget.
TEST(WindowPopup, DismissedByAPressOutsideEscOrAnotherWindowAndNothingLeaksToTheDialog) {
    RecordingWindow dialog;
    ASSERT_TRUE(dialog.ShowAt(Rect::fromXywh(100, 100, 400, 300)));
    RecordingWindow popup(&dialog, plat::WindowKind::Popup);
    const auto open = [&] { return popup.ShowAt(Rect::fromXywh(150, 150, 120, 80)); };
    ASSERT_TRUE(open());
    EXPECT_EQ(popup.widget()->windowFlags() & Qt::WindowType_Mask, Qt::Popup); // never framed
    QTest::mouseClick(popup.widget()->windowHandle(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(popup.MouseCalls(u"ldown"_s), 1);
    EXPECT_EQ(popup.cancels, 0);
    QTest::mouseClick(dialog.widget()->windowHandle(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(popup.cancels, 1);
    EXPECT_FALSE(popup.isVisible());
    ASSERT_TRUE(open());
    QTest::keyClick(popup.widget()->windowHandle(), Qt::Key_Escape);
    EXPECT_EQ(popup.cancels, 2);
    EXPECT_FALSE(popup.isVisible());
    EXPECT_EQ(dialog.MouseCalls(u"ldown"_s) + dialog.MouseCalls(u"lup"_s), 0);
    EXPECT_TRUE(dialog.keys.empty());
    ASSERT_TRUE(open());
    RecordingWindow other;
    ASSERT_TRUE(other.ShowAt(Rect::fromXywh(600, 100, 200, 100)));
    EXPECT_TRUE(WaitUntil([&] { return popup.cancels == 3; }));
    EXPECT_FALSE(popup.isVisible());
    // A popup in a modal run ends it.
    popup.initAction = [&](RecordingWindow& self) {
        open();
        QTimer::singleShot(10, [&] { QTest::keyClick(self.widget()->windowHandle(), Qt::Key_Escape); });
    };
    EXPECT_EQ(popup.doModal(), 0);
    EXPECT_EQ(popup.cancels, 4);
}

TEST(WindowDrop, UnicodeTextReachesTheDropHandlerAndARefusedSpotTakesNothing) {
    RecordingWindow w;
    w.acceptDrops(true);
    ASSERT_TRUE(w.ShowAt(Rect::fromXywh(100, 100, 200, 150)));
    const QString text = u"Grüße, 東京 – “quoted” keyword"_s;
    QMimeData data;
    data.setText(text);
    QDragEnterEvent enter(QPoint(30, 40), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w.widget(), &enter);
    EXPECT_EQ(enter.dropAction(), Qt::CopyAction);
    QDropEvent drop(QPointF(30, 40), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w.widget(), &drop);
    EXPECT_EQ(w.drops, QStringList{text});
    EXPECT_EQ(w.dropPoint, (plat::Point{30, 40}));
    w.acceptDrop = false;
    QDragMoveEvent move(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w.widget(), &move);
    EXPECT_FALSE(move.isAccepted());
}

// A popup that goes inside its own press handler (a choice that closes what showed it) goes once the event
// is over, and nothing more reaches it.
TEST(WindowLifetime, DeletedInsideItsOwnHandler) {
    struct Closing : RecordingWindow {
        using RecordingWindow::RecordingWindow;
        std::function<void()>* onDown = nullptr;
        void onLButtonDown(int, int) override { (*onDown)(); }
    };
    RecordingWindow dialog;
    ASSERT_TRUE(dialog.ShowAt(Rect::fromXywh(100, 100, 400, 300)));
    auto popup = std::make_unique<Closing>(&dialog, plat::WindowKind::Popup);
    std::function<void()> close = [&] { popup.reset(); };
    popup->onDown = &close;
    ASSERT_TRUE(popup->ShowAt(Rect::fromXywh(150, 150, 120, 80)));
    QPointer<QWidget> widget = popup->widget();
    QTest::mouseClick(widget->windowHandle(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(popup, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return widget.isNull(); }));
    EXPECT_EQ(dialog.MouseCalls(u"ldown"_s) + dialog.MouseCalls(u"lup"_s), 0);
}

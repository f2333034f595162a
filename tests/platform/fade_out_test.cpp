#include "platform/fade_out.h"
#include "platform/window.h"
#include "tests/platform/recording_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

// The shown top-level windows that let input through: the fading copies.
std::vector<QWidget*> FadingCopies() {
    std::vector<QWidget*> found;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowFlags().testFlag(Qt::WindowTransparentForInput))
            found.push_back(w);
    return found;
}

} // namespace

// The copy stands where it is told, shows the picture, grows clearer step by step and is gone by itself soon
// after its time; it never takes the focus.
TEST(FadeOut, ACopyFadesAwayAndGoesByItself) {
    QImage picture(60, 40, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::darkBlue);
    plat::FadeOutCopy(plat::Rect::fromXywh(300, 200, 60, 40), picture, 200);
    plat::FadeOutCopy(plat::Rect::fromXywh(300, 200, 60, 40), picture, 0);
    std::vector<QWidget*> copies = FadingCopies();
    ASSERT_EQ(copies.size(), 1u) << "no copy for no time";
    QWidget* copy = copies.front();
    EXPECT_EQ(copy->geometry(), QRect(300, 200, 60, 40));
    EXPECT_EQ(copy->grab().toImage().pixelColor(30, 20), QColor(Qt::darkBlue));
    EXPECT_FALSE(copy->hasFocus());
    QTest::qWait(100);
    ASSERT_EQ(FadingCopies().size(), 1u);
    EXPECT_GT(copy->windowOpacity(), 0.0);
    EXPECT_LT(copy->windowOpacity(), 1.0);
    EXPECT_TRUE(twtest::WaitUntil([] { return FadingCopies().empty(); }));
}

// Without a compositor (the offscreen platform has none) a window hidden fading is hidden at once and leaves
// no copy behind.
TEST(FadeOut, WithoutBlendingTheWindowHidesAtOnce) {
    twtest::RecordingWindow w;
    w.setGeometry(plat::Rect::fromXywh(100, 100, 80, 60));
    w.show();
    w.redrawNow();
    w.hideFading(200);
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(FadingCopies().empty());
}

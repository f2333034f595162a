#include "platform/color.h"
#include "platform/geometry.h"
#include "platform/screens.h"

#include <gtest/gtest.h>

using plat::Rect;

TEST(Rect, RightAndBottomAreOutside) {
    const Rect r{10, 20, 30, 40};
    EXPECT_EQ(r.width(), 20);
    EXPECT_TRUE(r.contains(10, 20));
    EXPECT_TRUE(r.contains(29, 39));
    EXPECT_FALSE(r.contains(30, 39));
    EXPECT_FALSE(r.contains(29, 40));
    EXPECT_EQ(Rect::fromXywh(5, 6, 7, 8), (Rect{5, 6, 12, 14}));
    EXPECT_TRUE((Rect{5, 5, 5, 10}).isEmpty());
    EXPECT_TRUE((Rect{5, 5, 4, 10}).isEmpty());
    EXPECT_FALSE((Rect{5, 5, 5, 10}).contains(5, 5));
}

TEST(Rect, IntersectUniteTranslate) {
    const Rect a{0, 0, 10, 10}, b{5, 5, 20, 20};
    EXPECT_EQ(a.intersected(b), (Rect{5, 5, 10, 10}));
    // Touching edges share no pixel.
    EXPECT_TRUE(a.intersected(Rect{10, 0, 20, 10}).isEmpty());
    EXPECT_EQ(a.united(b), (Rect{0, 0, 20, 20}));
    EXPECT_EQ(a.united(Rect{}), a);
    EXPECT_EQ(Rect{}.united(b), b);
    EXPECT_EQ(a.translated(3, -2), (Rect{3, -2, 13, 8}));
    EXPECT_EQ(a.inflated(1, 2), (Rect{-1, -2, 11, 12}));
}

TEST(Color, PackedAsBlueGreenRedAndPremultiplied) {
    EXPECT_EQ(plat::rgb(0x12, 0x34, 0x56), 0x00563412u);
    EXPECT_EQ(plat::greenOf(plat::rgb(0, 100, 168)), 100);
    // Out-of-range channels keep their low byte only and never spill into a neighbour.
    EXPECT_EQ(plat::rgb(256 + 7, 0, 0), 7u);
    EXPECT_EQ(plat::premultipliedArgb(plat::rgb(0x12, 0x34, 0x56), 255), 0xFF123456u);
    EXPECT_EQ(plat::premultipliedArgb(plat::rgb(255, 255, 255), 0), 0u);
    const std::uint32_t half = plat::premultipliedArgb(plat::rgb(200, 100, 0), 128);
    EXPECT_EQ(half, 0x80643200u);
    const plat::ColorRef back = plat::colorOfArgb(half);
    EXPECT_NEAR(plat::redOf(back), 200, 2);
    EXPECT_NEAR(plat::greenOf(back), 100, 2);
    EXPECT_EQ(plat::colorOfArgb(0), 0u);
    EXPECT_EQ(plat::colorOfArgb(0xFFABCDEFu), plat::rgb(0xAB, 0xCD, 0xEF));
}

TEST(KeepReachable, WindowsWithAGrabbableCaptionStayAndOthersComeBackToTheNearestScreen) {
    // The test desktop: 1280 x 800 and, to its right, 1024 x 768.
    const std::vector<Rect> areas{Rect::fromXywh(0, 0, 1280, 800), Rect::fromXywh(1280, 0, 1024, 768)};
    struct Case {
        Rect placed, expected;
        const char* note;
    };
    const Case cases[] = {
        {Rect::fromXywh(100, 100, 600, 500), Rect::fromXywh(100, 100, 600, 500), "on a screen"},
        {Rect::fromXywh(-500, 10, 600, 500), Rect::fromXywh(-500, 10, 600, 500), "enough caption showing"},
        {Rect::fromXywh(1000, 50, 600, 400), Rect::fromXywh(1000, 50, 600, 400), "across the seam"},
        {Rect::fromXywh(-5000, -5000, 600, 500), Rect::fromXywh(0, 0, 600, 500), "far to the top left"},
        {Rect::fromXywh(9000, 100, 600, 500), Rect::fromXywh(2304 - 600, 100, 600, 500), "far right"},
        {Rect::fromXywh(1500, 780, 300, 200), Rect::fromXywh(1500, 568, 300, 200), "below the short screen"},
        {Rect::fromXywh(200, -10, 400, 300), Rect::fromXywh(200, 0, 400, 300), "caption above the top"},
        {Rect::fromXywh(-580, 100, 600, 300), Rect::fromXywh(0, 100, 600, 300), "20 px of caption"},
        {Rect::fromXywh(-3000, -3000, 2000, 1000), Rect::fromXywh(0, 0, 2000, 1000), "larger than a screen"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        EXPECT_EQ(plat::keepReachable(c.placed, areas), c.expected);
    }
}

TEST(Screens, OffscreenScreensAreTheConfiguredOnes) {
    const std::vector<Rect> areas = plat::availableRects();
    ASSERT_EQ(areas.size(), 2u);
    EXPECT_EQ(areas[1], Rect::fromXywh(1280, 0, 1024, 768));
    EXPECT_EQ(plat::primaryScreenRect(), Rect::fromXywh(0, 0, 1280, 800));
    EXPECT_EQ(plat::virtualDesktopRect(), Rect::fromXywh(0, 0, 2304, 800));
    EXPECT_EQ(plat::availableRectAt(plat::Point{1500, 10}), areas[1]);
    EXPECT_EQ(plat::availableRectAt(plat::Point{-50, 10}), areas[0]);
}

#include "platform/color.h"
#include "platform/geometry.h"
#include "platform/screens.h"

#include <gtest/gtest.h>

using plat::Rect;

// Out-of-range channels keep their low byte only and never spill into a neighbour; premultiplied and back.
TEST(Color, ChannelsStayApartAndSurvivePremultiplying) {
    EXPECT_EQ(plat::Rgb(256 + 7, 0, 0), 7u);
    EXPECT_NEAR(plat::RedOf(plat::ColorOfArgb(plat::PremultipliedArgb(plat::Rgb(200, 100, 0), 128))), 200, 2);
}

TEST(KeepReachable, WindowsWithAGrabbableCaptionStayAndOthersComeBackToTheNearestScreen) {
    // The test desktop: 1280 x 800 and, to its right, 1024 x 768.
    const std::vector<Rect> areas{Rect::fromXywh(0, 0, 1280, 800), Rect::fromXywh(1280, 0, 1024, 768)};
    struct Case {
        Rect placed, expected;
        const char* note;
    };
    const Case cases[] = {
        {Rect::fromXywh(-500, 10, 600, 500), Rect::fromXywh(-500, 10, 600, 500), "enough caption showing"},
        {Rect::fromXywh(1000, 50, 600, 400), Rect::fromXywh(1000, 50, 600, 400), "across the seam"},
        {Rect::fromXywh(-5000, -5000, 600, 500), Rect::fromXywh(0, 0, 600, 500), "far to the top left"},
        {Rect::fromXywh(9000, 100, 600, 500), Rect::fromXywh(2304 - 600, 100, 600, 500), "far right"},
        {Rect::fromXywh(1500, 780, 300, 200), Rect::fromXywh(1500, 568, 300, 200), "below the short screen"},
        {Rect::fromXywh(200, -10, 400, 300), Rect::fromXywh(200, 0, 400, 300), "caption above the top"},
        {Rect::fromXywh(-580, 100, 600, 300), Rect::fromXywh(0, 100, 600, 300), "20 px of caption"},
        {Rect::fromXywh(-3000, -3000, 2000, 1000), Rect::fromXywh(0, 0, 2000, 1000), "larger than a screen"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(plat::KeepReachable(c.placed, areas), c.expected) << c.note;
}

TEST(Screens, APointOffEveryScreenBelongsToTheNearestOne) {
    const std::vector<Rect> areas = plat::AvailableRects();
    ASSERT_EQ(areas.size(), 2u);
    EXPECT_EQ(plat::VirtualDesktopRect(), Rect::fromXywh(0, 0, 2304, 800));
    EXPECT_EQ(plat::AvailableRectAt(plat::Point{1500, 10}), areas[1]);
    EXPECT_EQ(plat::AvailableRectAt(plat::Point{-50, 10}), areas[0]);
}

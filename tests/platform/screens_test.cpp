#include "platform/screens.h"

#include <gtest/gtest.h>

TEST(Screens, OffscreenScreensAreTheConfiguredOnes) {
    const std::vector<plat::Rect> areas = plat::availableRects();
    ASSERT_EQ(areas.size(), 2u);
    EXPECT_EQ(areas[0], plat::Rect::fromXywh(0, 0, 1280, 800));
    EXPECT_EQ(areas[1], plat::Rect::fromXywh(1280, 0, 1024, 768));
}

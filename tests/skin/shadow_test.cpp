#include "platform/device_context.h"
#include "skin/shadow_image.h"
#include "skin/wnd_shadow.h"
#include "tests/skin/skin_test_support.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

std::vector<ShadowSpan> Rectangle(int width, int height) {
    return std::vector<ShadowSpan>(size_t(height), ShadowSpan{0, width});
}

int AlphaAt(const plat::DeviceContext& image, int x, int y) {
    return int(image.pixelArgb(x, y) >> 24);
}

} // namespace

TEST(ShadowImage, ARectangularWindowGetsASoftEdgeOnlyBesideItAndRoundCorners) {
    plat::DeviceContext image;
    const ShadowLook look;
    ASSERT_TRUE(MakeShadowImage(image, Rectangle(600, 500), 600, look));
    ASSERT_EQ(image.width(), 600);
    ASSERT_EQ(image.height(), 500);
    // Placed 8 px right and down, the picture is clear wherever the window covers it.
    EXPECT_EQ(AlphaAt(image, 0, 0), 0);
    EXPECT_EQ(AlphaAt(image, 300, 250), 0);
    EXPECT_EQ(AlphaAt(image, 591, 491), 0);
    // Beside the window the edge fades over 15 px: the outline shrunk by the sharpness, stamped with a
    // kernel that loses a sixteenth of the darkness per pixel.
    EXPECT_EQ(AlphaAt(image, 592, 250), 50);
    EXPECT_EQ(AlphaAt(image, 595, 250), 31);
    EXPECT_EQ(AlphaAt(image, 599, 250), 6);
    EXPECT_EQ(AlphaAt(image, 300, 492), 50);
    EXPECT_EQ(AlphaAt(image, 300, 499), 6);
    // At the bottom-right corner the distance to the shrunk outline's corner (584, 484) counts both ways.
    EXPECT_EQ(AlphaAt(image, 594, 494), int((1.0 - std::hypot(10.0, 10.0) / 16) * 100));
    EXPECT_EQ(AlphaAt(image, 599, 499), 0) << "farther than the radius from the corner";
    // Nothing darker than the darkness anywhere, and every pixel is the black of the colour.
    for (int y = 0; y < image.height(); y += 7) {
        for (int x = 0; x < image.width(); x += 7) {
            const std::uint32_t pixel = image.pixelArgb(x, y);
            EXPECT_LE(int(pixel >> 24), look.darkness);
            EXPECT_EQ(pixel & 0xFFFFFFu, 0u);
        }
    }
}

TEST(ShadowImage, ASolidMiddleShowsWhereTheOffsetUncoversIt) {
    ShadowLook look;
    look.sharpness = 2;
    look.xOffset = 20;
    look.yOffset = 0;
    plat::DeviceContext image;
    ASSERT_TRUE(MakeShadowImage(image, Rectangle(200, 100), 200, look));
    // 20 px to the right: the window covers picture columns up to 180; inside the outline beyond them the
    // shadow is solid.
    EXPECT_EQ(AlphaAt(image, 179, 50), 0);
    EXPECT_EQ(AlphaAt(image, 185, 50), look.darkness);
    EXPECT_LT(AlphaAt(image, 199, 50), look.darkness);
}

TEST(ShadowImage, ASizeGrowsThePictureAroundTheWindow) {
    ShadowLook look;
    look.size = 5;
    look.sharpness = 3;
    plat::DeviceContext image;
    ASSERT_TRUE(MakeShadowImage(image, Rectangle(100, 80), 100, look));
    EXPECT_EQ(image.width(), 110);
    EXPECT_EQ(image.height(), 90);
    EXPECT_GT(AlphaAt(image, 107, 45), 0) << "the shadow reaches beyond the window's right edge";
}

TEST(ShadowImage, FollowsARoundedShapeAndRefusesAnEmptyWindow) {
    std::vector<ShadowSpan> rows = Rectangle(300, 200);
    rows[0] = ShadowSpan{2, 298};
    rows[199] = ShadowSpan{2, 298};
    rows[100] = ShadowSpan{};
    plat::DeviceContext image;
    EXPECT_TRUE(MakeShadowImage(image, rows, 300, ShadowLook{}));
    EXPECT_FALSE(MakeShadowImage(image, {}, 300, ShadowLook{}));
    EXPECT_FALSE(MakeShadowImage(image, Rectangle(0, 10), 0, ShadowLook{}));
}

TEST(WndShadow, WithoutACompositorNoShadowWindowIsMadeAndTheDialogWorksAsBefore) {
    CWndShadow::Initialize();
    ASSERT_FALSE(CWndShadow::Available()) << "the offscreen platform composites nothing";
    EXPECT_FALSE(CWndShadow::Initialize()) << "a second initialisation does nothing";
    skintest::TestDialog dlg;
    dlg.Open();
    EXPECT_EQ(dlg.Shadow().ShadowWindow(), nullptr);
    EXPECT_FALSE(dlg.Shadow().IsShown());
    dlg.onMove(10, 10);
    dlg.onSize(plat::SizeType::Restored, 400, 300);
    EXPECT_FALSE(dlg.Shadow().IsShown());
}

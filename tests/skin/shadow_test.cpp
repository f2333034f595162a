#include "platform/device_context.h"
#include "skin/shadow_image.h"
#include "skin/wnd_shadow.h"

#include <cmath>
#include <gtest/gtest.h>
#include <tuple>
#include <vector>

namespace {

std::vector<ShadowSpan> Rectangle(int width, int height) {
    return std::vector<ShadowSpan>(size_t(height), ShadowSpan{0, width});
}

int AlphaAt(const plat::DeviceContext& image, int x, int y) {
    return int(image.pixelArgb(x, y) >> 24);
}

} // namespace

// Placed 8 px right and down, the picture is clear wherever the window covers it; beside the window the edge
// fades out, at the corner by the distance both ways, and nothing is darker than the darkness or not black.
TEST(ShadowImage, ARectangularWindowGetsASoftEdgeOnlyBesideItAndRoundCorners) {
    plat::DeviceContext image;
    const ShadowLook look;
    ASSERT_TRUE(MakeShadowImage(image, Rectangle(600, 500), 600, look));
    ASSERT_EQ(image.size(), (plat::Size{600, 500}));
    for (const plat::Point p : {plat::Point{0, 0}, {300, 250}, {591, 491}, {599, 499}})
        EXPECT_EQ(AlphaAt(image, p.x, p.y), 0) << p.x << "," << p.y;
    EXPECT_GT(AlphaAt(image, 592, 250), AlphaAt(image, 595, 250));
    EXPECT_GT(AlphaAt(image, 595, 250), AlphaAt(image, 599, 250));
    EXPECT_EQ(AlphaAt(image, 592, 250), AlphaAt(image, 300, 492)) << "the same fade on both sides";
    // At the corner the distance to the shrunk outline's corner (584, 484) counts both ways.
    EXPECT_EQ(AlphaAt(image, 594, 494), int((1.0 - std::hypot(10.0, 10.0) / 16) * 100));
    for (int y = 0; y < image.height(); y += 7) {
        for (int x = 0; x < image.width(); x += 7) {
            const std::uint32_t pixel = image.pixelArgb(x, y);
            EXPECT_LE(int(pixel >> 24), look.darkness);
            EXPECT_EQ(pixel & 0xFFFFFFu, 0u);
        }
    }
}

// Offset 20 px to the right the window uncovers a solid middle; a size grows the picture around the window.
TEST(ShadowImage, OffsetAndSizeShapeThePicture) {
    ShadowLook look;
    look.sharpness = 2;
    look.xOffset = 20;
    look.yOffset = 0;
    plat::DeviceContext image;
    ASSERT_TRUE(MakeShadowImage(image, Rectangle(200, 100), 200, look));
    EXPECT_EQ(AlphaAt(image, 179, 50), 0);
    EXPECT_EQ(AlphaAt(image, 185, 50), look.darkness);
    EXPECT_LT(AlphaAt(image, 199, 50), look.darkness);
    look = ShadowLook{};
    look.size = 5;
    ASSERT_TRUE(MakeShadowImage(image, Rectangle(100, 80), 100, look));
    EXPECT_EQ(image.size(), (plat::Size{110, 90}));
    EXPECT_GT(AlphaAt(image, 107, 45), 0) << "the shadow reaches beyond the window's right edge";
}

TEST(ShadowImage, FollowsARoundedShapeAndRefusesAnEmptyWindow) {
    std::vector<ShadowSpan> rows = Rectangle(300, 200);
    rows[0] = rows[199] = ShadowSpan{2, 298};
    rows[100] = ShadowSpan{};
    plat::DeviceContext image;
    EXPECT_TRUE(MakeShadowImage(image, rows, 300, ShadowLook{}));
    EXPECT_FALSE(MakeShadowImage(image, {}, 300, ShadowLook{}));
    EXPECT_FALSE(MakeShadowImage(image, Rectangle(0, 10), 0, ShadowLook{}));
}

// Each setter keeps to its range: a value out of it is refused and the look stays as it was; the ends of
// every range are taken. Without a shown shadow nothing is rebuilt, and nothing fails.
TEST(ShadowSetters, RefuseValuesOutOfRangeAndKeepTheLook) {
    CWndShadow shadow;
    EXPECT_FALSE(shadow.SetDarkness(256));
    EXPECT_FALSE(shadow.SetDarkness(-1));
    EXPECT_FALSE(shadow.SetSharpness(21));
    EXPECT_FALSE(shadow.SetSharpness(-1));
    EXPECT_FALSE(shadow.SetSize(21));
    EXPECT_FALSE(shadow.SetSize(-21));
    EXPECT_FALSE(shadow.SetPosition(0, 21));
    EXPECT_FALSE(shadow.SetPosition(-21, 0));
    const ShadowLook defaults;
    const ShadowLook& look = shadow.Look();
    EXPECT_EQ(
        std::tuple(look.darkness, look.sharpness, look.size, look.xOffset, look.yOffset),
        std::tuple(defaults.darkness, defaults.sharpness, defaults.size, defaults.xOffset, defaults.yOffset));

    EXPECT_TRUE(shadow.SetDarkness(255));
    EXPECT_TRUE(shadow.SetSharpness(0));
    EXPECT_TRUE(shadow.SetSize(-20));
    EXPECT_TRUE(shadow.SetPosition(20, -20));
    EXPECT_TRUE(shadow.SetColor(plat::Rgb(10, 20, 30)));
    EXPECT_EQ(std::tuple(look.darkness, look.sharpness, look.size, look.xOffset, look.yOffset, look.color),
              std::tuple(255, 0, -20, 20, -20, plat::Rgb(10, 20, 30)));
    EXPECT_FALSE(shadow.IsShown());

    // The look set is the look drawn: the solid part takes the colour at full darkness.
    ASSERT_TRUE(shadow.SetSize(0));
    ASSERT_TRUE(shadow.SetSharpness(2));
    plat::DeviceContext image;
    ASSERT_TRUE(MakeShadowImage(image, Rectangle(100, 80), 100, look));
    EXPECT_EQ(image.pixelArgb(92, 40), plat::PremultipliedArgb(plat::Rgb(10, 20, 30), 255));
}

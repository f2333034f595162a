#include "skin/glow_blur.h"

#include <gtest/gtest.h>

using namespace skin;

namespace {

int At(const QByteArray& plane, int width, int x, int y) {
    return quint8(plane.at(y * width + x));
}

} // namespace

TEST(GlowBlur, GammaCurveEnds) {
    EXPECT_EQ(GlowGamma(0), 0);
    EXPECT_EQ(GlowGamma(255), 255);
    // The curve lifts dark values.
    EXPECT_GT(GlowGamma(64), 64);
}

TEST(GlowBlur, SpreadsASpotSymmetrically) {
    const int w = 41, h = 41;
    QByteArray plane(w * h, '\0');
    plane[20 * w + 20] = char(255);
    const QByteArray out = BlurGlowPlane(plane, w, h);
    ASSERT_EQ(out.size(), plane.size());
    EXPECT_GT(At(out, w, 20, 20), 0);
    EXPECT_GT(At(out, w, 25, 20), 0);
    EXPECT_EQ(At(out, w, 25, 20), At(out, w, 15, 20));
    EXPECT_EQ(At(out, w, 20, 25), At(out, w, 20, 15));
    EXPECT_GE(At(out, w, 20, 20), At(out, w, 24, 20));
    // Twelve passes of a 3 x 3 kernel reach twelve pixels at most.
    EXPECT_EQ(At(out, w, 20 + 13, 20), 0);
}

TEST(GlowBlur, LargeAreasWork) {
    // Text far larger than any fixed work buffer: the plane simply grows with it.
    const int w = 1400, h = 90;
    QByteArray plane(w * h, '\0');
    for (int x = 15; x < w - 20; ++x) {
        plane[40 * w + x] = char(200);
    }
    const QByteArray out = BlurGlowPlane(plane, w, h);
    EXPECT_GT(At(out, w, w - 30, 45), 0);
}

TEST(GlowBlur, DegeneratePlanesComeBackUnchanged) {
    const QByteArray two("\x10\x20", 2);
    EXPECT_EQ(BlurGlowPlane(two, 2, 1), two);
    EXPECT_EQ(BlurGlowPlane(QByteArray(), 10, 10), QByteArray());
}

#include "skin/glow_blur.h"

#include <gtest/gtest.h>

using namespace skin;

TEST(GlowBlur, SpreadsASpotSymmetricallyAndNoFurtherThanItsPasses) {
    const int w = 41, h = 41;
    QByteArray plane(w * h, '\0');
    plane[20 * w + 20] = char(255);
    const QByteArray out = BlurGlowPlane(plane, w, h);
    ASSERT_EQ(out.size(), plane.size());
    const auto at = [&](int x, int y) { return quint8(out.at(y * w + x)); };
    EXPECT_GT(at(25, 20), 0);
    EXPECT_EQ(at(25, 20), at(15, 20));
    EXPECT_EQ(at(20, 25), at(20, 15));
    EXPECT_GE(at(20, 20), at(24, 20));
    // Twelve passes of a 3 x 3 kernel reach twelve pixels at most.
    EXPECT_EQ(at(20 + 13, 20), 0);
}

TEST(GlowBlur, DegeneratePlanesComeBackUnchanged) {
    const QByteArray two("\x10\x20", 2);
    EXPECT_EQ(BlurGlowPlane(two, 2, 1), two);
    EXPECT_EQ(BlurGlowPlane(QByteArray(), 10, 10), QByteArray());
}

#include "skin/border_drag.h"

#include <gtest/gtest.h>

using skin::ResizedRect;
using skin::ResizeEdges;

namespace {
constexpr plat::Rect kDesktop{0, 0, 1280, 800};
constexpr plat::Rect kWindow{400, 200, 1000, 700};
} // namespace

TEST(BorderDrag, RightEdgeFollowsTheCursorWithinTheDesktop) {
    EXPECT_EQ(ResizedRect(kWindow, kDesktop, {1100, 0}, {false, false, true, false}, 200, 70, 300).right,
              1100);
    EXPECT_EQ(ResizedRect(kWindow, kDesktop, {5000, 0}, {false, false, true, false}, 200, 70, 300).right,
              1280);
}

TEST(BorderDrag, LeftEdgeNeverMakesTheWindowNarrowerThan300EvenWithASmallerMinimum) {
    const plat::Rect r = ResizedRect(kWindow, kDesktop, {990, 0}, {true, false, false, false}, 200, 70, 300);
    EXPECT_EQ(r.left, 700);
    EXPECT_EQ(r.right, 1000);
    // ... nor past the desktop's left edge.
    EXPECT_EQ(ResizedRect(kWindow, kDesktop, {-50, 0}, {true, false, false, false}, 200, 70, 300).left, 0);
}

TEST(BorderDrag, LargerMinimumWins) {
    const plat::Rect r = ResizedRect(kWindow, kDesktop, {0, 690}, {false, true, false, false}, 200, 420, 300);
    EXPECT_EQ(r.top, 700 - 420);
    EXPECT_EQ(ResizedRect(kWindow, kDesktop, {0, 0}, {false, false, false, true}, 200, 420, 300).bottom, 620);
}

TEST(BorderDrag, CornerMovesTwoEdgesAndOnlyThose) {
    const plat::Rect r = ResizedRect(kWindow, kDesktop, {350, 750}, {true, false, false, true}, 200, 70, 300);
    EXPECT_EQ(r, (plat::Rect{350, 200, 1000, 750}));
}

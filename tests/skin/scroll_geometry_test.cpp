#include "skin/scroll_geometry.h"

#include <gtest/gtest.h>

using namespace skin;

TEST(ScrollGeometry, ThumbStaysWithinItsTrack) {
    // 100-px bar: 72 px of track; 10,000 px of content would make the proportional thumb tiny.
    const ThumbGeometry tall = ComputeThumb(0, 100, 10000, 100, 0);
    EXPECT_EQ(tall.track, 72);
    EXPECT_EQ(tall.length, kMinThumb);
    EXPECT_EQ(tall.pos, 0);
    // The last offset, and any beyond it, put the thumb at the end.
    EXPECT_EQ(ComputeThumb(0, 228, 1000, 200, 800).pos, ComputeThumb(0, 228, 1000, 200, 800).free);
    EXPECT_EQ(ComputeThumb(0, 228, 1000, 200, 5000).pos, ComputeThumb(0, 228, 1000, 200, 5000).free);
    const ThumbGeometry small = ComputeThumb(0, 100, 20, 10, 0);
    EXPECT_EQ(small.length, small.track);
    // A bar shorter than its arrows has no track and no thumb, and nothing divides by zero.
    const ThumbGeometry tiny = ComputeThumb(0, 20, 500, 10, 100);
    EXPECT_EQ(tiny.track, 0);
    EXPECT_EQ(tiny.length, 0);
    EXPECT_EQ(tiny.pos, 0);
}

TEST(ScrollGeometry, HugeContentDoesNotOverflow) {
    // A hundred thousand rows of 29 px: products of offset and track exceed 32 bits.
    const qint64 content = 100000LL * 29;
    const ThumbGeometry mid = ComputeThumb(0, 30000, content, 1000, (content - 1000) / 2);
    EXPECT_NEAR(mid.pos, mid.free / 2, 1);
    EXPECT_EQ(ClampScrollOffset(content * 10, content, 1000), int(content - 1000));
    EXPECT_EQ(ThumbDragDelta(2000, content, 1000, 1000), 2 * (content - 1000));
}

// Offsets stay in [0, content - view]; content that fits has only offset 0; the wheel moves a fifth of the
// view per notch; steps never shrink to nothing.
TEST(ScrollGeometry, OffsetsStayInRange) {
    EXPECT_EQ(ClampScrollOffset(-5, 1000, 100), 0);
    EXPECT_EQ(ClampScrollOffset(950, 1000, 100), 900);
    EXPECT_EQ(ClampScrollOffset(30, 100, 100), 0);
    EXPECT_EQ(ClampScrollOffset(30, 50, 100), 0);
    EXPECT_EQ(WheelScrollOffset(100, -120, 1000, 100), 120);
    EXPECT_EQ(WheelScrollOffset(100, 240, 1000, 100), 60);
    EXPECT_EQ(WheelScrollOffset(10, 120, 1000, 100), 0);
    EXPECT_EQ(WheelScrollOffset(890, -120, 1000, 100), 900);
    EXPECT_EQ(ArrowStep(3), 1);
    EXPECT_EQ(PageStep(0), 1);
}

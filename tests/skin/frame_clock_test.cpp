#include "skin/frame_clock.h"

#include <gtest/gtest.h>

using skin::FrameClock;

// Whole 120-ms frames only, wrapping around the strip, and a slow paint keeps the phase (lastTime moves by
// whole frames, not to "now").
TEST(FrameClock, AdvancesWholeFramesKeepsPhaseAndWraps) {
    struct Case {
        qint64 start, now;
        int frame;
        qint64 lastTime;
        const char* note;
    };
    const Case cases[] = {
        {1000, 1250, 2, 1240, "slow paint"},
        {0, 120, 0, 0, "no step within a frame"},
        {0, 121, 1, 120, "one frame"},
        {0, 120 * 9 + 5, 1, 120 * 9, "wraps around eight frames"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        FrameClock clock;
        clock.Start(c.start, 8);
        clock.Advance(c.now);
        EXPECT_EQ(clock.frame, c.frame);
        EXPECT_EQ(clock.lastTime, c.lastTime);
    }
}

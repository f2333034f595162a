#include "skin/frame_clock.h"

#include <gtest/gtest.h>

using skin::FrameClock;

TEST(FrameClock, SlowPaintAdvancesWholeFramesAndKeepsPhase) {
    FrameClock clock;
    clock.Start(1000, 8);
    clock.Advance(1250);
    EXPECT_EQ(clock.frame, 2);
    EXPECT_EQ(clock.lastTime, 1240);
}

TEST(FrameClock, NoStepWithinAFrame) {
    FrameClock clock;
    clock.Start(0, 8);
    clock.Advance(120);
    EXPECT_EQ(clock.frame, 0);
    clock.Advance(121);
    EXPECT_EQ(clock.frame, 1);
}

TEST(FrameClock, WrapsAroundTheStrip) {
    FrameClock clock;
    clock.Start(0, 8);
    clock.Advance(120 * 9 + 5);
    EXPECT_EQ(clock.frame, 1);
}

TEST(FrameClock, StoppedClockStaysStopped) {
    FrameClock clock;
    clock.Start(0, 8);
    clock.Stop();
    clock.Advance(10000);
    EXPECT_FALSE(clock.Running());
    EXPECT_EQ(clock.frame, -1);
}

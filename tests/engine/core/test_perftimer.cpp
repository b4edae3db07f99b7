// The frame timer: real and game time, time factor and pause slots.
#include <gtest/gtest.h>

#include "engine/core/PerfTimer.h"
#include "port/win32/kernel.h"

using Orvex::PerfTimer;

TEST(PerfTimer, GameTimeFollowsRealTimeTimesTheFactor) {
    PerfTimer timer;
    timer.advance(0.5);
    EXPECT_DOUBLE_EQ(timer.getRealDelta(), 0.5);
    EXPECT_DOUBLE_EQ(timer.getGameDelta(), 0.5);
    timer.setTimeFactor(2.0);
    timer.advance(0.25);
    EXPECT_DOUBLE_EQ(timer.getRealDelta(), 0.25);
    EXPECT_DOUBLE_EQ(timer.getGameDelta(), 0.5);
    EXPECT_DOUBLE_EQ(timer.getRealTime(), 0.75);
    EXPECT_DOUBLE_EQ(timer.getGameTime(), 1.0);
    timer.advance(-3.0);  // never runs backwards
    EXPECT_DOUBLE_EQ(timer.getRealDelta(), 0.0);
    EXPECT_DOUBLE_EQ(timer.getGameTime(), 1.0);
}

TEST(PerfTimer, GameTimeStopsWhileAnyPauseSlotIsSet) {
    PerfTimer timer;
    timer.setPause(1, true);
    timer.setPause(7, true);
    EXPECT_EQ(timer.getPauseMask(), (1u << 1) | (1u << 7));
    timer.advance(0.5);
    EXPECT_DOUBLE_EQ(timer.getGameDelta(), 0.0);
    EXPECT_DOUBLE_EQ(timer.getGameTime(), 0.0);
    EXPECT_DOUBLE_EQ(timer.getRealDelta(), 0.5);  // real time is never paused
    timer.setPause(1, false);
    timer.advance(0.5);
    EXPECT_DOUBLE_EQ(timer.getGameDelta(), 0.0);  // slot 7 still holds it
    timer.setPause(1, true);  // setting twice and clearing once leaves it clear
    timer.setPause(1, true);
    timer.setPause(1, false);
    timer.setPause(7, false);
    EXPECT_FALSE(timer.isPaused());
    timer.advance(0.5);
    EXPECT_DOUBLE_EQ(timer.getGameDelta(), 0.5);
    EXPECT_DOUBLE_EQ(timer.getGameTime(), 0.5);
    EXPECT_DOUBLE_EQ(timer.getRealTime(), 1.5);

    // Slots outside 0..31 are ignored.
    timer.setPause(32, true);
    timer.setPause(-1, true);
    EXPECT_FALSE(timer.isPaused());
    timer.setPause(31, true);
    EXPECT_EQ(timer.getPauseMask(), 0x80000000u);
}

TEST(PerfTimer, UpdateMeasuresTheClockAndTwoUpdatesMakeTheNextDeltaSmall) {
    PerfTimer timer;
    timer.update();
    Sleep(30);
    timer.update();
    EXPECT_GE(timer.getRealDelta(), 0.030);
    EXPECT_DOUBLE_EQ(timer.getGameDelta(), timer.getRealDelta());
    Sleep(30);  // a long "loading" step ...
    timer.update();
    timer.update();  // ... is swallowed by the first of two updates in a row
    EXPECT_LT(timer.getRealDelta(), 0.030);
    EXPECT_GE(timer.getRealTime(), 0.060);
}

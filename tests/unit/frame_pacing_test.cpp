// The loop's pacing: the refresh interval and the moment of the next frame.
#include "frame/frame_pacing.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(FramePacing, TheRefreshIntervalFallsBackTo60HzWhereTheRateIsUnknown) {
    EXPECT_NEAR(RefreshIntervalMilliseconds(0), 1000.0 / 60, 1e-9);
    EXPECT_NEAR(RefreshIntervalMilliseconds(1), 1000.0 / 60, 1e-9);
    EXPECT_NEAR(RefreshIntervalMilliseconds(75), 1000.0 / 75, 1e-9);
}

TEST(FramePacing, TheNextFrameWaitsForItsMomentAndTheRefreshTicks) {
    struct Case {
        double due;
        int ticks;
        bool swapWaits;
        double expected;
    };
    // The last frame at 100 ms, refreshes every 10 ms.
    const Case cases[] = {
        {50, 1, false, 110},   // due long ago: the next tick
        {500, 1, false, 500},  // a later moment
        {50, 2, false, 120},   // every other tick
        {50, 1, true, 109},    // the swap waits: most of a tick
        {50, 2, true, 118},   {kNeverMilliseconds, 1, false, kNeverMilliseconds},
    };
    for (const Case& c : cases) {
        FrameSchedule schedule;
        schedule.dueMilliseconds = c.due;
        schedule.refreshTicks = c.ticks;
        schedule.swapWaits = c.swapWaits;
        EXPECT_DOUBLE_EQ(DrawMoment(schedule, 100, 10), c.expected) << c.due << " " << c.ticks;
    }
}

TEST(FramePacing, ASwapThatPacesFasterThanTheRefreshDoesNotWait) {
    SwapWaitCheck waits;
    SwapWaitCheck doesNot;
    for (int i = 0; i < 60; ++i) {
        waits.NoteFrame(i % 2 == 0 ? 9 : 21, 1, 15);  // a missed refresh now and then
        doesNot.NoteFrame(27, 2, 15);                 // 0.9 of the ticks asked
    }
    EXPECT_TRUE(waits.SwapWaits(true));
    EXPECT_FALSE(doesNot.SwapWaits(true));
    EXPECT_FALSE(waits.SwapWaits(false));
}

}  // namespace
}  // namespace velmora

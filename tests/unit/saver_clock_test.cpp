// The saver clock: counter conversion and real time.
#include "base/saver_clock.h"

#include <gtest/gtest.h>

#include "base/platform.h"

namespace velmora {
namespace {

TEST(SaverClock, CounterConversionKeepsMillisecondsOfLongUptimes) {
    EXPECT_DOUBLE_EQ(SaverClock::CounterToMilliseconds(0, 10000000), 0.0);
    EXPECT_DOUBLE_EQ(SaverClock::CounterToMilliseconds(15000, 10000000), 1.5);
    // 40 days of a 10 MHz counter, plus 0.25 ms.
    const std::uint64_t frequency = 10000000;
    const std::uint64_t days40 = 40ull * 86400ull * frequency;
    EXPECT_DOUBLE_EQ(SaverClock::CounterToMilliseconds(days40 + 2500, frequency),
                     40.0 * 86400.0 * 1000.0 + 0.25);
    // A count near the top of the range does not overflow.
    const std::uint64_t huge = 0xFFFFFFFFFFFFFFFFull;
    EXPECT_GT(SaverClock::CounterToMilliseconds(huge, 3), 6.0e21);
    EXPECT_EQ(SaverClock::CounterToMilliseconds(123, 0), 0.0);
}

TEST(SaverClock, AdvancesWithRealTime) {
    SaverClock clock;
    EXPECT_TRUE(clock.UsesPerformanceCounter());
    const double before = clock.NowMilliseconds();
    platform::SleepMilliseconds(30);
    const double after = clock.NowMilliseconds();
    EXPECT_GE(after - before, 25.0);
    EXPECT_LT(after - before, 5000.0);
}

}  // namespace
}  // namespace velmora

// The latency --stats gives a feed: the median of the last second's frames only.
#include "feeds/recent_latencies.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;

TEST(RecentLatenciesTest, TheMedianOfTheLastSecondsFramesOnly) {
    RecentLatencies latencies;
    const FrameClock::time_point start{};
    EXPECT_FALSE(latencies.medianMilliseconds(start));
    latencies.add(start, 90ms);  // an old slow frame, forgotten a second on
    latencies.add(start + 600ms, 3ms);
    latencies.add(start + 700ms, 1ms);
    latencies.add(start + 800ms, 2ms);
    EXPECT_DOUBLE_EQ(*latencies.medianMilliseconds(start + 800ms), 2.5);  // 1, 2, 3, 90
    EXPECT_DOUBLE_EQ(*latencies.medianMilliseconds(start + 1500ms), 2);
    EXPECT_FALSE(latencies.medianMilliseconds(start + 2s));
}

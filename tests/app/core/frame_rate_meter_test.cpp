// The frame rate --stats prints: frames shown over the last second, by pinned times.
#include "app/core/frame_rate_meter.h"

#include <gtest/gtest.h>

namespace {

using std::chrono::milliseconds;

TEST(FrameRateMeterTest, CountsTheFramesOfTheLastSecondOnly) {
    FrameRateMeter meter;
    const FrameClock::time_point start{};
    EXPECT_EQ(meter.framesPerSecond(start), 0);
    // 30 a second for two seconds, then nothing.
    for (int i = 1; i <= 60; ++i) meter.frameShown(start + milliseconds(i * 1000 / 30));
    EXPECT_EQ(meter.framesPerSecond(start + milliseconds(2000)), 30);
    EXPECT_EQ(meter.framesPerSecond(start + milliseconds(2500)), 15);
    EXPECT_EQ(meter.framesPerSecond(start + milliseconds(3001)), 0);
}

}  // namespace

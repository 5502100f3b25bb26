// The queue between the decoding worker and the display, on one thread: what the offline
// display's wait for the frame due returns, and when the display is woken.
#include "frames/bounded_frame_queue.h"

#include <gtest/gtest.h>

TEST(BoundedFrameQueueTest, WaitForTheFrameDueEndsWhenNoneCanComeByThen) {
    BoundedFrameQueue handOver;
    ASSERT_TRUE(handOver.allocate(16, 3));
    std::uint8_t* pixels = handOver.takeFree();
    ASSERT_NE(pixels, nullptr);
    handOver.pushFilled({pixels, 0.9, {}});
    EXPECT_TRUE(handOver.waitForFilled(1.0));
    TimedFrame frame;
    ASSERT_TRUE(handOver.pop(frame));
    // The pass ended at 0.9 s and the next starts at 1.0 s: nothing is due by 0.95 s, and the
    // wait says so at once instead of holding the display until the next pass's first frame.
    handOver.noFrameBefore(1.0);
    EXPECT_FALSE(handOver.waitForFilled(0.95));
    EXPECT_FALSE(handOver.finished());
}

namespace {

int wakes = 0;
void countWake() {
    ++wakes;
}

}  // namespace

TEST(BoundedFrameQueueTest, ADisplayThatFoundNoFrameIsWokenByTheNextOnly) {
    BoundedFrameQueue queue;
    ASSERT_TRUE(queue.allocate(16, 3));
    TimedFrame frame;
    EXPECT_FALSE(queue.peekOrWake(frame, countWake));
    queue.pushFilled({queue.takeFree(), 0.1, {}});
    EXPECT_EQ(wakes, 1);
    queue.pushFilled({queue.takeFree(), 0.2, {}});  // the display knows when this one is due
    EXPECT_EQ(wakes, 1);
    EXPECT_TRUE(queue.peekOrWake(frame, countWake));
    EXPECT_DOUBLE_EQ(frame.seconds, 0.1);
    queue.pushFilled({queue.takeFree(), 0.3, {}});
    EXPECT_EQ(wakes, 1);
}

// A picture as a source of frames: an animation's frame is found by the clock from the moment
// it was shown, loops, and starts over when shown again; a still picture never asks for a
// frame and lets its pixels go once the display has them.
#include "frames/picture_source.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using std::chrono::milliseconds;

Picture pictureOfDelays(std::vector<int> delaysMs) {
    Picture picture{2, 1, {}};
    for (int delay : delaysMs) {
        PictureFrame frame{allocatePixelBuffer(6), delay};
        picture.frames.push_back(std::move(frame));
    }
    return picture;
}

}  // namespace

TEST(PictureSourceTest, AnimationFramesFollowTheClockAndLoop) {
    PictureSource source(pictureOfDelays({100, 50, 200}));
    const FrameClock::time_point start = FrameClock::now();
    EXPECT_EQ(source.frameAt(start).serial, 1u);  // not shown yet: the first frame
    EXPECT_EQ(source.nextFrameDue(start), kNoFrameDue);

    source.show(true, start);
    EXPECT_EQ(source.frameAt(start + milliseconds(99)).serial, 1u);
    EXPECT_EQ(source.frameAt(start + milliseconds(100)).serial, 2u);
    EXPECT_EQ(source.frameAt(start + milliseconds(200)).serial, 3u);
    EXPECT_EQ(source.frameAt(start + milliseconds(360)).serial, 1u);  // 350 ms a loop
    EXPECT_EQ(source.nextFrameDue(start + milliseconds(120)), start + milliseconds(150));
    EXPECT_EQ(source.nextFrameDue(start + milliseconds(340)), start + milliseconds(350));
    EXPECT_NEAR(source.frameRate(), 3 / 0.35, 1e-9);
    // A review shoots a loop shorter than the time asked for at its last frame.
    EXPECT_DOUBLE_EQ(source.shotSeconds(1), 0.15);
    EXPECT_DOUBLE_EQ(source.shotSeconds(0.1), 0.1);

    const FrameClock::time_point again = start + milliseconds(1000);
    source.show(false, again);
    source.show(true, again);
    EXPECT_EQ(source.frameAt(again + milliseconds(10)).serial, 1u);
}

TEST(PictureSourceTest, StillPictureReleasesItsPixelsOnceUploaded) {
    PictureSource source(pictureOfDelays({0}));
    const FrameClock::time_point now = FrameClock::now();
    source.show(true, now);
    const FrameView first = source.frameAt(now);
    EXPECT_NE(first.pixels, nullptr);
    EXPECT_EQ(source.nextFrameDue(now), kNoFrameDue);
    EXPECT_EQ(source.frameRate(), 0);

    source.frameUploaded();
    const FrameView later = source.frameAt(now + milliseconds(5000));
    EXPECT_EQ(later.pixels, nullptr);
    EXPECT_EQ(later.serial, first.serial);
}

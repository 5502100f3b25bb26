// Frames fitted to the wall by their own thread: the frame a moving source shows live is the
// one an offline rendering fits on the spot, and a still picture is fitted at once.
#include "app/playback/wall_fitted_source.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "frames/picture_source.h"

namespace {

constexpr int kWall = 16;

// An animation of two 8 x 4 frames, each of its own grey ramp along x.
Picture ramps(int frameCount) {
    Picture picture;
    picture.width = 8;
    picture.height = 4;
    for (int f = 0; f < frameCount; ++f) {
        PictureFrame frame;
        frame.pixels = allocatePixelBuffer(8 * 4 * 3);
        for (int i = 0; i < 8 * 4 * 3; ++i)
            frame.pixels[i] = std::uint8_t(20 * (i / 3 % 8) + 50 * f);
        frame.delayMs = frameCount > 1 ? 100 : 0;
        picture.frames.push_back(std::move(frame));
    }
    return picture;
}

std::vector<std::uint8_t> bytesOf(const FrameView& frame) {
    return {frame.pixels, frame.pixels + 3 * kWall * kWall};
}

}  // namespace

TEST(WallFittedSourceTest, MovingContentIsFittedOnItsOwnThreadAsOfflineOnTheSpot) {
    const FrameClock::time_point start = FrameClock::now();
    WallFittedSource offline(std::make_unique<PictureSource>(ramps(2)), kWall, kWall,
                             WallFit::contain);
    offline.renderOffline();
    offline.show(true, start);
    const FrameView expected = offline.frameAt(start);
    ASSERT_NE(expected.pixels, nullptr);
    EXPECT_EQ(expected.pixels[3 * (kWall * 8 + 15)], 140);  // the ramp's last pixel, 7 x 20
    EXPECT_EQ(expected.pixels[0], 0);                       // an unlit LED below the picture

    WallFittedSource live(std::make_unique<PictureSource>(ramps(2)), kWall, kWall,
                          WallFit::contain);
    live.show(true, start);
    FrameView shown = live.frameAt(start);
    // The fitter hands the frame over when it is done; the display asks again meanwhile.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (shown.pixels == nullptr && std::chrono::steady_clock::now() < deadline) {
        EXPECT_LT(live.nextFrameDue(start), start + std::chrono::milliseconds(100));
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        shown = live.frameAt(start);
    }
    ASSERT_NE(shown.pixels, nullptr);
    EXPECT_EQ(bytesOf(shown), bytesOf(expected));
}

TEST(WallFittedSourceTest, AStillPictureIsFittedOnce) {
    WallFittedSource still(std::make_unique<PictureSource>(ramps(1)), kWall, kWall,
                           WallFit::stretch);
    const FrameClock::time_point now = FrameClock::now();
    still.show(true, now);
    const FrameView first = still.frameAt(now);
    ASSERT_NE(first.pixels, nullptr);
    const FrameView again = still.frameAt(now + std::chrono::seconds(1));
    EXPECT_EQ(again.serial, first.serial);
    EXPECT_EQ(still.nextFrameDue(now), kNoFrameDue);
}

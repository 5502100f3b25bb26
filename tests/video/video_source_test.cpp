// VideoSource on its own timeline, driven with chosen clock times: frames at the video's rate
// and looping, pausing, dropping late frames, resuming where it was, flat memory.
#include "video/video_source.h"

#include <gtest/gtest.h>

#include <thread>

#include "tests/support/temp_folder.h"
#include "tests/video/test_clips.h"

namespace {

using namespace std::chrono_literals;
using testclips::nearestColour;

class VideoSourceTest : public ::testing::Test {
  protected:
    // A 32 x 24 clip of `frames` colours at 10 frames a second, opened as a source.
    std::unique_ptr<VideoSource> openClip(int frames, const std::string& name = "clip.mp4") {
        const std::string path = folder_.path(name);
        EXPECT_EQ(testclips::writeColourClip(path, 32, 24, 10, frames), "");
        LoadOutcome outcome;
        auto source = VideoSource::open(path, name, outcome);
        EXPECT_TRUE(outcome.ok()) << outcome.reason;
        if (source) {
            EXPECT_TRUE(source->fitWithin(4096));
        }
        return source;
    }

    // The colour at the frame's middle; a video's frames are RGBA.
    static int colourOf(const FrameView& view) {
        return view.pixels == nullptr ? -1 : nearestColour(view.pixels + (12 * 32 + 16) * 4);
    }

    // Asks for the frame at `at` until the worker has caught up with it (live sources hand
    // over only what is decoded).
    static FrameView frameWhenReady(VideoSource& source, FrameClock::time_point at,
                                    std::uint64_t afterSerial) {
        FrameView view = source.frameAt(at);
        for (int i = 0; i < 400 && (view.pixels == nullptr || view.serial == afterSerial); ++i) {
            std::this_thread::sleep_for(5ms);
            view = source.frameAt(at);
        }
        return view;
    }

    testsupport::TempFolder folder_;
    const FrameClock::time_point start_ = FrameClock::now();
};

TEST_F(VideoSourceTest, ShowsEachFrameAtItsTimeAndLoopsAtTheEnd) {
    auto source = openClip(4);
    ASSERT_TRUE(source);
    EXPECT_DOUBLE_EQ(source->frameRate(), 10);
    source->renderOffline();
    source->show(true, start_);
    std::vector<int> colours;
    std::uint64_t serial = 0;
    for (int k = 0; k < 12; ++k) {
        const FrameView view = source->frameAt(start_ + k * 100ms + 1ms);
        EXPECT_NE(view.serial, serial) << "frame " << k;
        serial = view.serial;
        colours.push_back(colourOf(view));
    }
    EXPECT_EQ(colours, (std::vector<int>{0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3}));
    // A review shoots a video shorter than the time asked for at its last frame.
    EXPECT_NEAR(source->shotSeconds(1), 0.3, 1e-6);
    EXPECT_DOUBLE_EQ(source->shotSeconds(0.2), 0.2);
    EXPECT_EQ(source->nextFrameDue(start_ + 1101ms), start_ + 1200ms);
    // Sampled at half the rate, every other frame is passed over.
    EXPECT_EQ(colourOf(source->frameAt(start_ + 1301ms)), 1);
    EXPECT_EQ(source->droppedFrames(), 0u);
}

TEST_F(VideoSourceTest, LiveSourceStartsAtItsFirstFrameAndDropsWhatItWasLateFor) {
    auto source = openClip(6);
    ASSERT_TRUE(source);
    // The first frame is there before the source is shown, and its timeline starts at it.
    EXPECT_EQ(colourOf(source->frameAt(start_)), 0);
    source->show(true, start_);
    EXPECT_EQ(colourOf(source->frameAt(start_ + 50ms)), 0);
    // Let the worker fill its queue, then come 150 ms late: the frame due is shown, the one
    // before it is dropped, and the next is due at its own time, not later.
    std::this_thread::sleep_for(200ms);
    const FrameView late = source->frameAt(start_ + 250ms);
    EXPECT_EQ(colourOf(late), 2);
    EXPECT_EQ(source->droppedFrames(), 1u);
    EXPECT_EQ(source->shownFrames(), 2u);
    EXPECT_EQ(source->nextFrameDue(start_ + 250ms), start_ + 300ms);
    EXPECT_EQ(source->statsLine(true), "clip.mp4: 2 shown, 1 dropped");
    EXPECT_EQ(source->statsLine(false), "");
}

TEST_F(VideoSourceTest, PausedStaysStillAndResumesWhereItWas) {
    auto source = openClip(6);
    ASSERT_TRUE(source);
    source->renderOffline();
    source->show(true, start_);
    EXPECT_EQ(colourOf(source->frameAt(start_ + 101ms)), 1);
    ASSERT_TRUE(source->setPaused(true, start_ + 150ms));
    EXPECT_TRUE(source->paused());
    EXPECT_EQ(source->nextFrameDue(start_ + 150ms), kNoFrameDue);
    const FrameView still = source->frameAt(start_ + 2s);
    EXPECT_EQ(colourOf(still), 1);
    EXPECT_EQ(source->frameAt(start_ + 5s).serial, still.serial);
    // Five seconds later it goes on from 0.15 s of its own time.
    ASSERT_TRUE(source->setPaused(false, start_ + 5150ms));
    EXPECT_EQ(source->nextFrameDue(start_ + 5150ms), start_ + 5200ms);
    EXPECT_EQ(colourOf(source->frameAt(start_ + 5201ms)), 2);
}

TEST_F(VideoSourceTest, ShownAgainGoesOnFromTheFrameItStoppedAt) {
    auto source = openClip(6);
    ASSERT_TRUE(source);
    source->show(true, start_);
    const FrameView first = frameWhenReady(*source, start_, 0);
    const FrameView second = frameWhenReady(*source, start_ + 100ms, first.serial);
    EXPECT_EQ(colourOf(second), 1);
    source->show(false, start_ + 150ms);
    EXPECT_EQ(source->frameAt(start_ + 10s).serial, second.serial);
    EXPECT_EQ(source->nextFrameDue(start_ + 10s), kNoFrameDue);
    source->show(true, start_ + 20s);
    EXPECT_EQ(colourOf(frameWhenReady(*source, start_ + 20s + 100ms, second.serial)), 2);
}

TEST_F(VideoSourceTest, MemoryStaysFlatOverManyLoops) {
    auto source = openClip(10);
    ASSERT_TRUE(source);
    source->renderOffline();
    source->show(true, start_);
    // 300 passes through the clip; memory after the first 30 is what it stays at.
    std::uint64_t settled = 0;
    for (int k = 0; k < 3000; ++k) {
        source->frameAt(start_ + k * 100ms + 1ms);
        if (k == 300) settled = testclips::residentBytes();
    }
    EXPECT_EQ(colourOf(source->frameAt(start_ + 300s + 1ms)), 0);
#if defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer holds freed blocks back in quarantine, up to 256 MiB, by design.
    GTEST_SKIP() << "resident memory is not the program's own under AddressSanitizer";
#endif
    EXPECT_LT(testclips::residentBytes(), settled + (1u << 20));
}

}  // namespace

// ClipWriter: clips of the frames given, read back by the video reader, the same bytes on
// every run, and a clear failure when the file cannot be written.
#include "video/clip_writer.h"

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"
#include "tests/video/test_clips.h"
#include "video/video_input.h"

namespace {

TEST(ClipWriterTest, WritesH264InMp4WithEveryFrameAtItsRate) {
    testsupport::TempFolder folder;
    const std::string clip = folder.path("odd.mp4");
    ASSERT_EQ(testclips::writeColourClip(clip, 35, 21, 30, 45), "");
    VideoInput input;
    ASSERT_TRUE(input.openFile(clip.c_str()).ok());
    EXPECT_EQ(input.width(), 34);  // yuv420p takes even sides only
    EXPECT_EQ(input.height(), 20);
    EXPECT_DOUBLE_EQ(input.frameRate(), 30);
    std::vector<std::uint8_t> rgb(34 * 20 * 3);
    double seconds = 0;
    int frames = 0;
    while (input.readFrame(rgb.data(), seconds) == VideoRead::frame) {
        EXPECT_EQ(testclips::nearestColour(&rgb[(10 * 34 + 17) * 3]), frames % 6);
        ++frames;
    }
    EXPECT_EQ(frames, 45);
    EXPECT_NEAR(seconds, 44 / 30.0, 1e-6);
    const std::string header = testsupport::TempFolder::read(clip).substr(4, 4);
    EXPECT_EQ(header, "ftyp");
}

TEST(ClipWriterTest, SameFramesGiveTheSameFile) {
    testsupport::TempFolder folder;
    ASSERT_EQ(testclips::writeColourClip(folder.path("a.mp4"), 64, 48, 25, 30), "");
    ASSERT_EQ(testclips::writeColourClip(folder.path("b.mp4"), 64, 48, 25, 30), "");
    const std::string a = testsupport::TempFolder::read(folder.path("a.mp4"));
    EXPECT_FALSE(a.empty());
    EXPECT_EQ(a, testsupport::TempFolder::read(folder.path("b.mp4")));
}

TEST(ClipWriterTest, FileThatCannotBeWrittenIsAFailureWithItsReason) {
    testsupport::TempFolder folder;
    EXPECT_EQ(testclips::writeColourClip(folder.path("no/such/folder/clip.mp4"), 32, 24, 10, 3),
              "No such file or directory");
    EXPECT_EQ(testclips::writeColourClip(folder.path("tiny.mp4"), 1, 24, 10, 3),
              "no frames to encode at that size");
}

}  // namespace

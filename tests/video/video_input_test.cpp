// VideoInput over clips made here: every frame with its time and colour, other containers and
// codecs, the reasons given for files that are no video, and damage inside a stream.
#include "video/video_input.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "frames/mipmap_chain.h"
#include "tests/support/temp_folder.h"
#include "tests/video/test_clips.h"

namespace {

using testclips::kColours;
using testclips::nearestColour;
using testclips::runFfmpeg;

std::vector<std::uint8_t> fileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Reads to the end; the centre colour index and time of every frame.
struct ReadFrames {
    std::vector<int> colours;
    std::vector<double> seconds;
    VideoRead last = VideoRead::frame;
};
ReadFrames readAll(VideoInput& input) {
    ReadFrames read;
    const int w = input.outputWidth(), h = input.outputHeight();
    std::vector<std::uint8_t> rgb(std::size_t(w) * h * 3);
    double seconds = 0;
    while ((read.last = input.readFrame(rgb.data(), seconds)) == VideoRead::frame) {
        read.colours.push_back(nearestColour(&rgb[(std::size_t(h / 2) * w + w / 2) * 3]));
        read.seconds.push_back(seconds);
        if (read.colours.size() > 1000) break;
    }
    return read;
}

TEST(VideoInputTest, ReadsEveryFrameWithItsTimeAndColourAndRewinds) {
    testsupport::TempFolder folder;
    const std::string clip = folder.path("colours.mp4");
    ASSERT_EQ(testclips::writeColourClip(clip, 32, 24, 10, 6), "");
    VideoInput input;
    ASSERT_TRUE(input.openFile(clip.c_str()).ok());
    EXPECT_EQ(input.width(), 32);
    EXPECT_EQ(input.height(), 24);
    EXPECT_DOUBLE_EQ(input.frameRate(), 10);
    input.setOutputSize(16, 12);

    const ReadFrames read = readAll(input);
    EXPECT_EQ(read.last, VideoRead::end);
    ASSERT_EQ(read.colours.size(), 6u);
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(read.colours[k], k) << "frame " << k;
        EXPECT_NEAR(read.seconds[k], k * 0.1, 1e-6) << "frame " << k;
    }
    ASSERT_TRUE(input.rewind());
    const ReadFrames again = readAll(input);
    EXPECT_EQ(again.colours, read.colours);
    EXPECT_EQ(input.skippedPackets(), 0u);
}

TEST(VideoInputTest, ReadsOtherContainersAndCodecsAndIgnoresAudio) {
    testsupport::TempFolder folder;
    const std::vector<std::vector<std::string>> encodings = {
        {"-c:v", "libvpx-vp9", "-c:a", "libopus", "clip.webm"},
        {"-c:v", "mpeg4", "-c:a", "pcm_s16le", "clip.avi"},
        {"-c:v", "libx264", "-c:a", "flac", "clip.mkv"},
        {"-c:v", "mjpeg", "-an", "clip.mov"},
        {"-c:v", "mpeg2video", "-c:a", "mp2", "clip.ts"},
    };
    for (const auto& encoding : encodings) {
        std::vector<std::string> arguments = {
            "-f",       "lavfi",   "-i",       "color=c=0x1E32E6:s=48x32:r=10:d=0.5",
            "-f",       "lavfi",   "-i",       "sine=d=0.5",
            "-pix_fmt", "yuv420p", "-shortest"};
        arguments.insert(arguments.end(), encoding.begin(), encoding.end() - 1);
        arguments.push_back(folder.path(encoding.back()));
        ASSERT_TRUE(runFfmpeg(arguments)) << encoding.back();

        VideoInput input;
        const LoadOutcome outcome = input.openFile(folder.path(encoding.back()).c_str());
        ASSERT_TRUE(outcome.ok()) << encoding.back() << ": " << outcome.reason;
        EXPECT_EQ(input.width(), 48) << encoding.back();
        EXPECT_EQ(input.height(), 32) << encoding.back();
        const ReadFrames read = readAll(input);
        EXPECT_EQ(read.last, VideoRead::end) << encoding.back();
        EXPECT_EQ(read.colours.size(), 5u) << encoding.back();
        for (const int colour : read.colours) EXPECT_EQ(colour, 2) << encoding.back();
    }
}

TEST(VideoInputTest, ShowsPixelsThatAreNotSquareInTheVideosShape) {
    testsupport::TempFolder folder;
    const std::string path = folder.path("wide-pixels.mkv");
    ASSERT_TRUE(runFfmpeg({"-f", "lavfi", "-i", "color=c=0x1E32E6:s=48x32:r=10:d=0.3", "-vf",
                           "setsar=2", "-pix_fmt", "yuv420p", "-c:v", "libx264", path}));
    VideoInput input;
    ASSERT_TRUE(input.openFile(path.c_str()).ok());
    EXPECT_EQ(input.width(), 96);
    EXPECT_EQ(input.height(), 32);
    const ReadFrames read = readAll(input);
    EXPECT_EQ(read.colours, (std::vector<int>{2, 2, 2}));
}

// A phone's upright video, stored on its side with a display matrix, stands as players show
// it: red over blue, turned a quarter anticlockwise, is red on the left.
TEST(VideoInputTest, TurnsTheFramesAsTheStreamsDisplayMatrixSays) {
    testsupport::TempFolder folder;
    const std::string stored = folder.path("stored.mp4"), turned = folder.path("turned.mp4");
    ASSERT_TRUE(runFfmpeg({"-f", "lavfi", "-i", "color=c=red:s=48x16:r=10:d=0.2", "-f", "lavfi",
                           "-i", "color=c=blue:s=48x16:r=10:d=0.2", "-filter_complex", "vstack",
                           "-pix_fmt", "yuv420p", "-c:v", "libx264", stored}));
    ASSERT_TRUE(runFfmpeg({"-i", stored, "-c", "copy", "-metadata:s:v:0", "rotate=90", turned}));
    VideoInput input;
    ASSERT_TRUE(input.openFile(turned.c_str()).ok());
    ASSERT_EQ(input.width(), 32);
    ASSERT_EQ(input.height(), 48);
    std::vector<std::uint8_t> rgb(32 * 48 * 3);
    double seconds = 0;
    ASSERT_EQ(input.readFrame(rgb.data(), seconds), VideoRead::frame);
    const auto colourAt = [&](int x, int yFromTop) {
        return nearestColour(&rgb[(std::size_t(47 - yFromTop) * 32 + x) * 3]);
    };
    const int red = colourAt(4, 24), blue = colourAt(28, 24);
    EXPECT_NE(red, blue);
    EXPECT_EQ(colourAt(4, 2), red);
    EXPECT_EQ(colourAt(28, 45), blue);
    std::vector<std::uint8_t> plain(48 * 32 * 3);
    VideoInput original;
    ASSERT_TRUE(original.openFile(stored.c_str()).ok());
    ASSERT_EQ(original.readFrame(plain.data(), seconds), VideoRead::frame);
    EXPECT_EQ(red, nearestColour(&plain[(std::size_t(31 - 4) * 48 + 24) * 3]));  // its top
}

// Colours come back as encoded: in the matrix the stream names (HD's own here), and from full
// range (a dark grey, which video range would darken further).
TEST(VideoInputTest, ConvertsWithTheMatrixAndRangeTheStreamNames) {
    struct Encoding {
        const char* colour;
        std::vector<std::string> options;
        const char* file;
        int red, green, blue;
    };
    const Encoding encodings[] = {
        {"red",
         {"-vf", "scale=out_color_matrix=bt709:out_range=tv", "-pix_fmt", "yuv420p", "-c:v",
          "libx264", "-colorspace", "bt709"},
         "hd.mkv",
         255,
         0,
         0},
        {"0x303030",
         {"-vf", "scale=out_range=pc,format=yuv420p", "-c:v", "libvpx-vp9", "-color_range", "pc"},
         "full-range.webm",
         48,
         48,
         48},
    };
    testsupport::TempFolder folder;
    for (const Encoding& encoding : encodings) {
        std::vector<std::string> arguments = {
            "-f",       "lavfi",
            "-i",       std::string("color=c=") + encoding.colour + ":s=48x32:r=10:d=0.1",
            "-pix_fmt", "yuv420p",
            "-c:v",     "libx264"};
        arguments.insert(arguments.end(), encoding.options.begin(), encoding.options.end());
        arguments.push_back(folder.path(encoding.file));
        ASSERT_TRUE(runFfmpeg(arguments)) << encoding.file;
        VideoInput input;
        ASSERT_TRUE(input.openFile(folder.path(encoding.file).c_str()).ok());
        std::vector<std::uint8_t> rgb(48 * 32 * 3);
        double seconds = 0;
        ASSERT_EQ(input.readFrame(rgb.data(), seconds), VideoRead::frame);
        const std::uint8_t* middle = &rgb[(16 * 48 + 24) * 3];
        EXPECT_NEAR(middle[0], encoding.red, 5) << encoding.file;
        EXPECT_NEAR(middle[1], encoding.green, 5) << encoding.file;
        EXPECT_NEAR(middle[2], encoding.blue, 5) << encoding.file;
    }
}

// Frames kept as planes: their samples through their colours give the RGB frames' colours, for
// 8-bit 4:2:0 of odd sides and for 10-bit, which the converter brings to 8; 4:4:4 video keeps
// RGB frames and its chroma detail.
TEST(VideoInputTest, HandsOverPlanesWithTheColoursOfItsRgbFrames) {
    testsupport::TempFolder folder;
    ASSERT_EQ(testclips::writeColourClip(folder.path("odd.mp4"), 47, 31, 10, 2), "");
    for (const char* format : {"yuv420p10le", "yuv444p"}) {
        ASSERT_TRUE(
            runFfmpeg({"-f", "lavfi", "-i", "color=c=0x3060c0:s=40x30:r=10:d=0.2", "-pix_fmt",
                       format, "-c:v", "ffv1", folder.path(std::string(format) + ".mkv")}));
    }
    VideoInput full;
    ASSERT_TRUE(full.openFile(folder.path("yuv444p.mkv").c_str()).ok());
    EXPECT_FALSE(full.planesSuit());
    for (const char* file : {"odd.mp4", "yuv420p10le.mkv"}) {
        VideoInput rows, planes;
        ASSERT_TRUE(rows.openFile(folder.path(file).c_str()).ok()) << file;
        ASSERT_TRUE(planes.openFile(folder.path(file).c_str()).ok()) << file;
        ASSERT_TRUE(planes.planesSuit()) << file;
        const int w = rows.width(), h = rows.height();
        std::vector<std::uint8_t> rgb(std::size_t(w) * h * 3);
        const PlanarFrameLayout layout = planarFrameLayout(w, h);
        std::vector<std::uint8_t> frame(layout.bytes);
        double seconds = 0;
        YuvColours colours;
        ASSERT_EQ(rows.readFrame(rgb.data(), seconds), VideoRead::frame) << file;
        ASSERT_EQ(planes.readPlanes(frame.data(), seconds, colours), VideoRead::frame) << file;
        // The frames are one flat colour: any sample of each plane will do.
        const float yuv[3] = {frame[layout.offset[0] + std::size_t(w) * (h / 2) + w / 2] / 255.0f,
                              frame[layout.offset[1]] / 255.0f, frame[layout.offset[2]] / 255.0f};
        for (int c = 0; c < 3; ++c) {
            float value = colours.offset[c];
            for (int k = 0; k < 3; ++k) value += colours.matrix[3 * k + c] * yuv[k];
            EXPECT_NEAR(std::clamp(value, 0.0f, 1.0f) * 255,
                        rgb[(std::size_t(w) * (h / 2) + w / 2) * 3 + c], 4)
                << file << " channel " << c;
        }
        // The luma plane's last level is the mean of the whole flat frame.
        EXPECT_EQ(frame[layout.mipmaps[0] + mipmapChainBytes(w, h, 1) - 1], frame[layout.offset[0]])
            << file;
    }
}

TEST(VideoInputTest, RefusesWhatShowsNoVideoWithItsReason) {
    testsupport::TempFolder folder;
    const std::string clip = folder.path("colours.mp4");
    ASSERT_EQ(testclips::writeColourClip(clip, 32, 24, 10, 6), "");
    const std::vector<std::uint8_t> bytes = fileBytes(clip);
    ASSERT_TRUE(runFfmpeg({"-f", "lavfi", "-i", "sine=d=0.2", folder.path("tone.wav")}));

    const auto reasonFor = [](const LoadOutcome& outcome) {
        return outcome.ok() ? std::string("ok") : outcome.reason;
    };
    VideoInput input;
    EXPECT_EQ(reasonFor(input.openFile(folder.path("none.mp4").c_str())), "file not found");
    EXPECT_EQ(
        reasonFor(input.openFile(folder.write("notes.txt", "shopping: milk, eggs\n").c_str())),
        "unknown format: neither a picture (BMP, PNG, JPEG, GIF or WebP) nor a video");
    EXPECT_EQ(reasonFor(input.openFile(folder.path("tone.wav").c_str())),
              "no video stream in the file");
    // The clip writer puts the index last: cut short, the frames have nothing to find them by.
    const std::span<const std::uint8_t> half(bytes.data(), bytes.size() / 2);
    EXPECT_EQ(reasonFor(input.openBytes(half)),
              "truncated or damaged video (mov,mp4,m4a,3gp,3g2,mj2)");
    EXPECT_EQ(reasonFor(input.openBytes({})), "empty file");
    EXPECT_EQ(reasonFor(input.openBytes(bytes, {100})),
              "too large: 32 x 24 pixels, more than the 100 allowed");
    double seconds = 0;
    EXPECT_EQ(input.readFrame(nullptr, seconds), VideoRead::failed);
}

TEST(VideoInputTest, SkipsDamageInsideAStreamToWhatDecodesNext) {
    testsupport::TempFolder folder;
    const std::string clip = folder.path("damaged.ts");
    ASSERT_TRUE(runFfmpeg({"-f", "lavfi", "-i", "testsrc=s=64x48:r=25:d=2", "-c:v", "libx264", "-g",
                           "10", "-pix_fmt", "yuv420p", clip}));
    std::vector<std::uint8_t> bytes = fileBytes(clip);
    // Garbage over a tenth of the stream, a third of the way in.
    for (std::size_t i = bytes.size() / 3; i < bytes.size() / 3 + bytes.size() / 10; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 131 + 7);
    }
    VideoInput input;
    ASSERT_TRUE(input.openBytes(bytes).ok());
    const ReadFrames read = readAll(input);
    EXPECT_EQ(read.last, VideoRead::end);
    EXPECT_GE(read.colours.size(), 25u);
    EXPECT_LT(read.colours.size(), 50u);
    for (std::size_t k = 1; k < read.seconds.size(); ++k)
        EXPECT_GT(read.seconds[k], read.seconds[k - 1]);
    ASSERT_TRUE(input.rewind());
    EXPECT_EQ(readAll(input).colours.size(), read.colours.size());
}

}  // namespace

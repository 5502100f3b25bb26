// The real program with videos of the user's, started from a folder of the test's own: the
// review's shots and clips, the notices for files that are no video, space and --stats.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "pictures/picture_file.h"
#include "tests/support/process.h"
#include "tests/support/temp_folder.h"
#include "tests/support/x_keys.h"
#include "tests/video/test_clips.h"
#include "video/video_input.h"

namespace {

using testclips::nearestColour;
using testsupport::ProcessOptions;
using testsupport::runProcess;

class UserVideosProcessTest : public testing::Test {
  protected:
    ProcessOptions optionsWith(std::vector<std::string> arguments) const {
        return testsupport::optionsIn(folder_.folder(), std::move(arguments));
    }
    std::string path(const std::string& name) const { return folder_.path(name); }

    testsupport::TempFolder folder_;
};

// Frame k of the clip is colour k % 6 for two seconds at 10 a second: the shots show frame 10,
// each clip the first ten frames in order, through Billboard I's flat cells.
TEST_F(UserVideosProcessTest, ReviewShotsAtOneSecondAndClipsEveryViewAtTheVideosRate) {
    ASSERT_EQ(testclips::writeColourClip(path("clip.mp4"), 64, 48, 10, 20), "");
    folder_.write("notes.txt", "not a video\n");
    folder_.write("notes.mp4", "not a video either\n");
    ASSERT_TRUE(testclips::runFfmpeg({"-f", "lavfi", "-i", "sine=d=0.2", path("tone.wav")}));
    const std::string clip = testsupport::TempFolder::read(path("clip.mp4"));
    folder_.write("cut.mp4", std::string_view(clip).substr(0, clip.size() / 2));

    const auto result =
        runProcess(testsupport::programPath(),
                   optionsWith({"--shots", "review", "--seconds", "1", "--size", "64x48",
                                "clip.mp4", "notes.txt", "notes.mp4", "tone.wav", "cut.mp4"}));
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.errorText,
              "Error: notes.txt: unknown format: neither a picture (BMP, PNG, JPEG, GIF or WebP) "
              "nor a video\n"
              "Error: notes.mp4: unknown format: neither a picture (BMP, PNG, JPEG, GIF or WebP) "
              "nor a video\n"
              "Error: tone.wav: no video stream in the file\n"
              "Error: cut.mp4: truncated or damaged video (mov,mp4,m4a,3gp,3g2,mj2)\n"
              "Reviewing clip.mp4 (1 of 1) as clip-*.png\n");

    Picture shot;
    ASSERT_TRUE(loadPicture(path("review/clip-effect-1.png").c_str(), shot).ok());
    EXPECT_EQ(nearestColour(shot.frames[0].pixels.get() + (24 * 64 + 32) * 3), 10 % 6);
    for (const char* view : {"effect-1", "effect-2", "effect-3", "effect-4", "day", "night"}) {
        const std::string file = path(std::string("review/clip-") + view + ".mp4");
        VideoInput input;
        ASSERT_TRUE(input.openFile(file.c_str()).ok()) << view;
        EXPECT_EQ(input.width(), 64) << view;
        EXPECT_EQ(input.height(), 48) << view;
        EXPECT_DOUBLE_EQ(input.frameRate(), 10) << view;
        std::vector<std::uint8_t> rgb(64 * 48 * 3);
        std::vector<int> colours;
        double seconds = 0;
        while (input.readFrame(rgb.data(), seconds) == VideoRead::frame && colours.size() < 100)
            colours.push_back(nearestColour(&rgb[(24 * 64 + 32) * 3]));
        EXPECT_EQ(colours.size(), 10u) << view;
        if (std::string(view) == "effect-1") {
            EXPECT_EQ(colours, (std::vector<int>{0, 1, 2, 3, 4, 5, 0, 1, 2, 3}));
        }
    }
    EXPECT_TRUE(std::filesystem::exists(path("review/contact-sheet.png")));
}

// A video damaged after its first frame plays on from what decodes next, and says so once.
TEST_F(UserVideosProcessTest, DamageAfterTheFirstFrameIsToldOnce) {
    ASSERT_TRUE(
        testclips::runFfmpeg({"-f", "lavfi", "-i", "testsrc=s=64x48:r=25:d=2", "-c:v", "libx264",
                              "-g", "10", "-pix_fmt", "yuv420p", path("whole.mp4")}));
    std::string bytes = testsupport::TempFolder::read(path("whole.mp4"));
    // Garbage over a tenth of the stream, a third of the way in.
    for (std::size_t i = bytes.size() / 3; i < bytes.size() / 3 + bytes.size() / 10; ++i)
        bytes[i] = static_cast<char>(i * 131 + 7);
    folder_.write("damaged.mp4", bytes);
    const auto result = runProcess(
        testsupport::programPath(),
        optionsWith({"--shots", "review", "--seconds", "1", "--size", "64x48", "damaged.mp4"}));
    EXPECT_EQ(result.exitStatus, 0) << result.errorText;
    const std::string warning =
        "Warning: damaged.mp4: damaged video data, skipped to the next frame it decodes\n";
    const std::size_t first = result.errorText.find(warning);
    EXPECT_NE(first, std::string::npos) << result.errorText;
    EXPECT_EQ(result.errorText.find(warning, first + 1), std::string::npos) << result.errorText;
}

// Space pauses and resumes the video, each with its console line; --stats reports it on
// standard error once a second and at exit.
TEST_F(UserVideosProcessTest, InRealUnitsTheStartUpLightLineGivesTheFirstFramesLight) {
    // Red throughout, so whichever frame is on the wall when the line comes has its light.
    ASSERT_TRUE(testclips::runFfmpeg({"-f", "lavfi", "-i", "color=c=0xe61e1e:s=64x48:r=25:d=2",
                                      "-pix_fmt", "yuv420p", path("clip.mp4")}));
    const std::string lightDay = "light day: mean ";
    ProcessOptions options = optionsWith({"--pitch", "10", "--wall", "64x48", "clip.mp4"});
    options.timeoutSeconds = 30;
    options.stopWhen = [&](const std::string& output) {
        const std::size_t at = output.find(lightDay);
        return at != std::string::npos && output.find('\n', at) != std::string::npos;
    };
    const auto result = runProcess(testsupport::programPath(), options);
    const std::size_t at = result.output.find(lightDay);
    ASSERT_NE(at, std::string::npos) << result.output;
    // Red (230, 30, 30) on the whole wall: Y = 0.2126 x 0.7913 + 0.7874 x 0.0130 = 0.1785,
    // 1071 of 6000 nits, give or take its coding (no frame yet would give 0).
    const int meanNits = std::atoi(result.output.c_str() + at + lightDay.size());
    EXPECT_GT(meanNits, 900) << result.output;
    EXPECT_LT(meanNits, 1250) << result.output;
}

TEST_F(UserVideosProcessTest, SpacePausesAndResumesAndStatsCountTheFramesShown) {
    ASSERT_EQ(testclips::writeColourClip(path("clip.mp4"), 64, 48, 25, 50), "");
    // The window may be mapped a little after the scene's lines are out, on a loaded machine.
    const auto typeWithRetries = [](const std::string& keys) {
        for (int attempt = 0; attempt < 100; ++attempt) {
            if (testsupport::typeIntoChildWindow(keys)) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return false;
    };
    bool typed = false, resumed = false, typedOk = false, closed = false;
    ProcessOptions options = optionsWith({"--stats", "clip.mp4"});
    options.timeoutSeconds = 30;
    options.stopWhen = [&](const std::string& output) {
        if (!typed && output.find("pixelSize = ") != std::string::npos) {
            typed = true;
            typedOk = typeWithRetries(" ");
            return !typedOk;
        }
        if (typed && !resumed && output.find("clip.mp4: paused\n") != std::string::npos) {
            resumed = true;
            // Long enough for a statistics line, then resume and stop.
            std::this_thread::sleep_for(std::chrono::milliseconds(1200));
            typedOk = typeWithRetries(" ");
            closed = testsupport::closeChildWindow();
            // Closed, the program exits by itself and prints its last statistics line.
            return !(typedOk && closed);
        }
        return false;
    };
    const auto result = runProcess(testsupport::programPath(), options);
    ASSERT_TRUE(typedOk) << "the program's window was not found";
    EXPECT_TRUE(closed);
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_NE(result.output.find("clip.mp4: paused\nclip.mp4: playing\n"), std::string::npos)
        << result.output;
    int lines = 0;
    std::istringstream text(result.errorText);
    for (std::string line; std::getline(text, line);) {
        unsigned long shown = 0, dropped = 0;
        double rate = -1;
        int end = 0;
        // The rate over the last second closes the line: 0 while paused, at most the clip's.
        if (std::sscanf(line.c_str(), "clip.mp4: %lu shown, %lu dropped, %lf fps%n", &shown,
                        &dropped, &rate, &end) == 3 &&
            end == static_cast<int>(line.size()) && rate >= 0 && rate <= 26)
            ++lines;
    }
    EXPECT_GE(lines, 2) << result.errorText;
}

}  // namespace

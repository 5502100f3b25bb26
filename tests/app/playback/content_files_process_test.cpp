// The real program with pictures of the user's, started from a folder of the test's own (not
// the repository root): the keys' console lines, the review files and the exit status.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "files/replacement_file.h"
#include "pictures/bmp_encoder.h"
#include "pictures/picture_encoders.h"
#include "pictures/picture_file.h"
#include "tests/support/process.h"
#include "tests/support/temp_folder.h"
#include "tests/support/x_keys.h"

namespace {

using testsupport::ProcessOptions;
using testsupport::runProcess;

using testsupport::kBanner;

std::vector<std::uint8_t> solidRgb(int width, int height, std::uint8_t r, std::uint8_t g,
                                   std::uint8_t b) {
    std::vector<std::uint8_t> rgb;
    for (int i = 0; i < width * height; ++i) rgb.insert(rgb.end(), {r, g, b});
    return rgb;
}

// A fresh folder outside the repository holding the pictures of a test.
class UserPicturesProcessTest : public testing::Test {
  protected:
    void SetUp() override { folder_ = temp_.folder(); }

    void write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        ASSERT_TRUE(writeFileBytes((folder_ / name).c_str(), bytes));
    }
    ProcessOptions optionsWith(std::vector<std::string> arguments) const {
        return testsupport::optionsIn(folder_.string(), std::move(arguments));
    }

    testsupport::TempFolder temp_;
    std::filesystem::path folder_;
};

}  // namespace

// Sizes whose sides share no divisor: 3013 x 1561 starts at cells of 16 pixels (189 LEDs
// along its width), a 48 x 48 icon at one LED per pixel; the damaged picture between them is
// reported and left out, so t goes from the first to the third and back, and = steps by one.
TEST_F(UserPicturesProcessTest, TCyclesThroughThePicturesThatLoadedWithTheirCellSizes) {
    const auto wide = solidRgb(3013, 1561, 200, 40, 40), small = solidRgb(48, 48, 40, 40, 200);
    write("wide.png", encodePng(3013, 1561, 3, wide.data()));
    write("broken.jpg", {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x02, 0xFF, 0xC0, 0x00});
    GifSpec gif{48, 48, {{40, 40, 200}, {0, 0, 0}}, {}};
    gif.frames.push_back({0, 0, 48, 48, std::vector<std::uint8_t>(48 * 48, 0)});
    write("small.gif", encodeGif(gif));

    const std::string started = kBanner + "Billboard I\npixelSize = 16\n\n";
    // t names the picture it turns to, with its LEDs at its starting cell size.
    const std::string expected = started +
                                 "small.gif: 48 x 48 LEDs\npixelSize = 1\npixelSize = 2\n"
                                 "wide.png: 189 x 98 LEDs\npixelSize = 16\npixelSize = 17\n";
    bool typed = false, typedOk = false;
    ProcessOptions options = optionsWith({"wide.png", "broken.jpg", "small.gif"});
    options.stopWhen = [&](const std::string& output) {
        if (!typed && output == started) {
            typed = true;
            typedOk = testsupport::typeIntoChildWindow("t=t=");
            return !typedOk;
        }
        return output.size() >= expected.size();
    };
    const auto result = runProcess(testsupport::programPath(), options);
    ASSERT_TRUE(typedOk) << "the program's window was not found; output:\n" << result.output;
    EXPECT_EQ(result.output, expected);
    EXPECT_EQ(result.errorText.rfind("Error: broken.jpg: truncated JPEG file\n", 0), 0u)
        << result.errorText;
}

TEST_F(UserPicturesProcessTest, ReviewWritesEveryViewOfEachPictureAndTellsOfTheMissingOne) {
    const auto red = solidRgb(64, 32, 230, 20, 20);
    write("red.png", encodePng(64, 32, 3, red.data()));
    const auto result = runProcess(
        testsupport::programPath(),
        optionsWith({"--shots", "review", "--size", "160x120", "red.png", "missing.png"}));
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.errorText,
              "Error: missing.png: file not found\nReviewing red.png (1 of 1) as red-*.png\n");
    for (const char* view : {"effect-1", "effect-2", "effect-3", "effect-4", "day", "night"}) {
        const auto path = folder_ / "review" / (std::string("red-") + view + ".png");
        Picture shot;
        const LoadOutcome outcome = loadPicture(path.c_str(), shot);
        ASSERT_TRUE(outcome.ok()) << path << ": " << outcome.reason;
        EXPECT_EQ(shot.width, 160);
        EXPECT_EQ(shot.height, 120);
        if (std::string(view) == "effect-1") {
            // The face fills the middle of the normal view: the picture's red, through the
            // shaders the program found from this other folder.
            const std::uint8_t* centre = shot.frames[0].pixels.get() + (60 * 160 + 80) * 3;
            EXPECT_GT(centre[0], 150);
            EXPECT_LT(centre[1], 80);
        }
        if (std::string(view) == "day") {
            // The top corner shows the day backdrop, found from this other folder too.
            const std::uint8_t* corner = shot.frames[0].pixels.get() + (119 * 160 + 2) * 3;
            EXPECT_GT(corner[0] + corner[1] + corner[2], 60);
        }
    }
    EXPECT_TRUE(std::filesystem::exists(folder_ / "review" / "contact-sheet.png"));
}

// A cut-short JPEG, and one whose damage stops the library after its data, are shown as far
// as they go: a warning, not an error, and exit status 0.
TEST_F(UserPicturesProcessTest, ACutShortOrDamagedJpegIsShownWithAWarning) {
    const auto rgb = solidRgb(64, 64, 200, 120, 40);
    const auto whole = encodeJpeg(64, 64, rgb.data(), 90);
    write("cut.jpg", std::vector<std::uint8_t>(whole.begin(), whole.end() - 40));
    std::vector<std::uint8_t> damaged = whole;
    damaged.insert(damaged.end() - 2, {0xFF, 0xC8, 0x00, 0x02});  // a marker of no meaning
    write("damaged.jpg", damaged);
    const auto result =
        runProcess(testsupport::programPath(),
                   optionsWith({"--shots", "review", "--size", "64x48", "cut.jpg", "damaged.jpg"}));
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.errorText,
              "Warning: cut.jpg: truncated JPEG file, shown as far as it goes\n"
              "Warning: damaged.jpg: damaged JPEG data (Unsupported JPEG process: SOF type 0xc8), "
              "shown as far as it decodes\n"
              "Reviewing cut.jpg (1 of 2) as cut-*.png\n"
              "Reviewing damaged.jpg (2 of 2) as damaged-*.png\n");
}

// An animated GIF has its --stats line like a video's, with the rate it was shown at.
TEST_F(UserPicturesProcessTest, StatsReportAnAnimatedGif) {
    GifSpec gif{16, 16, {{200, 40, 40}, {40, 40, 200}}, {}};
    for (std::uint8_t index : {0, 1})
        gif.frames.push_back({0, 0, 16, 16, std::vector<std::uint8_t>(16 * 16, index), 10});
    write("blink.gif", encodeGif(gif));
    const auto result =
        runProcess(testsupport::programPath(),
                   optionsWith({"--shots", "review", "--size", "64x48", "--stats", "blink.gif"}));
    EXPECT_EQ(result.exitStatus, 0);
    const std::size_t last = result.errorText.rfind("blink.gif: ");
    ASSERT_NE(last, std::string::npos) << result.errorText;
    const std::string lineEnd = result.errorText.substr(last);
    unsigned long shown = 0, dropped = 0;
    double rate = -1;
    int end = 0;
    ASSERT_EQ(std::sscanf(lineEnd.c_str(), "blink.gif: %lu shown, %lu dropped, %lf fps\n%n", &shown,
                          &dropped, &rate, &end),
              3)
        << result.errorText;
    EXPECT_EQ(end, static_cast<int>(lineEnd.size()));
    EXPECT_GE(shown, 2u) << result.errorText;
    EXPECT_GT(rate, 0) << result.errorText;
}

// A large photograph is decoded at the size its LEDs need (here a quarter) and looks as it
// does whole: each effect's shot matches the shot of the same pixels given losslessly.
TEST_F(UserPicturesProcessTest, ALargeJpegDecodedSmallerLooksAsItDoesWhole) {
    constexpr int kWidth = 2400, kHeight = 1600, kBlock = 24;  // two starting cells a block
    std::vector<std::uint8_t> rgb(std::size_t(kWidth) * kHeight * 3);
    std::uint32_t state = 7;
    constexpr int kBlocksAcross = (kWidth + kBlock - 1) / kBlock;  // the last row of blocks is cut
    constexpr int kBlocksDown = (kHeight + kBlock - 1) / kBlock;
    std::vector<std::uint8_t> blockColours(std::size_t(kBlocksAcross) * kBlocksDown * 3);
    for (auto& value : blockColours)
        value = std::uint8_t((state = state * 1103515245 + 12345) >> 24);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            for (int c = 0; c < 3; ++c)
                rgb[(std::size_t(y) * kWidth + x) * 3 + c] =
                    blockColours[(std::size_t(y / kBlock) * kBlocksAcross + x / kBlock) * 3 + c];
    write("photo.jpg", encodeJpeg(kWidth, kHeight, rgb.data(), 95));
    write("lossless.png", encodePng(kWidth, kHeight, 3, rgb.data()));
    // One run each: what one picture's review shows does not depend on the other's.
    for (const char* name : {"photo.jpg", "lossless.png"}) {
        const auto result =
            runProcess(testsupport::programPath(),
                       optionsWith({"--shots", "review", "--size", "480x360", name}));
        ASSERT_EQ(result.exitStatus, 0) << result.errorText;
    }
    for (const char* view : {"effect-1", "effect-2", "effect-3", "effect-4"}) {
        Picture photo, lossless;
        const std::string suffix = std::string("-") + view + ".png";
        ASSERT_TRUE(loadPicture((folder_ / "review" / ("photo" + suffix)).c_str(), photo).ok());
        ASSERT_TRUE(
            loadPicture((folder_ / "review" / ("lossless" + suffix)).c_str(), lossless).ok());
        ASSERT_EQ(photo.width, lossless.width);
        long long difference = 0;
        const std::size_t count = std::size_t(3) * photo.width * photo.height;
        for (std::size_t i = 0; i < count; ++i)
            difference += std::abs(photo.frames[0].pixels[i] - lossless.frames[0].pixels[i]);
        // Without the texture's levels shifted by the reduction the mean is about 5 to 20.
        EXPECT_LT(double(difference) / count, 1.0) << view;
    }
}

TEST_F(UserPicturesProcessTest, WithNoPictureThatLoadsTheProgramStopsBeforeAWindow) {
    write("notes.png", {'n', 'o', 't', 'e', 's'});
    ProcessOptions options = optionsWith({"notes.png", "gone.gif"});
    options.environment = {"DISPLAY=:none"};  // a window could not open here
    const auto result = runProcess(testsupport::programPath(), options);
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.output, kBanner);
    EXPECT_EQ(result.errorText,
              "Error: notes.png: unknown format: neither a picture (BMP, PNG, JPEG, GIF or WebP) "
              "nor a video\n"
              "Error: gone.gif: file not found\n");
}

// The installed program runs from anywhere with the data installed beside it.
TEST_F(UserPicturesProcessTest, InstalledProgramReviewsPicturesFromAnyFolder) {
    const auto red = solidRgb(40, 20, 230, 20, 20);
    write("red.png", encodePng(40, 20, 3, red.data()));
    const std::string prefix = (folder_ / "installed").string();
    ProcessOptions install;
    install.arguments = {"--install", GLIMMER_BINARY_DIR, "--prefix", prefix};
    install.timeoutSeconds = 60;
    const auto installed = runProcess(GLIMMER_CMAKE_COMMAND, install);
    ASSERT_EQ(installed.exitStatus, 0) << installed.errorText;
    for (const char* file :
         {"bin/objconv", "share/glimmerboard/Shaders/billboard1.frag",
          "share/glimmerboard/Textures/dayGrass.bmp", "share/glimmerboard/Models/billboard.obj"}) {
        EXPECT_TRUE(std::filesystem::exists(folder_ / "installed" / file)) << file;
    }
    const auto result =
        runProcess(prefix + "/bin/glimmerboard",
                   optionsWith({"--shots", "review", "--size", "64x48", "red.png"}));
    EXPECT_EQ(result.exitStatus, 0) << result.errorText;
    EXPECT_TRUE(std::filesystem::exists(folder_ / "review" / "red-night.png"));
}

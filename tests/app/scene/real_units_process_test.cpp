// The real program in real units: the viewer and light lines at start-up and on their keys, the
// review's pictures from the viewer with the light lines of day and night, and a mistake in
// the options ending it before any window.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "files/replacement_file.h"
#include "pictures/picture_encoders.h"
#include "pictures/picture_file.h"
#include "tests/support/process.h"
#include "tests/support/temp_folder.h"
#include "tests/support/x_keys.h"

namespace {

using testsupport::kBanner;
using testsupport::ProcessOptions;
using testsupport::runProcess;

const std::string kViewerAt60 =
    "viewer: distance 60.0 m, eye 1.5 m, angle 0 deg; wall 14.62 x 4.30 m, 914 x 269 LEDs, "
    "pitch 16.0 mm; LED 0.91 arcmin; LEDs resolved within 55.0 m (20/20)\n";

}  // namespace

TEST(RealUnitsProcessTest, TheViewerLineAtStartUpAndOnTheViewersKeys) {
    const std::string viewerStarted = kBanner + "Billboard I\npixelSize = 1\n\n" + kViewerAt60;
    // The light line follows the viewer line, at start-up and again, unchanged, on v.
    const std::string lightDay = "light day: mean ";
    std::string started, expected;
    bool typed = false, typedOk = false;
    ProcessOptions options;
    options.arguments = {"--pitch", "16", "--wall", "14.63x4.3m", "--viewer", "60"};
    options.timeoutSeconds = 60;
    options.stopWhen = [&](const std::string& output) {
        if (!typed && output.size() > viewerStarted.size() && output.back() == '\n' &&
            output.rfind(viewerStarted + lightDay, 0) == 0) {
            started = output;
            // m: 75 m away, sqrt(75² + 4.652²) = 75.144 m, where 16 mm spans 0.732 arcminutes.
            expected = started + kViewerAt60 + output.substr(viewerStarted.size()) +
                       "viewer: distance 75.0 m, eye 1.5 m, angle 0 deg; wall 14.62 x 4.30 m, "
                       "914 x 269 LEDs, pitch 16.0 mm; LED 0.73 arcmin; LEDs resolved within "
                       "55.0 m (20/20)\n"
                       "pixelSize = 1\n";
            typed = true;
            typedOk = testsupport::typeIntoChildWindow("vm=");
            return !typedOk;
        }
        return typed && output.size() >= expected.size();
    };
    const auto result = runProcess(testsupport::programPath(), options);
    ASSERT_TRUE(typedOk) << "the program's window was not found; output:\n" << result.output;
    EXPECT_EQ(result.output, expected);
    // 914 x 269 LEDs of 16 mm: 62.94 m², so the guideline measures at 10 x 7.933 m = 79.3 m.
    EXPECT_NE(started.find("; contrast 12.8:1 at 40000 lux; "), std::string::npos) << started;
    EXPECT_NE(started.find(" fc at 79.3 m; "), std::string::npos) << started;
}

TEST(RealUnitsProcessTest, TheReviewAddsTheViewersPictures) {
    const testsupport::TempFolder temp;
    const std::filesystem::path folder = temp.folder();
    std::vector<std::uint8_t> rgb(32 * 16 * 3, 200);
    ASSERT_TRUE(writeFileBytes((folder / "grey.png").c_str(), encodePng(32, 16, 3, rgb.data())));
    ProcessOptions options;
    options.arguments = {"--pitch", "10",     "--viewer", "20",      "--shots",
                         "review",  "--size", "160x120",  "grey.png"};
    options.workingDirectory = folder.string();
    options.timeoutSeconds = 90;
    const auto result = runProcess(testsupport::programPath(), options);
    EXPECT_EQ(result.exitStatus, 0) << result.errorText;
    // 0.64 x 0.32 m, centre 4.16 m up: sqrt(20² + 2.66²) = 20.176 m, 1.70 arcminutes a pitch.
    const std::string line =
        "viewer: distance 20.0 m, eye 1.5 m, angle 0 deg; wall 0.64 x 0.32 m, 64 x 32 LEDs, "
        "pitch 10.0 mm; LED 1.70 arcmin; LEDs resolved within 34.4 m (20/20)\n";
    // Level 200 is 0.5776 of white's light on all 0.2048 m²: 3465 nits by day, 173 at night;
    // the guideline's distance is 10 x sqrt(0.2048) = 4.53 m, where the wall gives a hundredth
    // of its mean luminance in lux (34.7 and 1.73 lux, 3.22 and 0.16 fc); 600 W/m² x 0.2048 m²
    // scaled by 3465 / 6000 is 71 W.
    const std::string lightDay =
        "light day: mean 3465 nits, peak 6000 nits; contrast 12.8:1 at 40000 lux; 3.22 fc at "
        "4.5 m; 0.1 kW\n";
    const std::string lightNight =
        "light night: mean 173 nits, peak 300 nits; contrast 2357:1 at 10 lux; 0.16 fc at 4.5 m; "
        "0.0 kW\n";
    EXPECT_NE(result.output.find(line + lightDay + line + lightDay + lightNight), std::string::npos)
        << result.output;
    for (const char* view : {"day", "viewer", "viewer-night", "eye"}) {
        Picture shot;
        const auto path = folder / "review" / (std::string("grey-") + view + ".png");
        EXPECT_TRUE(loadPicture(path.c_str(), shot).ok()) << path;
        EXPECT_EQ(shot.width, 160);
    }
}

TEST(RealUnitsProcessTest, AMistakeEndsWithTheUsageBeforeAnyWindow) {
    ProcessOptions options;
    options.arguments = {"--viewer", "30"};
    options.environment = {"DISPLAY=:none"};  // a window could not open here
    const auto result = runProcess(testsupport::programPath(), options);
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_EQ(result.output, "");
    EXPECT_EQ(result.errorText.rfind("glimmerboard: --viewer needs --pitch\nusage:", 0), 0u)
        << result.errorText;
}

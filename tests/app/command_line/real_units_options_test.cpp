// The options of the wall in real units, as the command line reads them.
#include "app/command_line/real_units_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/command_line/command_line.h"
#include "tests/app/command_line/parse_arguments.h"

TEST(RealUnitsOptionsTest, TheWallInMetresBecomesTheNearestWholeLeds) {
    const CommandLine line = parse({"--wall", "14.63x4.3m", "--pitch", "16"});
    ASSERT_TRUE(line.error.empty()) << line.error;
    const WallSetup& setup = line.realUnits.setup;
    EXPECT_TRUE(setup.realUnits);
    EXPECT_EQ(setup.widthLeds, 914);
    EXPECT_EQ(setup.heightLeds, 269);
    EXPECT_EQ(line.feeds.layout.width, 914);  // the feeds draw on the same wall
    EXPECT_DOUBLE_EQ(setup.wallWidthMetres(), 14.624);
    EXPECT_DOUBLE_EQ(setup.viewer.distanceMetres, 3438 * 0.016);
}

TEST(RealUnitsOptionsTest, TheWallInLedsTakesThePitch) {
    const CommandLine line = parse({"--pitch", "2.5", "--wall", "640x360", "--viewer", "12,1.7,-30",
                                    "--eye", "6/12", "--mount", "0", "--fit", "cover"});
    ASSERT_TRUE(line.error.empty()) << line.error;
    const WallSetup& setup = line.realUnits.setup;
    EXPECT_EQ(setup.widthLeds, 640);
    EXPECT_EQ(setup.heightLeds, 360);
    EXPECT_DOUBLE_EQ(setup.wallHeightMetres(), 0.9);
    EXPECT_DOUBLE_EQ(setup.viewer.distanceMetres, 12);
    EXPECT_DOUBLE_EQ(setup.viewer.eyeHeightMetres, 1.7);
    EXPECT_NEAR(setup.viewer.angleRadians, -0.5235988, 1e-7);
    EXPECT_DOUBLE_EQ(setup.decimalAcuity, 0.5);
    EXPECT_EQ(setup.mountMetres, 0);
    EXPECT_EQ(setup.fit, WallFit::cover);
    // Without --pitch the default wall stays as the feeds had it, and real units stay off.
    const CommandLine plain = parse({"--fit", "stretch"});
    EXPECT_TRUE(plain.error.empty());
    EXPECT_FALSE(plain.realUnits.setup.realUnits);
    EXPECT_EQ(plain.feeds.layout.width, 64);
}

TEST(RealUnitsOptionsTest, MistakesNameTheOption) {
    const auto errorOf = [](std::vector<std::string> arguments) {
        return parse(std::move(arguments)).error;
    };
    for (const char* pitch : {"0", "-3", "ten", "16mm"})
        EXPECT_EQ(errorOf({"--pitch", pitch}).rfind("--pitch needs", 0), 0u) << pitch;
    EXPECT_EQ(errorOf({"--pitch", "10", "--wall", "0x5m"}).rfind("--wall needs", 0), 0u);
    EXPECT_EQ(errorOf({"--pitch", "10", "--wall", "0.001x5m"}).rfind("--wall needs", 0), 0u);
    EXPECT_EQ(errorOf({"--wall", "3x2m"}), "--wall in metres needs --pitch");
    EXPECT_EQ(errorOf({"--pitch", "10", "--viewer", "-3"}).rfind("--viewer needs", 0), 0u);
    EXPECT_EQ(errorOf({"--pitch", "10", "--viewer", "5,1.5,95"}).rfind("--viewer needs", 0), 0u);
    EXPECT_EQ(errorOf({"--pitch", "10", "--eye", "20/0"}).rfind("--eye needs", 0), 0u);
    EXPECT_EQ(errorOf({"--fit", "fill"}), "--fit needs contain, cover or stretch");
    EXPECT_EQ(errorOf({"--viewer", "10"}), "--viewer needs --pitch");
    EXPECT_EQ(errorOf({"--eye", "20/20"}), "--eye needs --pitch");
    EXPECT_EQ(errorOf({"--mount", "2"}), "--mount needs --pitch");
    EXPECT_EQ(errorOf({"--pitch"}), "--pitch needs a value");
}

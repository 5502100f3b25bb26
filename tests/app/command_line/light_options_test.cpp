// The light options as the real command line reads them, and a wrong one stopping the real
// program before its window with the usage error.
#include "app/command_line/light_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/command_line/command_line.h"
#include "tests/app/command_line/parse_arguments.h"
#include "tests/support/process.h"

namespace {

TEST(LightOptionsTest, DayAndNightValuesAreReadAndANightLeftOutKeepsItsDefault) {
    const LightSettings defaults = parse({}).light;
    EXPECT_EQ(defaults.peakNitsDay, 6000);
    EXPECT_EQ(defaults.peakNitsNight, 300);
    EXPECT_EQ(defaults.ambientLuxDay, 40000);
    EXPECT_EQ(defaults.ambientLuxNight, 10);
    EXPECT_EQ(defaults.wattsPerSquareMetre, 600);

    const CommandLine line =
        parse({"--nits", "1500", "--ambient", "100000,2.5", "--watts", "450", "a.png"});
    EXPECT_TRUE(line.error.empty()) << line.error;
    EXPECT_EQ(line.light.peakNitsDay, 1500);
    EXPECT_EQ(line.light.peakNitsNight, 300);
    EXPECT_EQ(line.light.ambientLuxDay, 100000);
    EXPECT_EQ(line.light.ambientLuxNight, 2.5);
    EXPECT_EQ(line.light.wattsPerSquareMetre, 450);
    EXPECT_EQ(line.pictures, std::vector<std::string>{"a.png"});
    EXPECT_EQ(parse({"--nits", "8000,100000"}).light.peakNitsNight, 100000);
}

TEST(LightOptionsTest, NegativeZeroNonNumericOrTooBrightValuesNameTheirOption) {
    const std::string nits = "--nits needs DAY[,NIGHT], luminances above 0 and at most 100000 nits";
    const std::string ambient = "--ambient needs DAY[,NIGHT], illuminances above 0 lux";
    const std::string watts = "--watts needs a power above 0 watts a square metre";
    for (const char* value : {"-5", "0", "bright", "6000,", "6000,0", "6000,100001", "6000x", "inf",
                              "nan", "6000,300,10"})
        EXPECT_EQ(parse({"--nits", value}).error, nits) << value;
    for (const char* value : {"-1", "0", "40000,-10", "dusk"})
        EXPECT_EQ(parse({"--ambient", value}).error, ambient) << value;
    for (const char* value : {"0", "-600", "600W"})
        EXPECT_EQ(parse({"--watts", value}).error, watts) << value;
    EXPECT_EQ(parse({"--watts"}).error, "--watts needs a value");
}

TEST(LightOptionsTest, AWrongLightOptionExitsWithStatusTwoBeforeAnyWindow) {
    testsupport::ProcessOptions options;
    options.arguments = {"--nits", "6000,200000"};
    const testsupport::ProcessResult result =
        testsupport::runProcess(testsupport::programPath(), options);
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_EQ(result.output, "");  // not even the banner
    EXPECT_EQ(result.errorText.rfind("glimmerboard: --nits needs DAY[,NIGHT]", 0), 0u)
        << result.errorText;
    EXPECT_NE(result.errorText.find("  --nits DAY[,NIGHT]  "), std::string::npos);  // the usage
}

}  // namespace

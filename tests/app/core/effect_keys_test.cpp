// The key table without a window: the console bytes that key sequences print, the limits,
// what the presets and the reset set, and that each console line has left the program by the
// time the key returns, even into a pipe.
#include "app/core/effect_keys.h"
#include "app/core/run_state.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/core/starting_view.h"
#include "effects/effect_programs.h"
#include "physical/wall_setup.h"

namespace {

class EffectKeysTest : public testing::Test {
  protected:
    void SetUp() override {
        for (int i = 0; i < kEffectCount; ++i) effectPrograms[i] = GLhandleARB(201 + i);
        catalogue.pictures[0] = {3, 81, 27};
        catalogue.pictures[1] = {2, 300, 200};
        catalogue.pictures[2] = {5, 7, 5};
        state.program = effectPrograms[0];
        state.pixelSize = 9;
        placeCamera(viewer, kStartingView);
    }

    // Applies the keys with standard output captured; returns the captured text.
    std::string press(const std::string& keys) {
        testing::internal::CaptureStdout();
        for (char key : keys) applyKey(static_cast<unsigned char>(key), state, catalogue, viewer);
        return testing::internal::GetCapturedStdout();
    }

    EffectParameters state;
    PictureCatalogue catalogue;
    Camera viewer;
};

// The whole parameter set as one line, so a failure shows every field of both sets. The
// expected sets are written in the record's order: mode, program, picture, pictureCount,
// pixelSize, pixelRadius, tolerance, luminanceSteps, luminanceBoost, colorBoost,
// burntOutPercent, dayScene, nightScene.
std::string describe(const EffectParameters& p) {
    char text[512];
    std::snprintf(text, sizeof text,
                  "mode %d, program %u, picture %d of %d, pixelSize %d, pixelRadius %.9g, "
                  "tolerance %.9g, luminanceSteps %d, luminanceBoost %.9g, colorBoost %.9g, "
                  "burntOutPercent %.9g, day %d, night %d",
                  p.mode, unsigned(p.program), p.picture, p.pictureCount, p.pixelSize,
                  p.pixelRadius, p.tolerance, p.luminanceSteps, p.luminanceBoost, p.colorBoost,
                  p.burntOutPercent, p.dayScene, p.nightScene);
    return text;
}

void expectParameters(const EffectParameters& got, const EffectParameters& want) {
    EXPECT_EQ(describe(got), describe(want));
}

TEST_F(EffectKeysTest, DayPresetSetsItsWholeParameterSet) {
    press("tt]]9999,,x");
    press("1");
    expectParameters(
        state, {3, effectPrograms[3], 0, 2, 9, 0.6f, 0.3f, 16, -0.25f, 0.03f, 0.2f, true, false});
}

TEST_F(EffectKeysTest, NightPresetSetsItsWholeParameterSet) {
    press("t]]ccc'");
    press("2");
    expectParameters(
        state, {3, effectPrograms[3], 0, 2, 9, 0.6f, 0.5f, 16, 0.13f, 0.075f, 0.2f, false, true});
}

TEST_F(EffectKeysTest, InRealUnitsThePresetsLeaveTheLuminanceBoostAsItIs) {
    wallSetup.realUnits = true;
    press("t]]ccc'");
    press("2");
    const EffectParameters night = state;
    press("1");
    wallSetup.realUnits = false;
    expectParameters(
        night, {3, effectPrograms[3], 0, 2, 9, 0.6f, 0.5f, 16, 0.005f, 0.075f, 0.2f, false, true});
    EXPECT_EQ(state.luminanceBoost, 0.005f);
}

TEST_F(EffectKeysTest, ResetRestoresTheStartingValuesAndClearsBothScenes) {
    press("2t]0'.cpb");
    press("r");
    expectParameters(
        state, {0, effectPrograms[0], 1, 6, 6, 0.6f, 0.3f, 12, 0.0f, 0.03f, 0.2f, false, false});
}

TEST_F(EffectKeysTest, FloatStepIsStoredAsAFloatBeforeItIsLimited) {
    state.tolerance = 0.9975f;
    press("0");
    EXPECT_EQ(state.tolerance, 1.0f);
    state.tolerance = 0.5f;
    press("0");
    EXPECT_EQ(state.tolerance, float(double(0.5f) + 0.005));
}

TEST_F(EffectKeysTest, WalkingKeysWalkHalfAUnit) {
    press("d");
    EXPECT_NEAR(viewer.getPosition().x, 0.5f, 1e-6);
    press("aa");
    EXPECT_NEAR(viewer.getPosition().x, -0.5f, 1e-6);
    const Vector3 before = viewer.getPosition();
    press("w");
    EXPECT_NEAR(magnitude(viewer.getPosition() - before), 0.5f, 1e-5);
    press("s");
    EXPECT_NEAR(magnitude(viewer.getPosition() - before), 0.0f, 1e-5);
}

TEST_F(EffectKeysTest, PrintEffectShowsTheCurrentEffectOnly) {
    state.mode = 0;
    testing::internal::CaptureStdout();
    printEffect(state);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Billboard I\npixelSize = 9\n\n");
}

// Standard output pointed at a pipe is fully buffered by the C library; the line must be in
// the pipe as soon as the key returns, without anyone flushing.
TEST_F(EffectKeysTest, EachLineIsInThePipeWhenTheKeyReturns) {
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    std::fflush(stdout);
    const int savedOut = dup(STDOUT_FILENO);
    dup2(ends[1], STDOUT_FILENO);
    fcntl(ends[0], F_SETFL, O_NONBLOCK);

    applyKey('.', state, catalogue, viewer);
    char buffer[256] = {};
    const ssize_t got = read(ends[0], buffer, sizeof buffer - 1);
    applyKey('l', state, catalogue, viewer);
    char cameraLine[256] = {};
    const ssize_t gotCamera = read(ends[0], cameraLine, sizeof cameraLine - 1);

    std::fflush(stdout);
    dup2(savedOut, STDOUT_FILENO);
    close(savedOut);
    close(ends[0]);
    close(ends[1]);
    EXPECT_EQ(std::string(buffer, got > 0 ? size_t(got) : 0), "luminance_steps = 13\n");
    EXPECT_GT(gotCamera, 0);  // even the camera line, which has no newline at its end
}

const char* const kResetPrintout =
    "Billboard I\n"
    "pixelSize = %i\n"
    "pixelRadius [0.0,1.0] = 0.600000\n"
    "tolerance [0.0,1.0] = 0.300000\n"
    "luminance_steps = 12\n"
    "luminance_boost [-1.0,1.0] = 0.000000\n"
    "color_boost [0.0,1.0] = 0.030000\n"
    "burnt_out_percent [0.0,1.0] = 0.200000\n\n";

std::string resetPrintout(int pixelSize) {
    char text[512];
    std::snprintf(text, sizeof text, kResetPrintout, pixelSize);
    return text;
}

bool sameState(const EffectParameters& a, const EffectParameters& b) {
    return a.mode == b.mode && a.program == b.program && a.picture == b.picture &&
           a.pictureCount == b.pictureCount && a.pixelSize == b.pixelSize &&
           a.pixelRadius == b.pixelRadius && a.tolerance == b.tolerance &&
           a.luminanceSteps == b.luminanceSteps && a.luminanceBoost == b.luminanceBoost &&
           a.colorBoost == b.colorBoost && a.burntOutPercent == b.burntOutPercent &&
           a.dayScene == b.dayScene && a.nightScene == b.nightScene;
}

// The key commands as the user meets them: the console bytes that key sequences print, with
// six pictures of other sizes, one of which failed to load.
class KeyboardTest : public EffectKeysTest {
  protected:
    void SetUp() override {
        EffectKeysTest::SetUp();
        catalogue.pictures[0] = {2, 256, 256};
        catalogue.pictures[1] = {2, 300, 200};
        catalogue.pictures[2] = {3, 81, 27};
        catalogue.pictures[3] = {5, 7, 5};
        catalogue.pictures[4] = {2, 0, 0};  // failed to load
        catalogue.pictures[5] = {2, 512, 256};
        state.pixelSize = 6;
    }

    static std::string repeat(const std::string& line, int times) {
        std::string text;
        for (int i = 0; i < times; ++i) text += line;
        return text;
    }

    // A parameter set to `start`, then `keys` pressed: each key prints the limit's `line`.
    struct Stop {
        float EffectParameters::*parameter;
        float start;
        std::string keys;
        std::string line;
    };
    void expectStops(const std::vector<Stop>& stops) {
        for (const Stop& stop : stops) {
            state.*stop.parameter = stop.start;
            EXPECT_EQ(press(stop.keys), repeat(stop.line, int(stop.keys.size()))) << stop.keys;
        }
    }
};

TEST_F(KeyboardTest, FloatKeysStepByFiveThousandthsOnBothCharactersOfTheKeyCap) {
    EXPECT_EQ(press("]}"), "pixelRadius [0.0,1.0] = 0.605000\npixelRadius [0.0,1.0] = 0.610000\n");
    EXPECT_EQ(press("[{["),
              "pixelRadius [0.0,1.0] = 0.605000\npixelRadius [0.0,1.0] = 0.600000\n"
              "pixelRadius [0.0,1.0] = 0.595000\n");
    EXPECT_EQ(press("0)9("),
              "tolerance [0.0,1.0] = 0.305000\ntolerance [0.0,1.0] = 0.310000\n"
              "tolerance [0.0,1.0] = 0.305000\ntolerance [0.0,1.0] = 0.300000\n");
    EXPECT_EQ(press("cCxX"),
              "color_boost [0.0,1.0] = 0.035000\ncolor_boost [0.0,1.0] = 0.040000\n"
              "color_boost [0.0,1.0] = 0.035000\ncolor_boost [0.0,1.0] = 0.030000\n");
    EXPECT_EQ(press("pPoO"),
              "burnt_out_percent [0.0,1.0] = 0.205000\n"
              "burnt_out_percent [0.0,1.0] = 0.210000\n"
              "burnt_out_percent [0.0,1.0] = 0.205000\n"
              "burnt_out_percent [0.0,1.0] = 0.200000\n");
    // The step is added in double precision to the stored float, so stepping back to zero
    // leaves a residue of the float's rounding: a negative one prints as "-0.000000".
    EXPECT_EQ(press("'\";:;"),
              "luminance_boost [0.0,1.0] = 0.005000\n"
              "luminance_boost [0.0,1.0] = 0.010000\n"
              "luminance_boost [0.0,1.0] = 0.005000\n"
              "luminance_boost [0.0,1.0] = -0.000000\n"
              "luminance_boost [0.0,1.0] = -0.005000\n");
}

TEST_F(KeyboardTest, FloatKeysStopAtTheUpperLimitAndPrintIt) {
    expectStops({{&EffectParameters::pixelRadius, 1.0f, "]", "pixelRadius [0.0,1.0] = 1.000000\n"},
                 {&EffectParameters::tolerance, 0.998f, ")0", "tolerance [0.0,1.0] = 1.000000\n"},
                 {&EffectParameters::colorBoost, 0.999f, "c", "color_boost [0.0,1.0] = 1.000000\n"},
                 {&EffectParameters::burntOutPercent, 0.9999f, "P",
                  "burnt_out_percent [0.0,1.0] = 1.000000\n"},
                 {&EffectParameters::luminanceBoost, 0.997f, "\"'",
                  "luminance_boost [0.0,1.0] = 1.000000\n"}});
    EXPECT_EQ(state.luminanceBoost, 1.0f);
}

TEST_F(KeyboardTest, FloatKeysStopAtTheLowerLimitAndPrintIt) {
    expectStops(
        {{&EffectParameters::luminanceBoost, -1.0f, ";", "luminance_boost [0.0,1.0] = -1.000000\n"},
         {&EffectParameters::luminanceBoost, -0.998f, ":",
          "luminance_boost [0.0,1.0] = -1.000000\n"},
         {&EffectParameters::pixelRadius, 0.002f, "[{", "pixelRadius [0.0,1.0] = 0.000000\n"},
         {&EffectParameters::tolerance, 0.0f, "9", "tolerance [0.0,1.0] = 0.000000\n"},
         {&EffectParameters::colorBoost, 0.001f, "X", "color_boost [0.0,1.0] = 0.000000\n"},
         {&EffectParameters::burntOutPercent, 0.003f, "o",
          "burnt_out_percent [0.0,1.0] = 0.000000\n"}});
    EXPECT_EQ(state.burntOutPercent, 0.0f);
}

TEST_F(KeyboardTest, LuminanceStepsStopAtZeroAndHaveNoUpperLimit) {
    state.luminanceSteps = 1;
    EXPECT_EQ(press(",<,"), repeat("luminance_steps = 0\n", 3));
    state.luminanceSteps = 1000;
    EXPECT_EQ(press(".>"), "luminance_steps = 1001\nluminance_steps = 1002\n");
}

TEST_F(KeyboardTest, PixelSizeStopsAtTheSmallerSideAndNeverDropsBelowOneStep) {
    state.picture = 1;  // 300 by 200, step 2
    state.pixelSize = 196;
    EXPECT_EQ(press("=+="), "pixelSize = 198\npixelSize = 200\npixelSize = 200\n");
    state.pixelSize = 4;
    EXPECT_EQ(press("-_-"), repeat("pixelSize = 2\n", 3));
    state.picture = 2;  // 81 by 27, step 3
    state.pixelSize = 6;
    EXPECT_EQ(press("--="), "pixelSize = 3\npixelSize = 3\npixelSize = 6\n");
}

TEST_F(KeyboardTest, PixelSizeOfAPictureThatFailedToLoadStaysAtItsStep) {
    state.picture = 4;  // 0 by 0, step 2
    state.pixelSize = 6;
    EXPECT_EQ(press("==--"), repeat("pixelSize = 2\n", 4));
    EXPECT_EQ(state.pixelSize, 2);
}

TEST_F(KeyboardTest, PictureKeyCyclesThroughAllSixAndRestartsTheCellSize) {
    EXPECT_EQ(press("tttttt"),
              "pixelSize = 6\npixelSize = 9\npixelSize = 15\npixelSize = 6\n"
              "pixelSize = 6\npixelSize = 6\n");
    EXPECT_EQ(state.picture, 0);
}

TEST_F(KeyboardTest, EffectKeyPrintsEachEffectsParametersAndWraps) {
    state.pixelSize = 8;
    state.luminanceBoost = -0.25f;
    EXPECT_EQ(press("b"),
              "Billboard II\npixelSize = 8\npixelRadius [0.0,1.0] = 0.600000\n"
              "tolerance [0.0,1.0] = 0.300000\n\n");
    EXPECT_EQ(state.program, effectPrograms[1]);
    EXPECT_EQ(press("b"),
              "Billboard III\npixelSize = 8\npixelRadius [0.0,1.0] = 0.600000\n"
              "tolerance [0.0,1.0] = 0.300000\nluminance_steps = 12\n"
              "luminance_boost [-1.0,1.0] = -0.250000\n\n");
    EXPECT_EQ(press("b"),
              "Billboard IV\npixelSize = 8\npixelRadius [0.0,1.0] = 0.600000\n"
              "tolerance [0.0,1.0] = 0.300000\nluminance_steps = 12\n"
              "luminance_boost [-1.0,1.0] = -0.250000\ncolor_boost [0.0,1.0] = 0.030000\n"
              "burnt_out_percent [0.0,1.0] = 0.200000\n\n");
    EXPECT_EQ(state.program, effectPrograms[3]);
    EXPECT_EQ(press("b"), "Billboard I\npixelSize = 8\n\n");
    EXPECT_EQ(state.mode, 0);
    EXPECT_EQ(state.program, effectPrograms[0]);
}

TEST_F(KeyboardTest, ResetRestoresEverythingButThePictureAndTheCamera) {
    press("tt]]]0cp''...bb");
    viewer.strafe(3);
    const Vector3 eye = viewer.getPosition();
    EXPECT_EQ(press("r"), resetPrintout(9));
    EXPECT_EQ(state.picture, 2);
    EXPECT_EQ(state.mode, 0);
    EXPECT_EQ(state.program, effectPrograms[0]);
    EXPECT_EQ(viewer.getPosition().x, eye.x);
}

TEST_F(KeyboardTest, DayPresetSwitchesOnSilentlyAndOffWithTheResetPrintout) {
    EXPECT_EQ(press("1"), "");
    EXPECT_TRUE(state.dayScene);
    EXPECT_EQ(state.mode, 3);
    EXPECT_EQ(press("b"),
              "Billboard I\npixelSize = 6\n\n");  // the effect key leaves the scene as it is
    EXPECT_TRUE(state.dayScene);
    EXPECT_EQ(press("1"), resetPrintout(6));
    EXPECT_FALSE(state.dayScene);
    EXPECT_FALSE(state.nightScene);
}

TEST_F(KeyboardTest, PresetsPrintTheirValuesThroughTheFourthEffect) {
    press("1");
    EXPECT_EQ(press("bbbb"),
              "Billboard I\npixelSize = 6\n\n"
              "Billboard II\npixelSize = 6\npixelRadius [0.0,1.0] = 0.600000\n"
              "tolerance [0.0,1.0] = 0.300000\n\n"
              "Billboard III\npixelSize = 6\npixelRadius [0.0,1.0] = 0.600000\n"
              "tolerance [0.0,1.0] = 0.300000\nluminance_steps = 16\n"
              "luminance_boost [-1.0,1.0] = -0.250000\n\n"
              "Billboard IV\npixelSize = 6\npixelRadius [0.0,1.0] = 0.600000\n"
              "tolerance [0.0,1.0] = 0.300000\nluminance_steps = 16\n"
              "luminance_boost [-1.0,1.0] = -0.250000\ncolor_boost [0.0,1.0] = 0.030000\n"
              "burnt_out_percent [0.0,1.0] = 0.200000\n\n");
    EXPECT_EQ(press("2bbbb"),
              "Billboard I\npixelSize = 6\n\n"
              "Billboard II\npixelSize = 6\npixelRadius [0.0,1.0] = 0.600000\n"
              "tolerance [0.0,1.0] = 0.500000\n\n"
              "Billboard III\npixelSize = 6\npixelRadius [0.0,1.0] = 0.600000\n"
              "tolerance [0.0,1.0] = 0.500000\nluminance_steps = 16\n"
              "luminance_boost [-1.0,1.0] = 0.130000\n\n"
              "Billboard IV\npixelSize = 6\npixelRadius [0.0,1.0] = 0.600000\n"
              "tolerance [0.0,1.0] = 0.500000\nluminance_steps = 16\n"
              "luminance_boost [-1.0,1.0] = 0.130000\ncolor_boost [0.0,1.0] = 0.075000\n"
              "burnt_out_percent [0.0,1.0] = 0.200000\n\n");
}

TEST_F(KeyboardTest, PresetsSwitchStraightOverToEachOther) {
    press("tt");
    EXPECT_EQ(press("2"), "");
    EXPECT_TRUE(state.nightScene);
    EXPECT_EQ(state.picture, 0);
    EXPECT_EQ(state.program, effectPrograms[3]);
    EXPECT_EQ(press("1"), "");
    EXPECT_TRUE(state.dayScene);
    EXPECT_FALSE(state.nightScene);
    EXPECT_EQ(press("2"), "");
    EXPECT_FALSE(state.dayScene);
    EXPECT_TRUE(state.nightScene);
    EXPECT_EQ(press("2"), resetPrintout(6));
    EXPECT_FALSE(state.dayScene || state.nightScene);
    EXPECT_EQ(state.pictureCount, 6);
}

TEST_F(KeyboardTest, PictureKeyAlternatesBetweenTwoPicturesInAPreset) {
    press("1");
    EXPECT_EQ(press("ttt"), "pixelSize = 6\npixelSize = 6\npixelSize = 6\n");
    EXPECT_EQ(state.picture, 1);
    press("r");  // back to six pictures, picture 1 kept
    EXPECT_EQ(press("tt"), "pixelSize = 9\npixelSize = 15\n");
}

TEST_F(KeyboardTest, CameraLineShowsThePlacementWithoutATrailingNewline) {
    EXPECT_EQ(press("l"),
              "0.000000 20.000000 60.000000 \n\tat 0.000000 19.916954 59.003456 \n\tup "
              "0.000000 1.000000 0.000000");
    EXPECT_EQ(press("dl"),
              "0.500000 20.000000 60.000000 \n\tat 0.500000 19.916954 59.003456 \n\tup "
              "0.000000 1.000000 0.000000");
}

TEST_F(KeyboardTest, WalkingKeysMoveTheCameraSilently) {
    EXPECT_EQ(press("wsda"), "");
    press("w");
    EXPECT_LT(viewer.getPosition().z, 60.0f);
    EXPECT_LT(viewer.getPosition().y, 20.0f);
    press("s");
    press("a");
    EXPECT_NEAR(viewer.getPosition().x, -0.5f, 1e-6);
}

TEST_F(KeyboardTest, OtherKeysIncludingUpperCaseLettersChangeNothing) {
    const EffectParameters before = state;
    const Vector3 eye = viewer.getPosition();
    EXPECT_EQ(press("WSADTBRLz 3\x7f\x1b"), "");
    applyKey(0xff, state, catalogue, viewer);
    EXPECT_TRUE(sameState(before, state));
    EXPECT_EQ(viewer.getPosition().x, eye.x);
    EXPECT_EQ(viewer.getPosition().z, eye.z);
}

}  // namespace

namespace {

// Long random sequences over every key of the table and some outside it, with a picture that
// failed to load among the six: after every key the state stays within its limits.
TEST(EffectKeysRandomTest, LongRandomSequencesKeepEveryLimit) {
    const std::string keys = "'\";:0)9(]}[{cCxXpPoO.>,<=+-_tbr12wsdalWTq";
    for (int i = 0; i < kEffectCount; ++i) effectPrograms[i] = GLhandleARB(401 + i);
    PictureCatalogue catalogue;
    catalogue.pictures[0] = {2, 256, 128};
    catalogue.pictures[1] = {3, 81, 27};
    catalogue.pictures[2] = {2, 0, 0};  // failed to load
    catalogue.pictures[3] = {2, 1, 100};
    catalogue.pictures[4] = {5, 7, 5};
    catalogue.pictures[5] = {2, 64, 64};
    EffectParameters state;
    state.program = effectPrograms[0];
    state.pixelSize = 6;
    Camera viewer;
    placeCamera(viewer, kStartingView);
    // The first broken limit, if any; checked after the capture ends so a failure reports.
    auto brokenLimit = [&]() -> std::string {
        const PictureInfo& info = catalogue.pictures[state.picture];
        if (state.picture < 0 || state.picture >= state.pictureCount) return "picture";
        if (state.pixelSize < info.step || state.pixelSize <= 0) return "pixelSize";
        if (state.program != effectPrograms[state.mode]) return "program";
        if (state.dayScene && state.nightScene) return "both scenes";
        for (float value :
             {state.pixelRadius, state.tolerance, state.colorBoost, state.burntOutPercent})
            if (value < 0.0f || value > 1.0f) return "a [0, 1] parameter";
        if (state.luminanceBoost < -1.0f || state.luminanceBoost > 1.0f) return "luminanceBoost";
        if (state.luminanceSteps < 0) return "luminanceSteps";
        return "";
    };
    unsigned seed = 12345;
    std::string broken;
    testing::internal::CaptureStdout();
    for (int press = 0; press < 20000 && broken.empty(); ++press) {
        seed = seed * 1103515245u + 12345u;
        const char key = keys[(seed >> 16) % keys.size()];
        applyKey(static_cast<unsigned char>(key), state, catalogue, viewer);
        broken = brokenLimit();
        if (!broken.empty()) broken += " after key " + std::string(1, key);
    }
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(broken, "");
}

}  // namespace

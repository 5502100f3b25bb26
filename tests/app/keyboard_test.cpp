// The keyboard callback as the user meets it: the console bytes that key sequences print,
// taken from the real callback in a real GLUT window, and the redraw request after every key.
#include <GL/glew.h>
#include <GL/freeglut.h>

#include <gtest/gtest.h>

#include <string>

#include "app/callbacks.h"
#include "app/effect_keys.h"
#include "app/starting_view.h"
#include "camera/camera.h"
#include "effects/effect_programs.h"
#include "tests/support/gl_window.h"
#include "tests/support/redisplay_count.h"

namespace {

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

class KeyboardTest : public testing::Test {
  protected:
    void SetUp() override {
        testsupport::openGlWindow();
        glutDisplayFunc([] {});
        // Distinct handles, so the program switch of each key can be told apart.
        for (int i = 0; i < kEffectCount; ++i) effectPrograms[i] = GLhandleARB(101 + i);
        pictureCatalogue.pictures[0] = {2, 256, 256};
        pictureCatalogue.pictures[1] = {2, 300, 200};
        pictureCatalogue.pictures[2] = {3, 81, 27};
        pictureCatalogue.pictures[3] = {5, 7, 5};
        pictureCatalogue.pictures[4] = {2, 0, 0};  // failed to load
        pictureCatalogue.pictures[5] = {2, 512, 256};
        effectParameters = kStartingParameters;
        effectParameters.program = effectPrograms[0];
        effectParameters.pixelSize = 6;
        placeCamera(camera, kStartingView);
    }

    // Types the keys into the callback and returns what they printed.
    static std::string type(const std::string& keys) {
        testing::internal::CaptureStdout();
        for (char key : keys) keyboard(static_cast<unsigned char>(key), 0, 0);
        return testing::internal::GetCapturedStdout();
    }

    static std::string repeat(const std::string& line, int times) {
        std::string text;
        for (int i = 0; i < times; ++i) text += line;
        return text;
    }

    EffectParameters& state = effectParameters;
};

TEST_F(KeyboardTest, FloatKeysStepByFiveThousandthsOnBothCharactersOfTheKeyCap) {
    EXPECT_EQ(type("]}"), "pixelRadius [0.0,1.0] = 0.605000\npixelRadius [0.0,1.0] = 0.610000\n");
    EXPECT_EQ(type("[{["),
              "pixelRadius [0.0,1.0] = 0.605000\npixelRadius [0.0,1.0] = 0.600000\n"
              "pixelRadius [0.0,1.0] = 0.595000\n");
    EXPECT_EQ(type("0)9("),
              "tolerance [0.0,1.0] = 0.305000\ntolerance [0.0,1.0] = 0.310000\n"
              "tolerance [0.0,1.0] = 0.305000\ntolerance [0.0,1.0] = 0.300000\n");
    EXPECT_EQ(type("cCxX"),
              "color_boost [0.0,1.0] = 0.035000\ncolor_boost [0.0,1.0] = 0.040000\n"
              "color_boost [0.0,1.0] = 0.035000\ncolor_boost [0.0,1.0] = 0.030000\n");
    EXPECT_EQ(type("pPoO"),
              "burnt_out_percent [0.0,1.0] = 0.205000\n"
              "burnt_out_percent [0.0,1.0] = 0.210000\n"
              "burnt_out_percent [0.0,1.0] = 0.205000\n"
              "burnt_out_percent [0.0,1.0] = 0.200000\n");
    // The step is added in double precision to the stored float, so stepping back to zero
    // leaves a residue of the float's rounding: a negative one prints as "-0.000000".
    EXPECT_EQ(type("'\";:;"),
              "luminance_boost [0.0,1.0] = 0.005000\n"
              "luminance_boost [0.0,1.0] = 0.010000\n"
              "luminance_boost [0.0,1.0] = 0.005000\n"
              "luminance_boost [0.0,1.0] = -0.000000\n"
              "luminance_boost [0.0,1.0] = -0.005000\n");
}

TEST_F(KeyboardTest, FloatKeysStopAtTheUpperLimitAndPrintIt) {
    state.pixelRadius = 1.0f;
    EXPECT_EQ(type("]"), "pixelRadius [0.0,1.0] = 1.000000\n");
    state.tolerance = 0.998f;
    EXPECT_EQ(type(")0"), repeat("tolerance [0.0,1.0] = 1.000000\n", 2));
    state.colorBoost = 0.999f;
    EXPECT_EQ(type("c"), "color_boost [0.0,1.0] = 1.000000\n");
    state.burntOutPercent = 0.9999f;
    EXPECT_EQ(type("P"), "burnt_out_percent [0.0,1.0] = 1.000000\n");
    state.luminanceBoost = 0.997f;
    EXPECT_EQ(type("\"'"), repeat("luminance_boost [0.0,1.0] = 1.000000\n", 2));
    EXPECT_EQ(state.luminanceBoost, 1.0f);
}

TEST_F(KeyboardTest, FloatKeysStopAtTheLowerLimitAndPrintIt) {
    state.luminanceBoost = -1.0f;
    EXPECT_EQ(type(";"), "luminance_boost [0.0,1.0] = -1.000000\n");
    state.luminanceBoost = -0.998f;
    EXPECT_EQ(type(":"), "luminance_boost [0.0,1.0] = -1.000000\n");
    state.pixelRadius = 0.002f;
    EXPECT_EQ(type("[{"), repeat("pixelRadius [0.0,1.0] = 0.000000\n", 2));
    state.tolerance = 0.0f;
    EXPECT_EQ(type("9"), "tolerance [0.0,1.0] = 0.000000\n");
    state.colorBoost = 0.001f;
    EXPECT_EQ(type("X"), "color_boost [0.0,1.0] = 0.000000\n");
    state.burntOutPercent = 0.003f;
    EXPECT_EQ(type("o"), "burnt_out_percent [0.0,1.0] = 0.000000\n");
    EXPECT_EQ(state.burntOutPercent, 0.0f);
}

TEST_F(KeyboardTest, LuminanceStepsStopAtZeroAndHaveNoUpperLimit) {
    state.luminanceSteps = 1;
    EXPECT_EQ(type(",<,"), "luminance_steps = 0\nluminance_steps = 0\nluminance_steps = 0\n");
    state.luminanceSteps = 1000;
    EXPECT_EQ(type(".>"), "luminance_steps = 1001\nluminance_steps = 1002\n");
}

TEST_F(KeyboardTest, PixelSizeStopsAtTheSmallerSideAndNeverDropsBelowOneStep) {
    state.picture = 1;  // 300 by 200, step 2
    state.pixelSize = 196;
    EXPECT_EQ(type("=+="), "pixelSize = 198\npixelSize = 200\npixelSize = 200\n");
    state.pixelSize = 4;
    EXPECT_EQ(type("-_-"), "pixelSize = 2\npixelSize = 2\npixelSize = 2\n");
    state.picture = 2;  // 81 by 27, step 3
    state.pixelSize = 6;
    EXPECT_EQ(type("--="), "pixelSize = 3\npixelSize = 3\npixelSize = 6\n");
}

TEST_F(KeyboardTest, PixelSizeOfAPictureThatFailedToLoadStaysAtItsStep) {
    state.picture = 4;  // 0 by 0, step 2
    state.pixelSize = 6;
    EXPECT_EQ(type("=="), "pixelSize = 2\npixelSize = 2\n");
    EXPECT_EQ(type("--"), "pixelSize = 2\npixelSize = 2\n");
    EXPECT_EQ(state.pixelSize, 2);
}

TEST_F(KeyboardTest, PictureKeyCyclesThroughAllSixAndRestartsTheCellSize) {
    EXPECT_EQ(type("tttttt"),
              "pixelSize = 6\npixelSize = 9\npixelSize = 15\npixelSize = 6\n"
              "pixelSize = 6\npixelSize = 6\n");
    EXPECT_EQ(state.picture, 0);
}

TEST_F(KeyboardTest, EffectKeyPrintsEachEffectsParametersAndWraps) {
    state.pixelSize = 8;
    state.luminanceBoost = -0.25f;
    EXPECT_EQ(type("b"),
              "Billboard II\npixelSize = 8\npixelRadius [0.0,1.0] = 0.600000\n"
              "tolerance [0.0,1.0] = 0.300000\n\n");
    EXPECT_EQ(state.program, effectPrograms[1]);
    EXPECT_EQ(type("b"),
              "Billboard III\npixelSize = 8\npixelRadius [0.0,1.0] = 0.600000\n"
              "tolerance [0.0,1.0] = 0.300000\nluminance_steps = 12\n"
              "luminance_boost [-1.0,1.0] = -0.250000\n\n");
    EXPECT_EQ(type("b"),
              "Billboard IV\npixelSize = 8\npixelRadius [0.0,1.0] = 0.600000\n"
              "tolerance [0.0,1.0] = 0.300000\nluminance_steps = 12\n"
              "luminance_boost [-1.0,1.0] = -0.250000\ncolor_boost [0.0,1.0] = 0.030000\n"
              "burnt_out_percent [0.0,1.0] = 0.200000\n\n");
    EXPECT_EQ(state.program, effectPrograms[3]);
    EXPECT_EQ(type("b"), "Billboard I\npixelSize = 8\n\n");
    EXPECT_EQ(state.mode, 0);
    EXPECT_EQ(state.program, effectPrograms[0]);
}

TEST_F(KeyboardTest, ResetRestoresEverythingButThePictureAndTheCamera) {
    type("tt]]]0cp''...bb");
    camera.strafe(3);
    const Vector3 eye = camera.getPosition();
    EXPECT_EQ(type("r"), resetPrintout(9));
    EXPECT_EQ(state.picture, 2);
    EXPECT_EQ(state.mode, 0);
    EXPECT_EQ(state.program, effectPrograms[0]);
    EXPECT_EQ(camera.getPosition().x, eye.x);
}

TEST_F(KeyboardTest, DayPresetSwitchesOnSilentlyAndOffWithTheResetPrintout) {
    EXPECT_EQ(type("1"), "");
    EXPECT_TRUE(state.dayScene);
    EXPECT_EQ(state.mode, 3);
    EXPECT_EQ(type("b"),
              "Billboard I\npixelSize = 6\n\n");  // the effect key leaves the scene as it is
    EXPECT_TRUE(state.dayScene);
    EXPECT_EQ(type("1"), resetPrintout(6));
    EXPECT_FALSE(state.dayScene);
    EXPECT_FALSE(state.nightScene);
}

TEST_F(KeyboardTest, PresetsPrintTheirValuesThroughTheFourthEffect) {
    type("1");
    EXPECT_EQ(type("bbbb"),
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
    EXPECT_EQ(type("2bbbb"),
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
    type("tt");
    EXPECT_EQ(type("2"), "");
    EXPECT_TRUE(state.nightScene);
    EXPECT_EQ(state.picture, 0);
    EXPECT_EQ(state.program, effectPrograms[3]);
    EXPECT_EQ(type("1"), "");
    EXPECT_TRUE(state.dayScene);
    EXPECT_FALSE(state.nightScene);
    EXPECT_EQ(type("2"), "");
    EXPECT_FALSE(state.dayScene);
    EXPECT_TRUE(state.nightScene);
    EXPECT_EQ(type("2"), resetPrintout(6));
    EXPECT_FALSE(state.dayScene || state.nightScene);
    EXPECT_EQ(state.pictureCount, 6);
}

TEST_F(KeyboardTest, PictureKeyAlternatesBetweenTwoPicturesInAPreset) {
    type("1");
    EXPECT_EQ(type("ttt"), "pixelSize = 6\npixelSize = 6\npixelSize = 6\n");
    EXPECT_EQ(state.picture, 1);
    type("r");  // back to six pictures, picture 1 kept
    EXPECT_EQ(type("tt"), "pixelSize = 9\npixelSize = 15\n");
}

TEST_F(KeyboardTest, CameraLineShowsThePlacementWithoutATrailingNewline) {
    EXPECT_EQ(type("l"),
              "0.000000 20.000000 60.000000 \n\tat 0.000000 19.916954 59.003456 \n\tup "
              "0.000000 1.000000 0.000000");
    EXPECT_EQ(type("dl"),
              "0.500000 20.000000 60.000000 \n\tat 0.500000 19.916954 59.003456 \n\tup "
              "0.000000 1.000000 0.000000");
}

TEST_F(KeyboardTest, WalkingKeysMoveTheCameraSilently) {
    EXPECT_EQ(type("wsda"), "");
    type("w");
    EXPECT_LT(camera.getPosition().z, 60.0f);
    EXPECT_LT(camera.getPosition().y, 20.0f);
    type("s");
    type("a");
    EXPECT_NEAR(camera.getPosition().x, -0.5f, 1e-6);
}

TEST_F(KeyboardTest, OtherKeysIncludingUpperCaseLettersChangeNothing) {
    const EffectParameters before = state;
    const Vector3 eye = camera.getPosition();
    EXPECT_EQ(type("WSADTBRLz 3\x7f\x1b"), "");
    keyboard(0xff, 0, 0);
    EXPECT_TRUE(sameState(before, state));
    EXPECT_EQ(camera.getPosition().x, eye.x);
    EXPECT_EQ(camera.getPosition().z, eye.z);
}

// Redraw requests are counted where they are made, so the count does not hang on when the
// window happens to be mapped or exposed.
TEST_F(KeyboardTest, EveryKeyRequestsARedraw) {
    for (unsigned char key : {'W', '=', 'l', '1', '1', 'q'}) {
        const int before = testsupport::redisplayRequests();
        type(std::string(1, char(key)));
        EXPECT_GE(testsupport::redisplayRequests() - before, 1) << "key " << key;
    }
}

}  // namespace

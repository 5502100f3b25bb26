// The key table without a window: what the presets and the reset set, and that each console
// line has left the program by the time the key returns, even into a pipe.
#include "app/effect_keys.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/starting_view.h"
#include "effects/effect_programs.h"

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

TEST_F(EffectKeysTest, DayPresetSetsItsWholeParameterSet) {
    press("tt]]9999,,x");
    press("1");
    EXPECT_TRUE(state.dayScene);
    EXPECT_FALSE(state.nightScene);
    EXPECT_EQ(state.picture, 0);
    EXPECT_EQ(state.mode, 3);
    EXPECT_EQ(state.program, effectPrograms[3]);
    EXPECT_EQ(state.pictureCount, 2);
    EXPECT_EQ(state.pixelSize, 9);
    EXPECT_EQ(state.tolerance, 0.3f);
    EXPECT_EQ(state.pixelRadius, 0.6f);
    EXPECT_EQ(state.colorBoost, 0.03f);
    EXPECT_EQ(state.burntOutPercent, 0.2f);
    EXPECT_EQ(state.luminanceBoost, -0.25f);
    EXPECT_EQ(state.luminanceSteps, 16);
}

TEST_F(EffectKeysTest, NightPresetSetsItsWholeParameterSet) {
    press("t]]ccc'");
    press("2");
    EXPECT_TRUE(state.nightScene);
    EXPECT_FALSE(state.dayScene);
    EXPECT_EQ(state.picture, 0);
    EXPECT_EQ(state.mode, 3);
    EXPECT_EQ(state.program, effectPrograms[3]);
    EXPECT_EQ(state.pictureCount, 2);
    EXPECT_EQ(state.pixelSize, 9);
    EXPECT_EQ(state.tolerance, 0.5f);
    EXPECT_EQ(state.pixelRadius, 0.6f);
    EXPECT_EQ(state.colorBoost, 0.075f);
    EXPECT_EQ(state.burntOutPercent, 0.2f);
    EXPECT_EQ(state.luminanceBoost, 0.13f);
    EXPECT_EQ(state.luminanceSteps, 16);
}

TEST_F(EffectKeysTest, ResetRestoresTheStartingValuesAndClearsBothScenes) {
    press("2t]0'.cpb");
    press("r");
    EXPECT_FALSE(state.dayScene || state.nightScene);
    EXPECT_EQ(state.picture, 1);
    EXPECT_EQ(state.pixelSize, 6);
    EXPECT_EQ(state.tolerance, 0.3f);
    EXPECT_EQ(state.pixelRadius, 0.6f);
    EXPECT_EQ(state.luminanceSteps, 12);
    EXPECT_EQ(state.luminanceBoost, 0.0f);
    EXPECT_EQ(state.colorBoost, 0.03f);
    EXPECT_EQ(state.burntOutPercent, 0.2f);
    EXPECT_EQ(state.pictureCount, 6);
    EXPECT_EQ(state.mode, 0);
    EXPECT_EQ(state.program, effectPrograms[0]);
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

// The eye view drawn through the real display path: a white wall's LED structure plain when a
// pitch spans 1.25 acuity angles, gone (an even mean light) at 0.8.
#include <gtest/gtest.h>

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <algorithm>

#include "app/callbacks.h"
#include "app/core/effect_keys.h"
#include "app/core/run_state.h"
#include "app/core/viewer_keys.h"
#include "effects/effect_programs.h"
#include "physical/wall_setup.h"
#include "tests/support/gl_scene.h"
#include "tests/support/scene_state.h"

namespace {

class EyeViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testsupport::resetSceneState();
        wallSetup = WallSetup{};
        wallSetup.realUnits = true;
        wallSetup.pitchMetres = 0.01;
        pictureCatalogue.textureIds[0] = testsupport::makeFlatTexture({255, 255, 255}, 64, 32);
        pictureCatalogue.pictures[0] = {1, 64, 32};
        pictureCatalogue.onWallLeds = true;
        effectParameters = startingParameters(pictureCatalogue, 0);
        chooseEffect(effectParameters, 1);  // round LEDs with dark gaps between them
        eyeViewShown = true;
    }

    void TearDown() override {
        glDeleteTextures(1, &pictureCatalogue.textureIds[0]);
        pictureCatalogue.textureIds[0] = 0;
        wallSetup = WallSetup{};
        eyeViewShown = false;
    }

    // The spread of green levels over 40 x 40 pixels around the window's middle, the eye level
    // with the face's centre `distance` metres away: the LED structure's contrast there.
    int structureAt(double distance) {
        wallSetup.viewer = {distance, wallSetup.faceCentreHeightMetres(), 0};
        placeCamera(camera, viewerPlacement(wallSetup));
        display();
        const testsupport::Frame frame = testsupport::readShownFrame();
        int lowest = 255, highest = 0;
        for (int y = frame.height / 2 - 20; y < frame.height / 2 + 20; ++y) {
            for (int x = frame.width / 2 - 20; x < frame.width / 2 + 20; ++x) {
                lowest = std::min(lowest, int(frame.at(x, y).g));
                highest = std::max(highest, int(frame.at(x, y).g));
            }
        }
        EXPECT_GT(highest, 60) << "the face is lit at " << distance << " m";
        return highest - lowest;
    }
};

}  // namespace

TEST_F(EyeViewTest, LedsShowAboveTheAcuityAngleAndMergeBelowIt) {
    // 10 mm spans one arcminute at 0.005 / tan(0.5') = 34.377 m.
    const double resolved = wallSetup.resolvedWithinMetres();
    EXPECT_GT(structureAt(resolved / 1.25), 128);
    EXPECT_LE(structureAt(resolved / 0.8), 8);
}

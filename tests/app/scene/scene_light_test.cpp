// The light model through the real display path: in real units, a bright wall at night glows
// over the dark sky around it, and by day the same wall leaves the sky beside it as it is.
#include "app/core/run_state.h"
#include "app/scene/scene_light.h"

#include <gtest/gtest.h>

#include <GL/glew.h>
#include <GL/freeglut.h>

#include "app/callbacks.h"
#include "app/core/effect_keys.h"
#include "app/core/viewer_keys.h"
#include "physical/wall_setup.h"
#include "tests/support/gl_scene.h"
#include "tests/support/scene_state.h"

namespace {

class SceneLightTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testsupport::resetSceneState();
        // A white wall 6.4 x 3.2 m seen from 30 m; ground and backdrop white, untextured.
        wallSetup = WallSetup{};
        wallSetup.realUnits = true;
        wallSetup.pitchMetres = 0.1;
        wallSetup.viewer.distanceMetres = 30;
        pictureCatalogue.textureIds[0] = testsupport::makeFlatTexture({255, 255, 255}, 64, 32);
        pictureCatalogue.pictures[0] = {1, 64, 32};
        pictureCatalogue.onWallLeds = true;
        effectParameters = startingParameters(pictureCatalogue, 0);
        lightSettings.peakNitsNight = 6000;
        placeCamera(camera, viewerPlacement(wallSetup));
    }

    void TearDown() override {
        glDeleteTextures(1, &pictureCatalogue.textureIds[0]);
        pictureCatalogue.textureIds[0] = 0;
        wallSetup = WallSetup{};
        lightSettings = LightSettings{};
    }

    // How much brighter the sky is 2 degrees left of the face's edge than 12 degrees from it, on
    // the face's middle row (the window's middle, where the camera looks).
    int glowBesideTheFace(bool night) {
        effectParameters.dayScene = !night;
        effectParameters.nightScene = night;
        display();
        const testsupport::Frame frame = testsupport::readShownFrame();
        // 3.2 m from the face's centre, seen from 30.1 m: 6.07 degrees; 45 degrees a window.
        const double pixelsPerDegree = frame.height / 45.0;
        const int row = frame.height / 2;
        const int edge = frame.width / 2 - int(6.07 * pixelsPerDegree);
        EXPECT_GT(frame.at(frame.width / 2, row).g, 100) << "the face is lit";
        return int(frame.at(edge - int(2 * pixelsPerDegree), row).g) -
               int(frame.at(edge - int(12 * pixelsPerDegree), row).g);
    }
};

}  // namespace

TEST_F(SceneLightTest, ABrightWallGlowsAtNightAndNotByDay) {
    EXPECT_GT(glowBesideTheFace(true), 30);
    const int byDay = glowBesideTheFace(false);
    EXPECT_LE(byDay, 2);
    EXPECT_GE(byDay, -2);
}

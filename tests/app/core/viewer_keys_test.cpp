// The real units' own keys without a window: the viewer placed, taken nearer and farther,
// printed; and nothing at all without real units.
#include "app/core/viewer_keys.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "physical/units.h"

namespace {

WallSetup roadsideWall() {
    WallSetup setup;
    setup.realUnits = true;
    setup.widthLeds = 914;
    setup.heightLeds = 269;
    setup.pitchMetres = 0.016;
    setup.viewer.distanceMetres = 60;
    return setup;
}

std::string press(unsigned char key, WallSetup& setup, Camera& viewer, bool& eyeView,
                  bool* taken = nullptr) {
    testing::internal::CaptureStdout();
    const bool wasTaken = applyViewerKey(key, setup, viewer, 1, eyeView);
    if (taken) *taken = wasTaken;
    return testing::internal::GetCapturedStdout();
}

}  // namespace

TEST(ViewerKeysTest, TheViewerStandsAlongTheGroundLookingAtTheFaceCentre) {
    WallSetup setup = roadsideWall();
    setup.viewer.angleRadians = radiansFromDegrees(30);
    const CameraPlacement placement = viewerPlacement(setup);
    EXPECT_NEAR(placement.eye.x, 30.0, 1e-4);       // 60 sin 30°
    EXPECT_NEAR(placement.eye.z, 51.961524, 1e-4);  // 60 cos 30°
    EXPECT_FLOAT_EQ(placement.eye.y, 1.5f);
    EXPECT_NEAR(placement.target.y, 4 + 4.304 / 2, 1e-5);  // the face's centre
    const Viewer back = viewerAt(placement.eye);
    EXPECT_NEAR(back.distanceMetres, 60, 1e-4);
    EXPECT_NEAR(degreesFromRadians(back.angleRadians), 30, 1e-4);
}

TEST(ViewerKeysTest, NearerFartherAndTheViewerLine) {
    WallSetup setup = roadsideWall();
    Camera viewer;
    placeCamera(viewer, viewerPlacement(setup));
    bool eyeView = false;
    EXPECT_EQ(press('v', setup, viewer, eyeView),
              "viewer: distance 60.0 m, eye 1.5 m, angle 0 deg; wall 14.62 x 4.30 m, 914 x 269 "
              "LEDs, pitch 16.0 mm; LED 0.91 arcmin; LEDs resolved within 55.0 m (20/20)\n");
    // 60 / 1.25 = 48 m: sqrt(48² + 4.652²) = 48.225 m, where 16 mm spans 1.141 arcminutes.
    EXPECT_EQ(press('n', setup, viewer, eyeView),
              "viewer: distance 48.0 m, eye 1.5 m, angle 0 deg; wall 14.62 x 4.30 m, 914 x 269 "
              "LEDs, pitch 16.0 mm; LED 1.14 arcmin; LEDs resolved within 55.0 m (20/20)\n");
    EXPECT_NEAR(viewer.getPosition().z, 48, 1e-4);
    press('m', setup, viewer, eyeView);
    press('m', setup, viewer, eyeView);
    EXPECT_NEAR(viewer.getPosition().z, 75, 1e-3);
    EXPECT_FLOAT_EQ(viewer.getPosition().y, 1.5f);
    press('z', setup, viewer, eyeView);
    EXPECT_TRUE(eyeView);
    EXPECT_EQ(press('+', setup, viewer, eyeView), "pixelSize = 1\n");
}

TEST(ViewerKeysTest, WithoutRealUnitsTheKeysAreLeftToTheKeyTable) {
    WallSetup setup;
    Camera viewer;
    placeCamera(viewer, kStartingView);
    bool eyeView = false;
    for (unsigned char key : {'n', 'm', 'v', 'z', '+', '-'}) {
        bool taken = true;
        EXPECT_EQ(press(key, setup, viewer, eyeView, &taken), "");
        EXPECT_FALSE(taken) << key;
    }
    EXPECT_FALSE(eyeView);
    EXPECT_FLOAT_EQ(viewer.getPosition().z, 60.0f);
}

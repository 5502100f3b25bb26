#include "physical/wall_setup.h"

#include <gtest/gtest.h>

#include "physical/units.h"

namespace {

WallSetup wallOf(int width, int height, double pitchMillimetres, double distance) {
    WallSetup setup;
    setup.realUnits = true;
    setup.widthLeds = width;
    setup.heightLeds = height;
    setup.pitchMetres = metresFromMillimetres(pitchMillimetres);
    setup.viewer.distanceMetres = distance;
    return setup;
}

}  // namespace

TEST(WallSetupTest, ViewerLineOfARoadsideWall) {
    // 914 x 269 LEDs of 16 mm, mounted 4 m up: centre 6.152 m up, the eye 60.18 m from it.
    const WallSetup setup = wallOf(914, 269, 16, 60);
    EXPECT_EQ(viewerLine(setup),
              "viewer: distance 60.0 m, eye 1.5 m, angle 0 deg; wall 14.62 x 4.30 m, 914 x 269 "
              "LEDs, pitch 16.0 mm; LED 0.91 arcmin; LEDs resolved within 55.0 m (20/20)");
}

TEST(WallSetupTest, ViewerLineOfASmallWallSeenFromAside) {
    // 0.16 x 0.08 m, centre 4.04 m up; 3 m away along the ground: sqrt(3² + 2.54²) = 3.931 m,
    // where 2.5 mm spans 2.186 arcminutes; 20/40 resolves it within 1.25 mm / tan(1') = 4.30 m.
    WallSetup setup = wallOf(64, 32, 2.5, 3);
    setup.viewer.angleRadians = radiansFromDegrees(30);
    setup.decimalAcuity = 0.5;
    setup.eyesight = "20/40";
    EXPECT_EQ(viewerLine(setup),
              "viewer: distance 3.0 m, eye 1.5 m, angle 30 deg; wall 0.16 x 0.08 m, 64 x 32 LEDs, "
              "pitch 2.5 mm; LED 2.19 arcmin; LEDs resolved within 4.3 m (20/40)");
}

TEST(WallSetupTest, ViewerStepsByAQuarterWithinLimits) {
    WallSetup setup = wallOf(64, 32, 10, 50);
    stepViewer(setup, -1);
    EXPECT_DOUBLE_EQ(setup.viewer.distanceMetres, 40.0);
    stepViewer(setup, 1);
    stepViewer(setup, 1);
    EXPECT_DOUBLE_EQ(setup.viewer.distanceMetres, 62.5);
    for (int i = 0; i < 100; ++i) stepViewer(setup, -1);
    EXPECT_DOUBLE_EQ(setup.viewer.distanceMetres, kNearestViewerMetres);
}

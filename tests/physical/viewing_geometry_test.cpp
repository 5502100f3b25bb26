#include "physical/viewing_geometry.h"

#include <gtest/gtest.h>

#include "physical/units.h"

TEST(ViewingGeometryTest, MetresBecomeTheNearestWholeLed) {
    EXPECT_EQ(ledCountFromMetres(14.63, 0.016), 914);  // 914.375
    EXPECT_EQ(ledCountFromMetres(4.3, 0.016), 269);    // 268.75
    EXPECT_EQ(ledCountFromMetres(0.007, 0.016), 0);    // under half a pitch
    EXPECT_EQ(ledCountFromMetres(1000, 0.001), kMaxWallLeds + 1);
    EXPECT_DOUBLE_EQ(wallSideMetres(914, 0.016), 14.624);
}

TEST(ViewingGeometryTest, TheEyeSeesTheFaceCentreAlongTheStraightLine) {
    // 60 m along the ground, the eye 1.5 m up, the centre 6.152 m up: sqrt(60² + 4.652²).
    EXPECT_NEAR(eyeDistanceMetres(60, 1.5, 6.152), 60.18007, 1e-5);
    EXPECT_DOUBLE_EQ(eyeDistanceMetres(0, 1.5, 5.5), 4.0);
}

TEST(ViewingGeometryTest, APitchSpansTwiceTheArcTangentOfItsHalf) {
    // 16 mm at 60.18 m: 2 atan(0.008 / 60.18) = 0.914 arcminute.
    EXPECT_NEAR(arcminutesFromRadians(pitchAngleRadians(0.016, 60.18007)), 0.91399, 1e-5);
    // The default viewer, 3438 pitches away, sees one pitch as about one arcminute.
    EXPECT_NEAR(arcminutesFromRadians(pitchAngleRadians(0.01, defaultViewerDistanceMetres(0.01))),
                1.0, 1e-4);
}

TEST(ViewingGeometryTest, AcuityAngleGrowsAsEyesightFalls) {
    EXPECT_NEAR(arcminutesFromRadians(acuityAngleRadians(1.0)), 1.0, 1e-12);
    EXPECT_NEAR(arcminutesFromRadians(acuityAngleRadians(0.5)), 2.0, 1e-12);  // 20/40
    // 8 mm half a pitch over tan(half an arcminute) = 1.454441e-4: 55.004 m.
    EXPECT_NEAR(resolvedWithinMetres(0.016, acuityAngleRadians(1.0)), 55.00395, 1e-4);
    EXPECT_NEAR(resolvedWithinMetres(0.0025, acuityAngleRadians(0.5)), 4.29718, 1e-4);
}

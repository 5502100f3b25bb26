// The first-person camera: placement, turning about the eye, the vertical-turn limit and
// walking, checked against the rotation worked out independently in double precision.
#include "camera/camera.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr float kTolerance = 1e-5f;

void expectNear(Vector3 v, double x, double y, double z) {
    EXPECT_NEAR(v.x, x, kTolerance);
    EXPECT_NEAR(v.y, y, kTolerance);
    EXPECT_NEAR(v.z, z, kTolerance);
}

Vector3 direction(const Camera& c) {
    return c.getView() - c.getPosition();
}

// A camera at the origin looking along -z with y up: turns are easy to predict from it.
Camera cameraLookingDownMinusZ() {
    Camera c;
    c.positionCamera(0, 0, 0, 0, 0, -10, 0, 1, 0);
    return c;
}

Camera placedLikeTheScene() {
    Camera c;
    c.positionCamera(0, 20, 60, 0, 15, 0, 0, 1, 0);
    return c;
}

// Direction after tilting (0, 0, -1) upwards by angle radians about +x.
void expectTiltedBy(const Camera& c, double angle) {
    expectNear(direction(c), 0, std::sin(angle), -std::cos(angle));
}

TEST(CameraTest, PlacementStoresTheViewPointOneUnitTowardsTheTarget) {
    const Camera c = placedLikeTheScene();
    expectNear(c.getPosition(), 0, 20, 60);
    expectNear(c.getView(), 0, 19.91695, 59.00346);
    expectNear(c.getUpVector(), 0, 1, 0);
    EXPECT_NEAR(magnitude(direction(c)), 1.0f, kTolerance);
}

TEST(CameraTest, TurnHorizontalByFiveHundredUnitsTurnsOneRadianLeft) {
    Camera c = cameraLookingDownMinusZ();
    c.turnHorizontal(500);
    expectNear(direction(c), -std::sin(1.0), 0, -std::cos(1.0));
    expectNear(c.getPosition(), 0, 0, 0);
}

TEST(CameraTest, TurnHorizontalIsAboutTheWorldAxisWhateverTheTilt) {
    Camera c = cameraLookingDownMinusZ();
    c.turnVertical(250);  // half a radian up
    const float heightBefore = direction(c).y;
    c.turnHorizontal(-785);
    EXPECT_NEAR(direction(c).y, heightBefore, kTolerance);
    EXPECT_NEAR(magnitude(direction(c)), 1.0f, kTolerance);
}

TEST(CameraTest, RotateViewTurnsCounterClockwiseAboutTheAxis) {
    Camera c = cameraLookingDownMinusZ();
    c.rotateView(float(M_PI / 2), 1, 0, 0);
    expectNear(direction(c), 0, 1, 0);
}

TEST(CameraTest, TurnVerticalStopsExactlyAtTheLimitAndTurnsBackAtOnce) {
    Camera c = cameraLookingDownMinusZ();
    c.turnVertical(1500);  // three radians asked, two given
    EXPECT_EQ(c.getPitch(), 2.0f);
    expectTiltedBy(c, 2.0);

    const Vector3 atLimit = c.getView();
    c.turnVertical(10);
    EXPECT_EQ(c.getPitch(), 2.0f);
    EXPECT_EQ(c.getView().x, atLimit.x);
    EXPECT_EQ(c.getView().y, atLimit.y);
    EXPECT_EQ(c.getView().z, atLimit.z);

    // Past the top the rightward axis has flipped, so a downward turn of 0.2 about it
    // carries the view on over: the limit counts turns, not the elevation.
    c.turnVertical(-100);
    EXPECT_FLOAT_EQ(c.getPitch(), 1.8f);
    expectTiltedBy(c, 2.2);
}

TEST(CameraTest, TurnVerticalCutsATurnThatWouldCrossTheLimit) {
    Camera c = cameraLookingDownMinusZ();
    c.turnVertical(950);
    c.turnVertical(100);  // 0.2 asked from 1.9, only 0.1 given
    EXPECT_EQ(c.getPitch(), 2.0f);
    // The view is past the top, where the rightward axis has flipped: the cut turn of 0.1
    // brings it back to 1.8 (a full 0.2 would give 1.7).
    expectTiltedBy(c, 1.8);
}

TEST(CameraTest, TurnVerticalDownwardsStopsAtMinusTwo) {
    Camera c = cameraLookingDownMinusZ();
    c.turnVertical(-400);
    c.turnVertical(-1000);
    EXPECT_EQ(c.getPitch(), -2.0f);
    expectTiltedBy(c, -2.0);
    const Vector3 atLimit = c.getView();
    c.turnVertical(-1);
    EXPECT_EQ(c.getView().y, atLimit.y);
    EXPECT_EQ(c.getView().z, atLimit.z);
}

TEST(CameraTest, PlacementDoesNotResetTheAccumulatedTilt) {
    Camera c = cameraLookingDownMinusZ();
    c.turnVertical(600);
    c.positionCamera(0, 0, 0, 0, 0, -1, 0, 1, 0);
    EXPECT_FLOAT_EQ(c.getPitch(), 1.2f);
    c.turnVertical(600);  // only 0.8 left before the limit
    expectTiltedBy(c, 0.8);
}

TEST(CameraTest, StrafeMovesSidewaysAndKeepsBothHeights) {
    Camera c = placedLikeTheScene();
    const Vector3 viewBefore = c.getView();
    c.strafe(0.5f);
    expectNear(c.getPosition(), 0.5, 20, 60);
    EXPECT_EQ(c.getPosition().y, 20.0f);
    EXPECT_EQ(c.getView().y, viewBefore.y);
    EXPECT_NEAR(c.getView().x, 0.5, kTolerance);
    c.strafe(-1.0f);
    EXPECT_NEAR(c.getPosition().x, -0.5, kTolerance);
}

TEST(CameraTest, MoveWalksAlongTheViewDirectionLoweringTheEye) {
    Camera c = placedLikeTheScene();
    const Vector3 forward = direction(c);
    c.move(0.5f);
    expectNear(c.getPosition(), 0, 20 + 0.5 * forward.y, 60 + 0.5 * forward.z);
    EXPECT_LT(c.getPosition().y, 20.0f);
    EXPECT_NEAR(magnitude(direction(c)), 1.0f, kTolerance);
    c.move(-0.5f);
    expectNear(c.getPosition(), 0, 20, 60);
}

TEST(CameraTest, LookingStraightAlongUpNeitherTurnsNorWalksIntoNan) {
    Camera c;
    c.positionCamera(0, 0, 0, 0, 5, 0, 0, 1, 0);
    c.turnVertical(10);
    c.strafe(0.5f);
    expectNear(c.getView(), 0, 1, 0);
    expectNear(c.getPosition(), 0, 0, 0);
}

}  // namespace

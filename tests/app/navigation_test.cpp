// Arrow keys and mouse drags turning the one camera, and the redraws they request.
#include <gtest/gtest.h>

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <cmath>

#include "app/callbacks.h"
#include "app/core/run_state.h"
#include "app/navigation.h"
#include "camera/camera.h"
#include "tests/support/gl_window.h"
#include "tests/support/redisplay_count.h"

namespace {

class NavigationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testsupport::openGlWindow();
        // Eye at the origin looking along -z, so turns read off the view point directly.
        camera.positionCamera(0, 0, 0, 0, 0, -1, 0, 1, 0);
        dragState = DragState{};
    }

    // Horizontal angle of the view direction, positive to the left seen from above.
    static double yaw() {
        const Vector3 d = camera.getView() - camera.getPosition();
        return std::atan2(-d.x, -d.z);
    }
    // Elevation of the view direction, positive upwards.
    static double elevation() {
        const Vector3 d = camera.getView() - camera.getPosition();
        return std::atan2(d.y, std::sqrt(d.x * d.x + d.z * d.z));
    }

    static void press(int button, int x, int y) { mouseButton(button, GLUT_DOWN, x, y); }
    static void release(int button, int x, int y) { mouseButton(button, GLUT_UP, x, y); }
};

TEST_F(NavigationTest, ArrowKeysTurnByThreeUnits) {
    specialKeys(GLUT_KEY_LEFT, 0, 0);
    EXPECT_NEAR(yaw(), 0.006, 1e-5);
    specialKeys(GLUT_KEY_RIGHT, 0, 0);
    specialKeys(GLUT_KEY_RIGHT, 0, 0);
    EXPECT_NEAR(yaw(), -0.006, 1e-5);
    specialKeys(GLUT_KEY_UP, 0, 0);
    EXPECT_NEAR(elevation(), 0.006, 1e-5);
    specialKeys(GLUT_KEY_DOWN, 0, 0);
    specialKeys(GLUT_KEY_DOWN, 0, 0);
    EXPECT_NEAR(elevation(), -0.006, 1e-5);
}

TEST_F(NavigationTest, OtherSpecialKeysNeitherTurnNorRedraw) {
    const int before = testsupport::redisplayRequests();
    for (int key : {GLUT_KEY_F1, GLUT_KEY_PAGE_UP, GLUT_KEY_HOME, GLUT_KEY_INSERT}) {
        specialKeys(key, 10, 10);
    }
    EXPECT_NEAR(yaw(), 0.0, 1e-7);
    EXPECT_NEAR(elevation(), 0.0, 1e-7);
    EXPECT_EQ(testsupport::redisplayRequests(), before);
    for (int key : {GLUT_KEY_LEFT, GLUT_KEY_RIGHT, GLUT_KEY_UP, GLUT_KEY_DOWN}) {
        specialKeys(key, 0, 0);
    }
    EXPECT_EQ(testsupport::redisplayRequests(), before + 4);
}

TEST_F(NavigationTest, LeftDragOfFiveHundredPixelsTurnsOneRadian) {
    press(GLUT_LEFT_BUTTON, 600, 300);
    mouseMotion(350, 300);
    mouseMotion(100, 300);
    EXPECT_NEAR(yaw(), 1.0, 1e-4);  // dragging left turns left
    mouseMotion(350, 300);
    EXPECT_NEAR(yaw(), 0.5, 1e-4);
    EXPECT_NEAR(elevation(), 0.0, 1e-6);
}

TEST_F(NavigationTest, DraggingDownTiltsDownAndStopsAtTheLimit) {
    press(GLUT_LEFT_BUTTON, 300, 100);
    mouseMotion(300, 200);
    EXPECT_NEAR(elevation(), -0.2, 1e-4);
    // 1100 pixels more would pass the 2 radian limit of accumulated tilt.
    mouseMotion(300, 1300);
    EXPECT_FLOAT_EQ(camera.getPitch(), -2.0f);
    mouseMotion(300, 1250);  // dragging back turns back at once
    EXPECT_FLOAT_EQ(camera.getPitch(), -1.9f);
}

TEST_F(NavigationTest, ReleasedButtonEndsTheDrag) {
    press(GLUT_LEFT_BUTTON, 100, 100);
    release(GLUT_LEFT_BUTTON, 100, 100);
    mouseMotion(300, 300);
    EXPECT_NEAR(yaw(), 0.0, 1e-7);
    EXPECT_FALSE(dragState.dragging);
}

TEST_F(NavigationTest, OtherButtonsDoNotTurnButEveryPressAndReleaseRedraws) {
    for (int button : {GLUT_MIDDLE_BUTTON, GLUT_RIGHT_BUTTON}) {
        const int before = testsupport::redisplayRequests();
        press(button, 100, 100);
        EXPECT_EQ(testsupport::redisplayRequests(), before + 1);
        mouseMotion(300, 400);  // not a drag: no turn, no redraw
        EXPECT_EQ(testsupport::redisplayRequests(), before + 1);
        release(button, 300, 400);
        EXPECT_EQ(testsupport::redisplayRequests(), before + 2);
    }
    EXPECT_NEAR(yaw(), 0.0, 1e-7);
    EXPECT_NEAR(elevation(), 0.0, 1e-7);
}

TEST_F(NavigationTest, StillMotionWhileDraggingTurnsNothingButRedraws) {
    press(GLUT_LEFT_BUTTON, 100, 100);
    const int before = testsupport::redisplayRequests();
    mouseMotion(100, 100);
    EXPECT_EQ(testsupport::redisplayRequests(), before + 1);
    EXPECT_NEAR(yaw(), 0.0, 1e-7);
}

}  // namespace

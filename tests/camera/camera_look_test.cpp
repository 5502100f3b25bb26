// The camera's view transform as GL sees it, read back from a real context.
#include "camera/camera.h"

#include <GL/glew.h>

#include <gtest/gtest.h>

#include "tests/support/gl_window.h"

namespace {

TEST(CameraLookTest, LookMovesTheWorldOppositeTheEye) {
    testsupport::openGlWindow();
    Camera c;
    c.positionCamera(3, 2, 10, 3, 2, 0, 0, 1, 0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    c.look();
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    // Looking down -z from (3, 2, 10): a pure translation by (-3, -2, -10).
    EXPECT_NEAR(m[0], 1, 1e-6);
    EXPECT_NEAR(m[5], 1, 1e-6);
    EXPECT_NEAR(m[10], 1, 1e-6);
    EXPECT_NEAR(m[12], -3, 1e-5);
    EXPECT_NEAR(m[13], -2, 1e-5);
    EXPECT_NEAR(m[14], -10, 1e-5);
}

}  // namespace

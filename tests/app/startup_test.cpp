// Fixed GL state, reshape and the projection, read back from a real GL context.
#include <gtest/gtest.h>

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <cmath>

#include "app/callbacks.h"
#include "app/scene/projection.h"
#include "app/startup.h"
#include "tests/support/gl_window.h"

namespace {

struct Matrix {
    GLdouble m[16];
};

Matrix projectionMatrix() {
    Matrix matrix;
    glGetDoublev(GL_PROJECTION_MATRIX, matrix.m);
    return matrix;
}

// gluPerspective puts f / aspect at [0] and f at [5], with f = cot(fovy / 2); the far plane
// shows in [10] and [14]. GL keeps the matrix in single precision.
double aspectOf(const Matrix& matrix) {
    return matrix.m[5] / matrix.m[0];
}
double farPlaneOf(const Matrix& matrix) {
    const double c = matrix.m[10], d = matrix.m[14];
    return d / (c + 1.0);
}

class StartupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testsupport::openGlWindow();
        while (glGetError() != GL_NO_ERROR) {
        }
    }
};

TEST_F(StartupTest, InitGraphicsSetsTheFixedState) {
    initGraphics();
    GLint value = 0;
    glGetIntegerv(GL_SHADE_MODEL, &value);
    EXPECT_EQ(value, GL_SMOOTH);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    glGetIntegerv(GL_DEPTH_FUNC, &value);
    EXPECT_EQ(value, GL_LEQUAL);
    glGetIntegerv(GL_PERSPECTIVE_CORRECTION_HINT, &value);
    EXPECT_EQ(value, GL_NICEST);
    glGetIntegerv(GL_MATRIX_MODE, &value);
    EXPECT_EQ(value, GL_MODELVIEW);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 700);
    EXPECT_EQ(viewport[3], 700);
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ(clear[0], 0.0f);
    EXPECT_EQ(clear[3], 1.0f);

    const Matrix projection = projectionMatrix();
    EXPECT_NEAR(aspectOf(projection), 1.0, 1e-9);
    EXPECT_NEAR(projection.m[5], 1.0 / std::tan(22.5 * M_PI / 180.0), 1e-6);
    EXPECT_NEAR(farPlaneOf(projection), 100.0, 0.01);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(StartupTest, ReshapeUsesTheFloatingPointAspect) {
    reshape(1000, 700);
    const Matrix projection = projectionMatrix();
    EXPECT_NEAR(aspectOf(projection), double(float(1000.0 / 700.0)), 1e-6);
    EXPECT_NEAR(farPlaneOf(projection), 100.0, 0.01);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 0);
    EXPECT_EQ(viewport[2], 1000);
    EXPECT_EQ(viewport[3], 700);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
}

TEST_F(StartupTest, ReshapeTakesAHeightOfZeroAsOne) {
    reshape(640, 0);
    const Matrix projection = projectionMatrix();
    EXPECT_NEAR(aspectOf(projection), 640.0, 1e-3);
    for (double value : projection.m) EXPECT_TRUE(std::isfinite(value));
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 640);
    EXPECT_EQ(viewport[3], 1);
}

TEST_F(StartupTest, ReshapeLeavesTheModelviewMatrixAlone) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(1.0f, 2.0f, 3.0f);
    reshape(700, 700);
    GLdouble modelview[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    EXPECT_EQ(modelview[12], 1.0);
    EXPECT_EQ(modelview[13], 2.0);
    EXPECT_EQ(modelview[14], 3.0);
    glLoadIdentity();
}

TEST(ProjectionTest, WholeNumberAspectTruncatesTheQuotient) {
    EXPECT_EQ(wholeNumberAspect(700, 700), 1.0);
    EXPECT_EQ(wholeNumberAspect(1000, 700), 1.0);
    EXPECT_EQ(wholeNumberAspect(1400, 700), 2.0);
    EXPECT_EQ(wholeNumberAspect(2099, 700), 2.0);
}

TEST(ProjectionTest, WholeNumberAspectOfANarrowWindowIsItsTrueAspect) {
    EXPECT_DOUBLE_EQ(wholeNumberAspect(350, 700), 0.5);
    EXPECT_DOUBLE_EQ(wholeNumberAspect(699, 700), 699.0 / 700.0);
    EXPECT_EQ(wholeNumberAspect(500, 0), 500.0);
}

TEST_F(StartupTest, ANarrowWindowGetsAFiniteProjection) {
    ASSERT_TRUE(testsupport::resizeGlWindow(350, 700));
    initGraphics();
    const Matrix projection = projectionMatrix();
    for (double value : projection.m) EXPECT_TRUE(std::isfinite(value));
    EXPECT_GT(aspectOf(projection), 0.0);
    EXPECT_TRUE(testsupport::resizeGlWindow(700, 700));
}

}  // namespace

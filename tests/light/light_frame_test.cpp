// The light passes on their own in the real window: a bright face glowing into the dark at
// night and not by day, a black face greyed by the sun, and the wall's light spilling on the
// ground in front of it.
#include "light/light_frame.h"

#include <gtest/gtest.h>

#include <GL/glew.h>
#include <GL/glu.h>

#include <cmath>

#include "physical/adapted_eye.h"
#include "physical/photometry.h"
#include "tests/support/gl_scene.h"
#include "tests/support/gl_window.h"

namespace {

using testsupport::Rgb;

constexpr int kSide = 700;

class LightFrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testsupport::openGlWindow();
        glViewport(0, 0, kSide, kSide);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(45, 1, 0.9, 300);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        gluLookAt(0, 20, 60, 0, 15, 0, 0, 1, 0);
        glEnable(GL_DEPTH_TEST);
        content = testsupport::makeFlatTexture({255, 255, 255});
    }
    void TearDown() override { glDeleteTextures(1, &content); }

    // The face, 10 by 5 around (0, 15) in z = 0, at `faceLevel`; a backdrop behind it at
    // z = -50 reflecting a fifth of the light and, when `ground`, a grey ground in front of
    // it; then the light passes.
    void drawScene(const LightFrame& frame, float faceLevel, bool ground) {
        beginLightFrame(kSide, kSide);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        auto quad = [](float level, float x0, float y0, float z0, float x1, float y1, float z1) {
            glColor3f(level, level, level);
            glBegin(GL_QUADS);
            glVertex3f(x0, y0, z0);
            glVertex3f(x1, y0, z0);
            glVertex3f(x1, y1, z1);
            glVertex3f(x0, y1, z1);
            glEnd();
        };
        quad(0.48f, -200, -40, -50, 200, 200, -50);
        if (ground) quad(0.5f, -200, 0, 60, 200, 0, -50);
        quad(faceLevel, -5, 12.5f, 0, 5, 17.5f, 0);
        finishLightFrame(frame);
    }

    static Rgb pixelAt(double x, double y, double z) {
        const testsupport::WindowPoint p = testsupport::projectToWindow(x, y, z);
        Rgb c{0, 0, 0};
        glReadBuffer(GL_BACK);
        glReadPixels(p.x, p.y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, &c);
        return c;
    }

    // The wall at `peakNits` in `ambientLux`, its eye adapted to it showing white.
    LightFrame wallLight(double peakNits, double ambientLux, GLuint picture) const {
        LightFrame frame;
        frame.wallCorner[0] = -5;
        frame.wallCorner[1] = 12.5f;
        frame.wallRight[0] = 10;
        frame.wallUp[1] = 5;
        frame.patchNits = patchNitsOf(patchLightOfTexture(picture), peakNits);
        frame.faceNitsAtFullLevel = peakNits;
        frame.reflectedNits = reflectedLuminanceNits(ambientLux);
        frame.ambientLux = ambientLux;
        frame.adaptationNits = adaptationLuminanceNits(ambientLux, peakNits + frame.reflectedNits);
        frame.whiteNits = whiteLuminanceNits(ambientLux, peakNits);
        return frame;
    }

    GLuint content = 0;
};

TEST_F(LightFrameTest, ABrightWallGlowsIntoTheDarkAtNightAndNotByDay) {
    // Beside the face, 3 and 12 units left of its edge at its middle height (about 3 and 11
    // degrees from it), on a backdrop that is dark at night.
    auto glowBeside = [&](double peakNits, double ambientLux, double unitsLeft) {
        const LightFrame frame = wallLight(peakNits, ambientLux, content);
        drawScene(frame, 0.0f, false);
        const int unlit = pixelAt(-5 - unitsLeft, 15, 0).g;
        drawScene(frame, 1.0f, false);
        return pixelAt(-5 - unitsLeft, 15, 0).g - unlit;
    };
    const int nearAtNight = glowBeside(6000, 10, 3), farAtNight = glowBeside(6000, 10, 12);
    EXPECT_GT(nearAtNight, 40);
    EXPECT_GT(farAtNight, 10);
    EXPECT_GT(nearAtNight, farAtNight);  // falling off with the angle
    EXPECT_LE(glowBeside(6000, 40000, 3), 2);
    EXPECT_LE(glowBeside(6000, 40000, 12), 1);
}

TEST_F(LightFrameTest, TheSunGreysABlackFaceAndTheNightLeavesItBlack) {
    auto blackFace = [&](double ambientLux) {
        LightFrame frame = wallLight(6000, ambientLux, content);
        drawScene(frame, 0.0f, false);
        return pixelAt(0, 15, 0).g;
    };
    // 509 nits seen by an eye adapted to 3862: 0.18 x 509 / 3862 = 0.0237 of white, level 42,
    // and a little more of the sunlit backdrop's glare.
    const int day = blackFace(40000);
    EXPECT_GE(day, 40);
    EXPECT_LT(day, 60);
    EXPECT_LT(blackFace(10), 8);
}

TEST_F(LightFrameTest, AWhitePictureSpillsOnTheGroundAtNightABlackOneDoesNot) {
    const GLuint black = testsupport::makeFlatTexture({0, 0, 0});
    auto groundWith = [&](GLuint picture, float faceLevel) {
        drawScene(wallLight(300, 10, picture), faceLevel, true);
        return pixelAt(0, 0, 5).g;  // 5 units in front of the wall, 12.5 below its edge
    };
    const int whiteSpill = groundWith(content, 1.0f), blackSpill = groundWith(black, 0.0f);
    // The grey ground in 10 lux alone: reflectance 0.214 (level 0.5), 0.681 nits, seen by an
    // eye adapted to 13.1 nits: 0.18 x 0.681 / 13.1 = 0.00931, level 0.094, 24.
    const double alone = displayLightFromLuminance(0.214 * 10 / 3.14159265, 13.111, 300);
    EXPECT_NEAR(blackSpill, 255 * 1.055 * std::pow(alone, 1 / 2.4) - 0.055 * 255, 3);
    // The white wall adds about 18 lux there (300 nits x 50 units² x cosines 0.95 and 0.32 over
    // 15.8² units²): 28 lux in all, level 44.
    EXPECT_GT(whiteSpill, blackSpill + 15);
    glDeleteTextures(1, &black);
}

}  // namespace

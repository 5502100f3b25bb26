// The display callback drawn into the real window and read back as pixels: the day and night
// views, the normal view's face sized from the picture, the neon sign and its redraws.
#include <gtest/gtest.h>

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <vector>

#include "app/callbacks.h"
#include "app/core/effect_keys.h"
#include "app/core/run_state.h"
#include "app/core/wall_clock.h"
#include "app/scene_load.h"
#include "app/startup.h"
#include "camera/camera.h"
#include "effects/effect_programs.h"
#include "obj/obj.h"
#include "tests/support/gl_scene.h"
#include "tests/support/redisplay_count.h"
#include "tests/support/scene_state.h"

namespace {

using testsupport::Rgb;
using namespace testsupport::colours;

using testsupport::nearColour;

class DisplayTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testsupport::resetSceneState();
        effectParameters.program = effectPrograms[0];
        effectParameters.pixelSize = 2;
    }

    void TearDown() override {
        pinWallClock(std::nullopt);
        glDeleteTextures(GLsizei(made.size()), made.data());
    }

    GLuint texture(Rgb colour) {
        made.push_back(testsupport::makeFlatTexture(colour));
        return made.back();
    }

    // Each scene texture in a colour of its own: ground and backdrop of either scene, and the
    // frame model's.
    void fillSceneTextures() {
        pictureCatalogue.textureIds[kDayGroundSlot] = texture(kGreen);
        pictureCatalogue.textureIds[kDayBackdropSlot] = texture(kBlue);
        pictureCatalogue.textureIds[kNightGroundSlot] = texture(kYellow);
        pictureCatalogue.textureIds[kNightBackdropSlot] = texture(kMagenta);
        pictureCatalogue.textureIds[kFrameSlot] = texture(kGrey);
    }

    void showPicture(int slot, Rgb colour, int width, int height) {
        pictureCatalogue.textureIds[slot] = texture(colour);
        pictureCatalogue.pictures[slot] = {2, width, height};
        effectParameters.picture = slot;
    }

    // Colour shown at the scene point (x, y, z) after the last frame.
    static Rgb shownAt(const testsupport::Frame& frame, double x, double y, double z = 0) {
        const testsupport::WindowPoint p = testsupport::projectToWindow(x, y, z);
        return frame.at(p.x, p.y);
    }

    // Whether the last frame drew anything at the scene point, from the depth buffer.
    static bool drawnAt(double x, double y, double z = 0) {
        const testsupport::WindowPoint p = testsupport::projectToWindow(x, y, z);
        GLfloat depth = 1.0f;
        glReadPixels(p.x, p.y, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
        return depth < 1.0f;
    }

    static double farPlane() {
        GLdouble m[16];
        glGetDoublev(GL_PROJECTION_MATRIX, m);
        return m[14] / (m[10] + 1.0);
    }

    std::vector<GLuint> made;
};

TEST_F(DisplayTest, DayViewDrawsGroundBackdropAndTheFixedFace) {
    fillSceneTextures();
    showPicture(0, kRed, 300, 200);  // the normal view would make this face 40 by 40
    effectParameters.dayScene = true;
    display();
    const testsupport::Frame frame = testsupport::readShownFrame();

    EXPECT_TRUE(nearColour(shownAt(frame, 0, 20), kRed));
    EXPECT_TRUE(nearColour(shownAt(frame, 0, 10.5), kRed));
    EXPECT_TRUE(nearColour(shownAt(frame, 0, 29.5), kRed));
    EXPECT_TRUE(nearColour(shownAt(frame, -19.5, 20), kRed));
    EXPECT_TRUE(nearColour(shownAt(frame, 19.5, 20), kRed));
    EXPECT_FALSE(nearColour(shownAt(frame, 0, 30.5), kRed));
    EXPECT_FALSE(nearColour(shownAt(frame, 0, 9.5), kRed));
    EXPECT_FALSE(nearColour(shownAt(frame, 20.5, 20), kRed));
    EXPECT_TRUE(nearColour(shownAt(frame, 15, 0, 20), kGreen));
    EXPECT_TRUE(nearColour(shownAt(frame, 0, 50, -100), kBlue));
    EXPECT_NEAR(farPlane(), 300.0, 0.01);
}

TEST_F(DisplayTest, SceneViewDrawsTheFrameModelWithTheFrameTexture) {
    // One post of a frame, right of the face and a little in front of it.
    billboardModel = obj::createFile(nullptr);
    const float corners[4][5] = {
        {22, 5, 1, 0, 0}, {26, 5, 1, 1, 0}, {26, 35, 1, 1, 1}, {22, 35, 1, 0, 1}};
    for (const auto& c : corners) {
        const int vi = obj::createVertex(billboardModel);
        obj::setVertexPosition(billboardModel, vi, c);
        obj::setVertexTexcoord(billboardModel, vi, c + 3);
    }
    const int si = obj::createSurface(billboardModel);
    const int triangles[2][3] = {{0, 1, 2}, {0, 2, 3}};
    for (const auto& t : triangles) {
        obj::setPolygon(billboardModel, si, obj::createPolygon(billboardModel, si), t);
    }

    fillSceneTextures();
    showPicture(0, kRed, 64, 32);
    effectParameters.dayScene = true;
    display();
    EXPECT_TRUE(nearColour(shownAt(testsupport::readShownFrame(), 24, 20, 1), kGrey));

    effectParameters.dayScene = false;
    display();
    EXPECT_FALSE(drawnAt(24, 33, 1));  // the normal view draws no model
    billboardModel = -1;
}

TEST_F(DisplayTest, NightViewUsesItsOwnGroundAndBackdrop) {
    fillSceneTextures();
    showPicture(0, kRed, 64, 32);
    effectParameters.nightScene = true;
    display();
    const testsupport::Frame frame = testsupport::readShownFrame();

    EXPECT_TRUE(nearColour(shownAt(frame, 15, 0, 20), kYellow));
    EXPECT_TRUE(nearColour(shownAt(frame, 0, 50, -100), kMagenta));
    EXPECT_TRUE(nearColour(shownAt(frame, 0, 20), kRed));
}

TEST_F(DisplayTest, NormalViewSizesTheFaceFromThePicture) {
    showPicture(2, kRed, 512, 256);
    display();
    EXPECT_TRUE(drawnAt(0, 5.5));
    EXPECT_TRUE(drawnAt(0, 24.5));
    EXPECT_FALSE(drawnAt(0, 4.5));
    EXPECT_FALSE(drawnAt(0, 25.5));
    EXPECT_TRUE(nearColour(shownAt(testsupport::readShownFrame(), 0, 15), kRed));

    showPicture(3, kRed, 300, 200);
    display();
    EXPECT_TRUE(drawnAt(0, -4.5));
    EXPECT_TRUE(drawnAt(0, 34.5));
    EXPECT_FALSE(drawnAt(0, -5.5));
    EXPECT_FALSE(drawnAt(0, 35.5));
}

TEST_F(DisplayTest, NormalViewDrawsNoGroundOrBackdrop) {
    fillSceneTextures();
    showPicture(0, kRed, 512, 256);
    display();
    EXPECT_FALSE(drawnAt(15, 0, 20));
    EXPECT_FALSE(drawnAt(0, 50, -60));
}

TEST_F(DisplayTest, NarrowAndUnloadedPicturesDrawASquareFace) {
    showPicture(1, kRed, 200, 300);
    display();
    EXPECT_TRUE(drawnAt(0, 34.5));
    EXPECT_FALSE(drawnAt(0, 35.5));

    // A picture whose file failed to load: no texture, no size.
    effectParameters.picture = 4;
    display();
    EXPECT_TRUE(drawnAt(0, 34.5));
    EXPECT_TRUE(drawnAt(0, -4.5));
    EXPECT_FALSE(drawnAt(0, 35.5));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(DisplayTest, NeonSignIsLitInEvenSecondsAndUnlitInOddOnes) {
    pictureCatalogue.textureIds[12] = texture(kYellow);
    pictureCatalogue.textureIds[13] = texture(kBlue);
    showPicture(5, kBlue, 256, 128);
    pictureCatalogue.textureIds[5] = pictureCatalogue.textureIds[13];

    pinWallClock(1'800'000'000);  // seconds field 0
    display();
    EXPECT_EQ(pictureCatalogue.textureIds[5], pictureCatalogue.textureIds[12]);
    EXPECT_TRUE(nearColour(shownAt(testsupport::readShownFrame(), 0, 15), kYellow));

    pinWallClock(1'800'000'001);  // seconds field 1
    display();
    EXPECT_EQ(pictureCatalogue.textureIds[5], pictureCatalogue.textureIds[13]);
    EXPECT_TRUE(nearColour(shownAt(testsupport::readShownFrame(), 0, 15), kBlue));

    pinWallClock(1'800'000'058);
    display();
    EXPECT_EQ(pictureCatalogue.textureIds[5], pictureCatalogue.textureIds[12]);
}

TEST_F(DisplayTest, NeonSignKeepsFramesComingWithoutInput) {
    pictureCatalogue.textureIds[12] = texture(kYellow);
    pictureCatalogue.textureIds[13] = texture(kBlue);
    showPicture(5, kBlue, 256, 128);
    int before = testsupport::redisplayRequests();
    display();
    EXPECT_EQ(testsupport::redisplayRequests(), before + 1);

    showPicture(0, kRed, 256, 128);
    before = testsupport::redisplayRequests();
    display();
    EXPECT_EQ(testsupport::redisplayRequests(), before);
}

TEST_F(DisplayTest, NeonSignDoesNotBlinkInTheSceneViews) {
    pictureCatalogue.textureIds[12] = texture(kYellow);
    pictureCatalogue.textureIds[13] = texture(kBlue);
    showPicture(5, kBlue, 256, 128);
    pictureCatalogue.textureIds[5] = pictureCatalogue.textureIds[13];
    pinWallClock(1'800'000'000);
    effectParameters.dayScene = true;
    display();
    EXPECT_EQ(pictureCatalogue.textureIds[5], pictureCatalogue.textureIds[13]);
}

TEST_F(DisplayTest, SceneViewInAWindowNarrowerThanTallKeepsASoundProjection) {
    showPicture(0, kRed, 512, 256);
    effectParameters.dayScene = true;
    ASSERT_TRUE(testsupport::resizeGlWindow(350, 700));
    display();
    GLdouble m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    const bool faceDrawn = drawnAt(0, 20);
    ASSERT_TRUE(testsupport::resizeGlWindow(700, 700));
    EXPECT_NEAR(m[5] / m[0], 0.5, 1e-3);  // the true aspect, not the whole-number 0
    EXPECT_TRUE(faceDrawn);
}

TEST_F(DisplayTest, LeavingTheDayViewKeepsItsFarPlaneForTheNormalView) {
    showPicture(0, kRed, 512, 256);
    effectParameters.dayScene = true;
    display();
    effectParameters.dayScene = false;
    display();
    EXPECT_NEAR(farPlane(), 300.0, 0.01);
}

}  // namespace

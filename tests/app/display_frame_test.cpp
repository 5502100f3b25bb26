// The real frame model ("./Models/billboard.obj") in the day and night views: its trim shows
// the frame texture right around the billboard face, and its vertices go to GL once.
#include <gtest/gtest.h>

#include <GL/glew.h>
#include <GL/freeglut.h>

#include "app/callbacks.h"
#include "app/core/effect_keys.h"
#include "app/core/run_state.h"
#include "app/scene_load.h"
#include "app/startup.h"
#include "camera/camera.h"
#include "effects/effect_programs.h"
#include "obj/obj.h"
#include "obj/obj_internal.h"
#include "tests/support/gl_scene.h"
#include "tests/support/scene_state.h"

namespace {

using testsupport::Rgb;
// The face red, the ground green, the backdrop blue and the frame's metal grey.
constexpr Rgb kFace = testsupport::colours::kRed;
constexpr Rgb kGround = testsupport::colours::kGreen;
constexpr Rgb kBackdrop = testsupport::colours::kBlue;
constexpr Rgb kMetal = testsupport::colours::kGrey;

using testsupport::nearColour;

// Scene points on the front of the trim bars, just outside the face (x -20..20, y 10..30).
constexpr double kAroundFace[4][3] = {
    {0, 30.6, 0.4}, {0, 9.2, 0.4}, {-20.6, 20, 0.4}, {20.6, 20, 0.4}};

class DisplayFrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testsupport::resetSceneState();
        static int frameModel = obj::createFile("./Models/billboard.obj");
        billboardModel = frameModel;
        effectParameters.program = effectPrograms[0];
        effectParameters.pixelSize = 2;
        pictureCatalogue.textureIds[0] = testsupport::makeFlatTexture(kFace);
        pictureCatalogue.pictures[0] = {2, 64, 32};
        for (int slot : {7, 9})
            pictureCatalogue.textureIds[slot] = testsupport::makeFlatTexture(kGround);
        for (int slot : {8, 10})
            pictureCatalogue.textureIds[slot] = testsupport::makeFlatTexture(kBackdrop);
        pictureCatalogue.textureIds[11] = testsupport::makeFlatTexture(kMetal);
    }

    void TearDown() override {
        for (GLuint& id : pictureCatalogue.textureIds) {
            if (id != 0) glDeleteTextures(1, &id);
            id = 0;
        }
        billboardModel = -1;
    }

    static Rgb shownAt(const testsupport::Frame& frame, const double* point) {
        const testsupport::WindowPoint p =
            testsupport::projectToWindow(point[0], point[1], point[2]);
        return frame.at(p.x, p.y);
    }
};

TEST_F(DisplayFrameTest, TheFrameModelLoadsWithSurfacesAndVertices) {
    ASSERT_GE(billboardModel, 0);
    EXPECT_GT(obj::surfaceCount(billboardModel), 0);
    EXPECT_GT(obj::vertexCount(billboardModel), 0);
}

TEST_F(DisplayFrameTest, DayViewShowsTheMetalFrameAroundTheFace) {
    effectParameters.dayScene = true;
    display();
    const testsupport::Frame frame = testsupport::readShownFrame();
    const double centre[3] = {0, 20, 0};
    EXPECT_TRUE(nearColour(shownAt(frame, centre), kFace));
    for (const auto& point : kAroundFace) {
        EXPECT_TRUE(nearColour(shownAt(frame, point), kMetal)) << point[0] << ", " << point[1];
    }

    // Without the model the same points show the backdrop or the ground.
    billboardModel = -1;
    display();
    const testsupport::Frame bare = testsupport::readShownFrame();
    for (const auto& point : kAroundFace) {
        EXPECT_FALSE(nearColour(shownAt(bare, point), kMetal)) << point[0] << ", " << point[1];
    }
}

TEST_F(DisplayFrameTest, NightViewShowsTheFrameToo) {
    effectParameters.nightScene = true;
    display();
    const testsupport::Frame frame = testsupport::readShownFrame();
    for (const auto& point : kAroundFace) {
        EXPECT_TRUE(nearColour(shownAt(frame, point), kMetal)) << point[0] << ", " << point[1];
    }
}

TEST_F(DisplayFrameTest, TheVerticesAreUploadedOnceAndKeptAcrossFrames) {
    effectParameters.dayScene = true;
    display();
    const GLuint buffer = obj::file(billboardModel)->vbo;
    ASSERT_NE(buffer, 0u);
    display();
    display();
    EXPECT_EQ(obj::file(billboardModel)->vbo, buffer);
    GLint size = 0;
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
    EXPECT_EQ(size, obj::vertexCount(billboardModel) * 44);
}

}  // namespace

// Tests of model drawing against a real GL context (Mesa under Xvfb): the extension test,
// the vertex buffer's life, what a surface draws, the pixels a model covers, and the
// client-array path and missing entry points through the probe's test seams.
#include <GL/glew.h>
#include <GL/freeglut.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "obj/draw_gl.h"
#include "obj/obj.h"
#include "obj/obj_internal.h"
#include "tests/support/gl_window.h"

namespace {

constexpr int windowSize = 700;
constexpr int centre = windowSize / 2;

void* lookupWithoutGenericAttributes(const char* name) {
    if (std::strcmp(name, "glEnableVertexAttribArrayARB") == 0) return nullptr;
    if (std::strcmp(name, "glVertexAttribPointerARB") == 0) return nullptr;
    return reinterpret_cast<void*>(glutGetProcAddress(name));
}

class DrawTest : public testing::Test {
  protected:
    void SetUp() override {
        testsupport::openGlWindow();
        glViewport(0, 0, windowSize, windowSize);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-1, 1, -1, 1, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_LIGHTING);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_CULL_FACE);
        glColor3f(0, 1, 0);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    void TearDown() override {
        obj::setGlExtensionString(nullptr);
        obj::setGlEntryPointLookup(nullptr);
        obj::forgetGlExtensionProbe();
        while (obj::fileCount() > 0) obj::deleteFile(obj::fileCount() - 1);
    }

    // A file with one red material and a square of two triangles from -half to half,
    // facing +z, with texture coordinates 0 to 1.
    int makeSquare(float half) {
        int fi = obj::createFile(nullptr);
        int mi = obj::createMaterial(fi);
        const float red[4] = {1, 0, 0, 1};
        const float black[4] = {0, 0, 0, 1};
        obj::setMaterialColor(fi, mi, obj::diffuse, red);
        obj::setMaterialColor(fi, mi, obj::ambient, black);
        const float corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
        for (const auto& corner : corners) {
            int vi = obj::createVertex(fi);
            const float position[3] = {corner[0] * half, corner[1] * half, 0};
            const float texcoord[2] = {(corner[0] + 1) / 2, (corner[1] + 1) / 2};
            const float normal[3] = {0, 0, 1};
            obj::setVertexPosition(fi, vi, position);
            obj::setVertexTexcoord(fi, vi, texcoord);
            obj::setVertexNormal(fi, vi, normal);
        }
        int si = obj::createSurface(fi);
        obj::setSurfaceMaterial(fi, si, mi);
        const int first[3] = {0, 1, 2};
        const int second[3] = {0, 2, 3};
        obj::setPolygon(fi, si, obj::createPolygon(fi, si), first);
        obj::setPolygon(fi, si, obj::createPolygon(fi, si), second);
        return fi;
    }

    static GLint bufferSize(GLuint buffer) {
        GLint size = -1;
        glBindBuffer(GL_ARRAY_BUFFER, buffer);
        glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
        return size;
    }

    // Primitives that GL assembled while draw ran.
    template <class Draw>
    static GLuint primitivesDrawnBy(Draw draw) {
        GLuint query = 0;
        glGenQueries(1, &query);
        glBeginQuery(GL_PRIMITIVES_GENERATED, query);
        draw();
        glEndQuery(GL_PRIMITIVES_GENERATED);
        GLuint count = 0;
        glGetQueryObjectuiv(query, GL_QUERY_RESULT, &count);
        glDeleteQueries(1, &query);
        return count;
    }

    static void lightFromTheViewer() {
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
        const float direction[4] = {0, 0, 1, 0};
        const float noAmbient[4] = {0, 0, 0, 1};
        glLightfv(GL_LIGHT0, GL_POSITION, direction);
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, noAmbient);
    }
};

TEST_F(DrawTest, ExtensionNamesMatchAsTailsButNotAsPrefixes) {
    obj::setGlExtensionString("GL_ARB_foo GL_EXT_bar_baz GL_last");
    EXPECT_TRUE(obj::hasGlExtension("GL_ARB_foo"));
    EXPECT_TRUE(obj::hasGlExtension("bar_baz"));
    EXPECT_TRUE(obj::hasGlExtension("GL_last"));
    EXPECT_TRUE(obj::hasGlExtension("last"));
    EXPECT_FALSE(obj::hasGlExtension("GL_EXT_bar"));
    EXPECT_FALSE(obj::hasGlExtension("GL_ARB_fo"));
    EXPECT_FALSE(obj::hasGlExtension("GL_ARB_foo GL_EXT_bar_bazz"));
    EXPECT_FALSE(obj::hasGlExtension("GL_missing"));
    obj::setGlExtensionString(nullptr);
    EXPECT_TRUE(obj::hasGlExtension("GL_ARB_vertex_buffer_object"));
    EXPECT_FALSE(obj::extensionListHas(nullptr, "GL_ARB_foo"));
}

TEST_F(DrawTest, FirstDrawUploadsEveryVertexRecordOnceAndKeepsTheBuffer) {
    int fi = makeSquare(0.5f);
    ASSERT_EQ(obj::file(fi)->vbo, 0u);
    obj::drawModel(fi);
    GLuint vbo = obj::file(fi)->vbo;
    ASSERT_NE(vbo, 0u);
    EXPECT_EQ(bufferSize(vbo), 4 * 44);
    std::vector<unsigned char> uploaded(4 * 44);
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, 4 * 44, uploaded.data());
    EXPECT_EQ(std::memcmp(uploaded.data(), obj::file(fi)->vertices, 4 * 44), 0);
    obj::drawModel(fi);
    EXPECT_EQ(obj::file(fi)->vbo, vbo);
}

TEST_F(DrawTest, VertexSettersAndDeleteVertexDropTheBufferButCreateVertexDoesNot) {
    int fi = makeSquare(0.5f);
    obj::drawModel(fi);
    GLuint vbo = obj::file(fi)->vbo;
    obj::createVertex(fi);
    EXPECT_EQ(obj::file(fi)->vbo, vbo);

    const float normal[3] = {0, 1, 0};
    obj::setVertexNormal(fi, 4, normal);
    EXPECT_EQ(obj::file(fi)->vbo, 0u);
    EXPECT_FALSE(glIsBuffer(vbo));

    obj::drawModel(fi);
    ASSERT_NE(obj::file(fi)->vbo, 0u);
    EXPECT_EQ(bufferSize(obj::file(fi)->vbo), 5 * 44);
    const float texcoord[2] = {0.5f, 0.5f};
    obj::setVertexTexcoord(fi, 4, texcoord);
    EXPECT_EQ(obj::file(fi)->vbo, 0u);

    obj::drawModel(fi);
    const float position[3] = {0.25f, 0, 0};
    obj::setVertexPosition(fi, 4, position);
    EXPECT_EQ(obj::file(fi)->vbo, 0u);

    obj::drawModel(fi);
    obj::deleteVertex(fi, 4);
    EXPECT_EQ(obj::file(fi)->vbo, 0u);
    obj::drawModel(fi);
    EXPECT_EQ(bufferSize(obj::file(fi)->vbo), 4 * 44);
}

TEST_F(DrawTest, ASurfaceWithNothingToDrawMakesNoMaterialOrDrawCall) {
    int fi = makeSquare(0.5f);
    int empty = obj::createSurface(fi);
    obj::setSurfaceMaterial(fi, empty, 0);
    const float sentinel[4] = {0.25f, 0.5f, 0.75f, 1};
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, sentinel);
    obj::makeVertexBuffer(fi);
    obj::bindVertexArrays(fi);
    EXPECT_EQ(primitivesDrawnBy([&] { obj::drawSurface(fi, empty); }), 0u);
    float diffuse[4];
    glGetMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
    EXPECT_EQ(diffuse[0], 0.25f);
    EXPECT_EQ(diffuse[2], 0.75f);

    EXPECT_EQ(primitivesDrawnBy([&] { obj::drawSurface(fi, 0); }), 2u);
    glGetMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
    EXPECT_EQ(diffuse[0], 1.0f);
    EXPECT_EQ(diffuse[2], 0.0f);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableVertexAttribArray(6);
}

TEST_F(DrawTest, EachSurfaceDrawsItsTrianglesAndItsLines) {
    int fi = makeSquare(0.5f);
    int si = obj::createSurface(fi);
    const int ends[2] = {0, 2};
    obj::setLine(fi, si, obj::createLine(fi, si), ends);
    const int triangle[3] = {1, 2, 3};
    obj::setPolygon(fi, si, obj::createPolygon(fi, si), triangle);
    EXPECT_EQ(primitivesDrawnBy([&] { obj::drawModel(fi); }), 4u);
}

TEST_F(DrawTest, AModelCoversItsPixelsInTheCurrentColourWhenUnlit) {
    int fi = makeSquare(0.5f);
    obj::drawModel(fi);
    testsupport::Rgb inside = testsupport::readPixel(centre, centre);
    testsupport::Rgb outside = testsupport::readPixel(centre + 200, centre);
    EXPECT_EQ(inside.g, 255);
    EXPECT_EQ(inside.r, 0);
    EXPECT_EQ(outside.g, 0);
    // The square spans a quarter of the window around its centre.
    EXPECT_EQ(testsupport::readPixel(centre + 170, centre + 170).g, 255);
    EXPECT_EQ(testsupport::readPixel(centre + 180, centre + 180).g, 0);
}

TEST_F(DrawTest, ALitModelShowsItsMaterialAndLeavesTheCallersStateAlone) {
    int fi = makeSquare(0.5f);
    lightFromTheViewer();
    glEnable(GL_COLOR_MATERIAL);
    obj::drawModel(fi);
    testsupport::Rgb inside = testsupport::readPixel(centre, centre);
    EXPECT_GT(inside.r, 240);
    EXPECT_LT(inside.g, 10);
    EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_NORMAL_ARRAY));
    GLint attributeEnabled = 1;
    glGetVertexAttribiv(6, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &attributeEnabled);
    EXPECT_EQ(attributeEnabled, 0);
    glDisable(GL_COLOR_MATERIAL);
    glDisable(GL_LIGHTING);
}

TEST_F(DrawTest, ASurfaceWithAMissingMaterialKeepsTheMaterialBeforeIt) {
    int fi = makeSquare(0.5f);
    int si = obj::createSurface(fi);
    obj::setSurfaceMaterial(fi, si, 5);
    const float x = 0.75f;
    int vi = obj::createVertex(fi);
    const float a[3] = {x, -0.1f, 0};
    const float b[3] = {0.95f, -0.1f, 0};
    const float c[3] = {0.95f, 0.1f, 0};
    const float normal[3] = {0, 0, 1};
    obj::setVertexPosition(fi, vi, a);
    obj::setVertexNormal(fi, vi, normal);
    for (const float* p : {b, c}) {
        int next = obj::createVertex(fi);
        obj::setVertexPosition(fi, next, p);
        obj::setVertexNormal(fi, next, normal);
    }
    const int triangle[3] = {vi, vi + 1, vi + 2};
    obj::setPolygon(fi, si, obj::createPolygon(fi, si), triangle);
    lightFromTheViewer();
    obj::drawModel(fi);
    testsupport::Rgb extra = testsupport::readPixel(centre + 300, centre - 10);
    EXPECT_GT(extra.r, 240);
    EXPECT_LT(extra.g, 10);
    glDisable(GL_LIGHTING);
}

TEST_F(DrawTest, IndicesOutsideTheVertexArrayAreNotDrawn) {
    int fi = makeSquare(0.5f);
    const int bad[3] = {0, 1, 99};
    obj::setPolygon(fi, 0, 1, bad);
    int si = obj::createSurface(fi);
    const int badEnds[2] = {-1, 2};
    obj::setLine(fi, si, obj::createLine(fi, si), badEnds);
    EXPECT_EQ(primitivesDrawnBy([&] { obj::drawModel(fi); }), 0u);
}

TEST_F(DrawTest, WithoutVertexBuffersClientArraysDrawTheSamePixels) {
    obj::forgetGlExtensionProbe();
    obj::setGlExtensionString("GL_ARB_multitexture GL_ARB_vertex_program");
    int fi = makeSquare(0.5f);
    obj::drawModel(fi);
    obj::drawModel(fi);
    EXPECT_EQ(obj::file(fi)->vbo, 0u);
    EXPECT_FALSE(obj::glExtensions.hasVertexBuffers);
    EXPECT_EQ(testsupport::readPixel(centre, centre).g, 255);
    EXPECT_EQ(testsupport::readPixel(centre + 200, centre).g, 0);
}

TEST_F(DrawTest, MissingGenericAttributeEntryPointsOnlyDropTheTangent) {
    obj::forgetGlExtensionProbe();
    obj::setGlEntryPointLookup(lookupWithoutGenericAttributes);
    int fi = makeSquare(0.5f);
    obj::drawModel(fi);
    EXPECT_EQ(obj::glExtensions.enableVertexAttribArray, nullptr);
    EXPECT_NE(obj::file(fi)->vbo, 0u);
    EXPECT_EQ(testsupport::readPixel(centre, centre).g, 255);
}

TEST_F(DrawTest, TheProbeReadsTheImageUnitLimitAndTheEntryPoints) {
    obj::forgetGlExtensionProbe();
    obj::probeGlExtensions();
    GLint units = 0;
    glGetIntegerv(GL_MAX_TEXTURE_IMAGE_UNITS, &units);
    EXPECT_EQ(obj::glExtensions.textureUnitCount, units);
    EXPECT_TRUE(obj::glExtensions.extensionsProbed);
    EXPECT_TRUE(obj::glExtensions.hasVertexBuffers);
    EXPECT_TRUE(obj::glExtensions.hasMultitexture);
    EXPECT_NE(obj::glExtensions.deleteBuffers, nullptr);
    EXPECT_NE(obj::glExtensions.activeTexture, nullptr);
}

TEST_F(DrawTest, TangentFramesDrawTangentAndSecondTangentAsColouredLines) {
    int fi = obj::createFile(nullptr);
    int vi = obj::createVertex(fi);
    obj::ObjVertex* v = &obj::file(fi)->vertices[vi];
    // At the centre of pixel (350, 350), so the lines cover whole pixel rows and columns.
    v->position[0] = 0.5f / centre;
    v->position[1] = 0.5f / centre;
    v->tangent[0] = 1;
    v->normal[2] = 1;
    glColor3f(1, 1, 1);
    obj::drawTangentFrames(fi, 0.5f);
    testsupport::Rgb alongTangent = testsupport::readPixel(centre + 100, centre);
    testsupport::Rgb alongSecond = testsupport::readPixel(centre, centre + 100);
    EXPECT_EQ(alongTangent.r, 255);
    EXPECT_EQ(alongTangent.g, 0);
    EXPECT_EQ(alongSecond.g, 255);
    EXPECT_EQ(alongSecond.r, 0);
    float current[4];
    glGetFloatv(GL_CURRENT_COLOR, current);
    EXPECT_EQ(current[0], 1.0f);
    EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
}

using DrawDeathTest = DrawTest;

TEST_F(DrawDeathTest, DrawingAMissingFileSurfaceOrMaterialEndsWithItsTest) {
    testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_DEATH(obj::drawModel(obj::fileCount()), "0 <= fi && fi < fc");
    EXPECT_DEATH(obj::drawTangentFrames(-1, 1.0f), "0 <= fi && fi < fc");
    int fi = makeSquare(0.5f);
    EXPECT_DEATH(obj::drawSurface(fi, obj::surfaceCount(fi)), "0 <= si && si < file\\(fi\\)->sc");
    EXPECT_DEATH(obj::applyMaterial(fi, -1), "0 <= mi && mi < file\\(fi\\)->mc");
}

}  // namespace

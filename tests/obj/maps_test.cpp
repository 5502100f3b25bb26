// Tests of the material texture maps against a real GL context: giving a slot a map path,
// deleting textures, and applying a slot's texture with its wrap modes and texture matrix.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <array>

#include "obj/obj.h"
#include "obj/obj_internal.h"
#include "tests/support/gl_window.h"

namespace {

class MapsTest : public testing::Test {
  protected:
    void SetUp() override {
        testsupport::openGlWindow();
        fi = obj::createFile(nullptr);
        mi = obj::createMaterial(fi);
        glMatrixMode(GL_TEXTURE);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
    }
    void TearDown() override {
        while (obj::fileCount() > 0) obj::deleteFile(obj::fileCount() - 1);
    }

    // A real texture object given to a slot directly: no image format is decoded for maps.
    GLuint giveSlotTexture(int ki) {
        GLuint texture = 0;
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        const unsigned char pixel[3] = {255, 0, 0};
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, pixel);
        glBindTexture(GL_TEXTURE_2D, 0);
        obj::file(fi)->materials[mi].maps[ki].texture = texture;
        return texture;
    }

    static GLint boundTexture() {
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        return bound;
    }

    int fi = -1;
    int mi = -1;
};

TEST_F(MapsTest, SetMaterialMapKeepsACopyOfThePathAndMakesNoTexture) {
    char path[] = "./Models/metal.bmp";
    obj::setMaterialMap(fi, mi, obj::diffuse, path);
    path[2] = 'X';
    EXPECT_STREQ(obj::file(fi)->materials[mi].maps[obj::diffuse].path, "./Models/metal.bmp");
    EXPECT_EQ(obj::getMaterialTexture(fi, mi, obj::diffuse), 0u);
    obj::setMaterialMap(fi, mi, obj::diffuse, nullptr);
    EXPECT_EQ(obj::file(fi)->materials[mi].maps[obj::diffuse].path, nullptr);
}

TEST_F(MapsTest, SetMaterialMapDeletesTheSlotsOldTexture) {
    GLuint old = giveSlotTexture(obj::specular);
    ASSERT_TRUE(glIsTexture(old));
    obj::setMaterialMap(fi, mi, obj::specular, "a.png");
    EXPECT_FALSE(glIsTexture(old));
    EXPECT_EQ(obj::getMaterialTexture(fi, mi, obj::specular), 0u);
    EXPECT_STREQ(obj::file(fi)->materials[mi].maps[obj::specular].path, "a.png");
}

TEST_F(MapsTest, DeletingAMaterialOrFileDeletesItsTextures) {
    GLuint first = giveSlotTexture(obj::ambient);
    obj::deleteMaterial(fi, mi);
    EXPECT_FALSE(glIsTexture(first));
    mi = obj::createMaterial(fi);
    GLuint second = giveSlotTexture(obj::shininess);
    obj::deleteFile(fi);
    EXPECT_FALSE(glIsTexture(second));
}

TEST_F(MapsTest, NoPathYieldsAnImageAndOutputsStayUnwritten) {
    for (const char* path : {"", "ab", "x.bmp", "x.BMP", "./Textures/a.tga", "y.png"}) {
        int width = -7;
        int height = -7;
        int b = -7;
        EXPECT_EQ(obj::readMapImage(path, &width, &height, &b), nullptr) << path;
        EXPECT_EQ(width, -7);
        EXPECT_EQ(height, -7);
        EXPECT_EQ(b, -7);
        EXPECT_EQ(obj::loadMapTexture(path), 0u);
    }
    EXPECT_EQ(obj::loadMapTexture(nullptr), 0u);
}

TEST_F(MapsTest, ApplyingASlotWithoutTextureChangesNoState) {
    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_TEXTURE_2D);
    glMatrixMode(GL_PROJECTION);
    obj::setMaterialOffset(fi, mi, obj::diffuse, std::array<float, 3>{0.5f, 0, 0}.data());
    obj::applyMap(fi, mi, obj::diffuse);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    glMatrixMode(GL_MODELVIEW);
    EXPECT_EQ(mode, GL_PROJECTION);
    EXPECT_EQ(boundTexture(), 0);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    GLfloat matrix[16];
    glGetFloatv(GL_TEXTURE_MATRIX, matrix);
    EXPECT_EQ(matrix[12], 0.0f);
}

TEST_F(MapsTest, ClampFlagChoosesTheWrapModes) {
    GLuint texture = giveSlotTexture(obj::diffuse);
    obj::setMaterialFlags(fi, mi, obj::diffuse, obj::MAP_CLAMP);
    obj::applyMap(fi, mi, obj::diffuse);
    EXPECT_EQ(boundTexture(), static_cast<GLint>(texture));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    GLint wrapS = 0;
    GLint wrapT = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrapS);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrapT);
    EXPECT_EQ(wrapS, GL_CLAMP_TO_EDGE);
    EXPECT_EQ(wrapT, GL_CLAMP_TO_EDGE);
    obj::setMaterialFlags(fi, mi, obj::diffuse, 0);
    obj::applyMap(fi, mi, obj::diffuse);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrapS);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrapT);
    EXPECT_EQ(wrapS, GL_REPEAT);
    EXPECT_EQ(wrapT, GL_REPEAT);
    glDisable(GL_TEXTURE_2D);
}

TEST_F(MapsTest, TextureMatrixTranslatesThenScales) {
    giveSlotTexture(obj::diffuse);
    const float offset[3] = {0.5f, 0.0f, 0.0f};
    const float scale[3] = {2.0f, 2.0f, 1.0f};
    obj::setMaterialOffset(fi, mi, obj::diffuse, offset);
    obj::setMaterialScale(fi, mi, obj::diffuse, scale);
    glMatrixMode(GL_PROJECTION);
    obj::applyMap(fi, mi, obj::diffuse);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    GLfloat m[16];
    glGetFloatv(GL_TEXTURE_MATRIX, m);
    // Column-major: (u, v, 0, 1) maps to (2u + 0.5, 2v, 0, 1).
    const float u = 0.3f;
    const float v = 0.6f;
    EXPECT_FLOAT_EQ(m[0] * u + m[4] * v + m[12], 2 * u + 0.5f);
    EXPECT_FLOAT_EQ(m[1] * u + m[5] * v + m[13], 2 * v);
    EXPECT_FLOAT_EQ(m[10], 1.0f);
    EXPECT_FLOAT_EQ(m[15], 1.0f);
    glDisable(GL_TEXTURE_2D);
}

}  // namespace

// The four effect programs built from the shader files, on a real GL context.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "effects/effect_programs.h"
#include "tests/support/gl_window.h"

namespace {

namespace fs = std::filesystem;

GLint objectParameter(GLhandleARB object, GLenum name) {
    GLint value = -1;
    glGetObjectParameterivARB(object, name, &value);
    return value;
}

// Active uniforms of a linked program, by name, with their GL types.
std::map<std::string, GLenum> activeUniforms(GLhandleARB program) {
    std::map<std::string, GLenum> uniforms;
    const GLint count = objectParameter(program, GL_OBJECT_ACTIVE_UNIFORMS_ARB);
    for (GLint i = 0; i < count; ++i) {
        GLcharARB name[256];
        GLsizei length = 0;
        GLint size = 0;
        GLenum type = 0;
        glGetActiveUniformARB(program, GLuint(i), sizeof name, &length, &size, &type, name);
        const std::string uniform(name, size_t(length));
        if (uniform.rfind("gl_", 0) != 0) uniforms[uniform] = type;  // built-in state
    }
    return uniforms;
}

class EffectProgramsTest : public ::testing::Test {
  protected:
    void SetUp() override { testsupport::openGlWindow(); }
};

TEST_F(EffectProgramsTest, BuildsFourDistinctProgramsAndLeavesNoneInUse) {
    ASSERT_TRUE(hasShaderObjectEntryPoints());
    buildEffectPrograms();
    for (int i = 0; i < kEffectCount; ++i) {
        EXPECT_NE(effectPrograms[i], 0u);
        for (int j = 0; j < i; ++j) EXPECT_NE(effectPrograms[i], effectPrograms[j]);
    }
    EXPECT_EQ(glGetHandleARB(GL_PROGRAM_OBJECT_ARB), 0u);
    GLint current = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, 0);
}

TEST_F(EffectProgramsTest, EveryShaderFileCompilesAndLinksOnThisDriver) {
    buildEffectPrograms();
    for (int i = 0; i < kEffectCount; ++i) {
        const GLhandleARB program = effectPrograms[i];
        EXPECT_EQ(objectParameter(program, GL_OBJECT_LINK_STATUS_ARB), GL_TRUE)
            << effectInfos[i].name;
        GLhandleARB shaders[2] = {0, 0};
        GLsizei count = 0;
        glGetAttachedObjectsARB(program, 2, &count, shaders);
        ASSERT_EQ(count, 2) << effectInfos[i].name;
        EXPECT_EQ(objectParameter(shaders[0], GL_OBJECT_SUBTYPE_ARB), GL_VERTEX_SHADER_ARB);
        EXPECT_EQ(objectParameter(shaders[1], GL_OBJECT_SUBTYPE_ARB), GL_FRAGMENT_SHADER_ARB);
        for (GLhandleARB shader : shaders)
            EXPECT_EQ(objectParameter(shader, GL_OBJECT_COMPILE_STATUS_ARB), GL_TRUE)
                << effectInfos[i].name;
    }
}

TEST_F(EffectProgramsTest, EachEffectUsesExactlyTheUniformsItIsFed) {
    buildEffectPrograms();
    std::map<std::string, GLenum> expected = {
        {"billboardTexture", GL_SAMPLER_2D}, {"billboardSize", GL_INT_VEC2}, {"pixelSize", GL_INT}};
    const std::map<std::string, GLenum> added[kEffectCount] = {
        {},
        {{"tolerance", GL_FLOAT}, {"pixelRadius", GL_FLOAT}},
        {{"luminanceSteps", GL_INT}, {"luminanceBoost", GL_FLOAT}},
        {{"colorBoost", GL_FLOAT}, {"burntOutPercent", GL_FLOAT}, {"noiseTexture", GL_SAMPLER_2D}},
    };
    for (int i = 0; i < kEffectCount; ++i) {
        expected.insert(added[i].begin(), added[i].end());
        EXPECT_EQ(activeUniforms(effectPrograms[i]), expected) << effectInfos[i].name;
    }
}

// Videos kept as planes draw through variants of the same programs, which read luma and
// chroma and take their colours: every effect's must link, with the uniforms it had and those.
TEST_F(EffectProgramsTest, EachEffectHasAPlanarVariantReadingThePlanes) {
    buildEffectPrograms();
    ASSERT_TRUE(hasPlanarEffectPrograms());
    const std::map<std::string, GLenum> planes = {{"billboardChromaU", GL_SAMPLER_2D},
                                                  {"billboardChromaV", GL_SAMPLER_2D},
                                                  {"billboardYuvMatrix", GL_FLOAT_MAT3},
                                                  {"billboardYuvOffset", GL_FLOAT_VEC3}};
    for (int i = 0; i < kEffectCount; ++i) {
        const GLhandleARB planar = planarEffectProgram(effectPrograms[i]);
        ASSERT_NE(planar, effectPrograms[i]) << effectInfos[i].name;
        std::map<std::string, GLenum> expected = activeUniforms(effectPrograms[i]);
        expected.insert(planes.begin(), planes.end());
        EXPECT_EQ(activeUniforms(planar), expected) << effectInfos[i].name;
    }
    EXPECT_EQ(planarEffectProgram(0), 0u);
}

// Builds from a scratch folder whose Shaders/ holds the given files only.
class ScratchShadersTest : public EffectProgramsTest {
  protected:
    // One folder per process: ctest runs the cases of this file side by side.
    fs::path folder =
        fs::path(::testing::TempDir()) / ("glimmer_shaders_" + std::to_string(getpid()));
    fs::path previous = fs::current_path();

    void SetUp() override {
        EffectProgramsTest::SetUp();
        fs::remove_all(folder);
        fs::create_directories(folder / "Shaders");
        fs::current_path(folder);
    }
    void TearDown() override {
        fs::current_path(previous);
        fs::remove_all(folder);
    }
    void writeShader(const std::string& name, const std::string& bytes) {
        FILE* file = std::fopen(("Shaders/" + name).c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
};

const char kVertex[] = "void main() { gl_Position = ftransform(); }\n";
const char kFragment[] = "void main() { gl_FragColor = vec4(1.0); }\n";

TEST_F(ScratchShadersTest, MissingFilesStillGiveFourProgramsAndStartUpGoesOn) {
    writeShader("billboard2.vert", kVertex);
    writeShader("billboard2.frag", kFragment);
    buildEffectPrograms();
    for (int i = 0; i < kEffectCount; ++i) EXPECT_NE(effectPrograms[i], 0u);
    EXPECT_EQ(objectParameter(effectPrograms[1], GL_OBJECT_LINK_STATUS_ARB), GL_TRUE);
    // An empty text does not compile, so the program without files does not link.
    EXPECT_EQ(objectParameter(effectPrograms[0], GL_OBJECT_LINK_STATUS_ARB), GL_FALSE);
}

TEST_F(ScratchShadersTest, TextAfterAnEmbeddedNulNeverReachesTheCompiler) {
    for (int n = 1; n <= kEffectCount; ++n) {
        const std::string suffix = std::to_string(n);
        writeShader("billboard" + suffix + ".vert",
                    std::string(kVertex) + std::string(1, '\0') + "this is not GLSL");
        writeShader("billboard" + suffix + ".frag", "\xEF\xBB\xBF" + std::string(kFragment));
    }
    buildEffectPrograms();
    GLhandleARB shaders[2] = {0, 0};
    GLsizei count = 0;
    glGetAttachedObjectsARB(effectPrograms[0], 2, &count, shaders);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(objectParameter(shaders[0], GL_OBJECT_COMPILE_STATUS_ARB), GL_TRUE);
    // The source GL keeps ends at the NUL.
    EXPECT_EQ(objectParameter(shaders[0], GL_OBJECT_SHADER_SOURCE_LENGTH_ARB),
              GLint(sizeof kVertex));
    // A byte-order mark reaches GL unchanged, and GLSL does not accept it.
    EXPECT_EQ(objectParameter(shaders[1], GL_OBJECT_SHADER_SOURCE_LENGTH_ARB),
              GLint(sizeof kFragment + 3));
}

}  // namespace

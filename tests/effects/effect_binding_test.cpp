// The effect binder against real programs built from the shader files: uniform values read
// back from the program, the order of the assignments, texture units and wrap modes.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <string>
#include <vector>

#include "effects/effect_binding.h"
#include "effects/effect_programs.h"
#include "tests/support/gl_scene.h"

namespace {

// Every uniform lookup and texture-unit switch the binder makes, in order, recorded on the
// way to the real GL entry points.
std::vector<std::string> calls;
PFNGLGETUNIFORMLOCATIONARBPROC realGetUniformLocation = nullptr;
PFNGLACTIVETEXTUREARBPROC realActiveTexture = nullptr;

GLint GLAPIENTRY recordUniformLocation(GLhandleARB program, const GLcharARB* name) {
    calls.push_back(name);
    return realGetUniformLocation(program, name);
}

void GLAPIENTRY recordActiveTexture(GLenum unit) {
    calls.push_back("unit " + std::to_string(unit - GL_TEXTURE0_ARB));
    realActiveTexture(unit);
}

class EffectBindingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testsupport::openGlWindow();
        static bool built = false;
        if (!built) {
            buildEffectPrograms();
            built = true;
        }
        picture = testsupport::makeFlatTexture({200, 40, 40}, 64, 32);
        otherPicture = testsupport::makeFlatTexture({40, 200, 40}, 8, 8);
        noise = testsupport::makeFlatTexture({128, 128, 128});
        textures = {picture, 64, 32, noise};
        parameters.pixelSize = 6;
        parameters.pixelRadius = 0.55f;
        parameters.tolerance = 0.25f;
        parameters.luminanceSteps = 7;
        parameters.luminanceBoost = -0.125f;
        parameters.colorBoost = 0.375f;
        parameters.burntOutPercent = 0.0625f;

        realGetUniformLocation = __glewGetUniformLocationARB;
        realActiveTexture = __glewActiveTextureARB;
        __glewGetUniformLocationARB = recordUniformLocation;
        __glewActiveTextureARB = recordActiveTexture;
        calls.clear();
    }

    void TearDown() override {
        __glewGetUniformLocationARB = realGetUniformLocation;
        __glewActiveTextureARB = realActiveTexture;
        glUseProgramObjectARB(0);
        GLuint textures[] = {picture, otherPicture, noise};
        glDeleteTextures(3, textures);
    }

    GLhandleARB useEffect(int mode) {
        parameters.mode = mode;
        parameters.program = effectPrograms[mode];
        return parameters.program;
    }

    void bind(GLhandleARB handle) { bindEffect(handle, parameters, textures); }

    static float floatUniform(GLhandleARB program, const char* name) {
        GLfloat value = -99.0f;
        glGetUniformfvARB(program, realGetUniformLocation(program, name), &value);
        return value;
    }
    static int intUniform(GLhandleARB program, const char* name) {
        GLint value[2] = {-99, -99};
        glGetUniformivARB(program, realGetUniformLocation(program, name), value);
        return value[0];
    }

    static GLint boundTexture(GLenum unit) {
        realActiveTexture(unit);
        GLint texture = -1;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
        realActiveTexture(GL_TEXTURE0_ARB);
        return texture;
    }

    static GLint wrapOf(GLuint texture, GLenum direction) {
        glBindTexture(GL_TEXTURE_2D, texture);
        GLint wrap = -1;
        glGetTexParameteriv(GL_TEXTURE_2D, direction, &wrap);
        return wrap;
    }

    GLuint picture = 0, otherPicture = 0, noise = 0;
    EffectParameters parameters;
    EffectTextures textures;
};

TEST_F(EffectBindingTest, FourthEffectAssignsAllTenUniformsInTheirOrder) {
    bind(useEffect(3));
    const std::vector<std::string> expected = {
        "colorBoost",     "burntOutPercent", "unit 1",    "noiseTexture",
        "luminanceSteps", "luminanceBoost",  "tolerance", "pixelRadius",
        "pixelSize",      "billboardSize",   "unit 0",    "billboardTexture"};
    EXPECT_EQ(calls, expected);
}

TEST_F(EffectBindingTest, EachLowerEffectStartsAtItsOwnEntryAndNeverTouchesUnitOne) {
    bind(useEffect(2));
    EXPECT_EQ(calls, (std::vector<std::string>{"luminanceSteps", "luminanceBoost", "tolerance",
                                               "pixelRadius", "pixelSize", "billboardSize",
                                               "unit 0", "billboardTexture"}));
    calls.clear();
    bind(useEffect(1));
    EXPECT_EQ(calls, (std::vector<std::string>{"tolerance", "pixelRadius", "pixelSize",
                                               "billboardSize", "unit 0", "billboardTexture"}));
    calls.clear();
    bind(useEffect(0));
    EXPECT_EQ(calls, (std::vector<std::string>{"pixelSize", "billboardSize", "unit 0",
                                               "billboardTexture"}));
}

// The same names sit at different places in different programs: every call feeds the
// program it installs with the values it is handed now.
TEST_F(EffectBindingTest, EachCallFeedsTheProgramItInstallsWithTheCurrentValues) {
    const GLhandleARB fourth = useEffect(3);
    bind(fourth);
    const GLhandleARB first = useEffect(0);
    parameters.pixelSize = 11;
    bind(first);
    parameters.pixelSize = 13;
    parameters.tolerance = 0.75f;
    bind(useEffect(3));
    EXPECT_EQ(intUniform(first, "pixelSize"), 11);
    EXPECT_EQ(intUniform(fourth, "pixelSize"), 13);
    EXPECT_FLOAT_EQ(floatUniform(fourth, "tolerance"), 0.75f);
}

TEST_F(EffectBindingTest, FourthEffectProgramHoldsTheParameterValues) {
    const GLhandleARB program = useEffect(3);
    bind(program);
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(GLhandleARB(current), program);
    EXPECT_FLOAT_EQ(floatUniform(program, "colorBoost"), 0.375f);
    EXPECT_FLOAT_EQ(floatUniform(program, "burntOutPercent"), 0.0625f);
    EXPECT_EQ(intUniform(program, "noiseTexture"), 1);
    EXPECT_EQ(intUniform(program, "luminanceSteps"), 7);
    EXPECT_FLOAT_EQ(floatUniform(program, "luminanceBoost"), -0.125f);
    EXPECT_FLOAT_EQ(floatUniform(program, "tolerance"), 0.25f);
    EXPECT_FLOAT_EQ(floatUniform(program, "pixelRadius"), 0.55f);
    EXPECT_EQ(intUniform(program, "pixelSize"), 6);
    EXPECT_EQ(intUniform(program, "billboardTexture"), 0);
    GLint size[2] = {0, 0};
    glGetUniformivARB(program, realGetUniformLocation(program, "billboardSize"), size);
    EXPECT_EQ(size[0], 64);  // width first
    EXPECT_EQ(size[1], 32);
}

TEST_F(EffectBindingTest, LowerEffectsHoldTheirOwnParameterValues) {
    for (int mode = 0; mode < 3; ++mode) {
        SCOPED_TRACE(mode);
        const GLhandleARB program = useEffect(mode);
        bind(program);
        EXPECT_EQ(intUniform(program, "pixelSize"), 6);
        GLint size[2] = {0, 0};
        glGetUniformivARB(program, realGetUniformLocation(program, "billboardSize"), size);
        EXPECT_EQ(size[0], 64);
        EXPECT_EQ(size[1], 32);
        if (mode >= 1) {
            EXPECT_FLOAT_EQ(floatUniform(program, "pixelRadius"), 0.55f);
        }
        if (mode >= 2) {
            EXPECT_EQ(intUniform(program, "luminanceSteps"), 7);
        }
    }
}

TEST_F(EffectBindingTest, FourthEffectBindsNoiseWithRepeatAndPictureWithClampOnUnitZero) {
    bind(useEffect(3));
    GLint active = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE_ARB, &active);
    EXPECT_EQ(active, GL_TEXTURE0_ARB);
    EXPECT_EQ(boundTexture(GL_TEXTURE1_ARB), GLint(noise));
    EXPECT_EQ(boundTexture(GL_TEXTURE0_ARB), GLint(picture));
    EXPECT_EQ(wrapOf(picture, GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(wrapOf(picture, GL_TEXTURE_WRAP_T), GL_CLAMP_TO_EDGE);
    realActiveTexture(GL_TEXTURE1_ARB);
    EXPECT_EQ(wrapOf(noise, GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(wrapOf(noise, GL_TEXTURE_WRAP_T), GL_REPEAT);
    realActiveTexture(GL_TEXTURE0_ARB);
}

TEST_F(EffectBindingTest, FirstEffectLeavesUnitOneAsItWas) {
    const GLuint sentinel = testsupport::makeFlatTexture({1, 2, 3});
    realActiveTexture(GL_TEXTURE1_ARB);
    glBindTexture(GL_TEXTURE_2D, sentinel);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_MIRRORED_REPEAT);
    realActiveTexture(GL_TEXTURE0_ARB);

    bind(useEffect(0));
    EXPECT_EQ(boundTexture(GL_TEXTURE1_ARB), GLint(sentinel));
    realActiveTexture(GL_TEXTURE1_ARB);
    EXPECT_EQ(wrapOf(sentinel, GL_TEXTURE_WRAP_S), GL_MIRRORED_REPEAT);
    glBindTexture(GL_TEXTURE_2D, 0);
    realActiveTexture(GL_TEXTURE0_ARB);
    glDeleteTextures(1, &sentinel);
}

TEST_F(EffectBindingTest, HandleZeroUninstallsTheProgramAndBindsTheTexturesAgain) {
    useEffect(3);
    bind(parameters.program);
    glBindTexture(GL_TEXTURE_2D, 0);
    calls.clear();

    bind(0);
    GLint current = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, 0);
    // No program to feed: no lookups, only the two units.
    EXPECT_EQ(calls, (std::vector<std::string>{"unit 1", "unit 0"}));
    EXPECT_EQ(boundTexture(GL_TEXTURE0_ARB), GLint(picture));
    EXPECT_EQ(boundTexture(GL_TEXTURE1_ARB), GLint(noise));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(EffectBindingTest, ChangingThePictureBindsItAndSendsItsSizeNextCall) {
    const GLhandleARB program = useEffect(1);
    bind(program);
    textures.picture = otherPicture;
    textures.pictureWidth = 8;
    textures.pictureHeight = 8;
    bind(program);
    EXPECT_EQ(boundTexture(GL_TEXTURE0_ARB), GLint(otherPicture));
    GLint size[2] = {0, 0};
    glGetUniformivARB(program, realGetUniformLocation(program, "billboardSize"), size);
    EXPECT_EQ(size[0], 8);
    EXPECT_EQ(size[1], 8);
}

}  // namespace

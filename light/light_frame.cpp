// The light passes: the offscreen frame, its conversion to light, the glare levels and the
// tone curve, each one full-window quad into its own texture.
#include "light/light_frame.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "light/light_programs.h"
#include "physical/glare_spread.h"
#include "physical/units.h"

namespace {

// Levels 1/2 to 1/128: the first only leads to the next; 1/4 to 1/128 are the glare's.
constexpr int kLevelCount = kGlareLevels + 1;

struct Target {
    GLuint texture = 0;
    GLuint framebuffer = 0;
    int width = 0;
    int height = 0;
};

struct Resources {
    int width = 0, height = 0;
    GLuint frameLevels = 0, frameDepth = 0, frameBuffer = 0;  // what the scene draws into
    GLint shownBuffer = 0;  // where the frame goes: the window's, or another view's buffer
    Target light;                                             // luminance in nits
    std::array<Target, kLevelCount> levels;
    double fittedDegreesPerPixel = -1;
    GlareFit fit;
};

Resources resources;

GLuint makeTexture(GLint format, int width, int height, GLenum data, GLenum type) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, format, width, height, 0, data, type, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    return texture;
}

Target makeTarget(int width, int height) {
    Target target;
    target.width = std::max(width, 1);
    target.height = std::max(height, 1);
    target.texture = makeTexture(GL_RGB16F, target.width, target.height, GL_RGB, GL_FLOAT);
    glGenFramebuffers(1, &target.framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, target.texture, 0);
    return target;
}

void release(Target& target) {
    glDeleteFramebuffers(1, &target.framebuffer);
    glDeleteTextures(1, &target.texture);
    target = Target{};
}

void prepare(int width, int height) {
    if (resources.width == width && resources.height == height) return;
    glDeleteFramebuffers(1, &resources.frameBuffer);
    glDeleteTextures(1, &resources.frameLevels);
    glDeleteTextures(1, &resources.frameDepth);
    release(resources.light);
    for (Target& level : resources.levels) release(level);

    resources.width = width;
    resources.height = height;
    resources.frameLevels = makeTexture(GL_RGBA8, width, height, GL_RGBA, GL_UNSIGNED_BYTE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    resources.frameDepth =
        makeTexture(GL_DEPTH24_STENCIL8, width, height, GL_DEPTH_STENCIL, GL_UNSIGNED_INT_24_8);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glGenFramebuffers(1, &resources.frameBuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, resources.frameBuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D,
                           resources.frameLevels, 0);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_TEXTURE_2D,
                           resources.frameDepth, 0);
    resources.light = makeTarget(width, height);
    for (int k = 0; k < kLevelCount; ++k)
        resources.levels[k] = makeTarget(width >> (k + 1), height >> (k + 1));
}

// Column-major 4 by 4 inverse by cofactors; the matrices here are a camera's, never singular.
std::array<double, 16> inverse(const std::array<double, 16>& m) {
    std::array<double, 16> r{};
    r[0] = m[5] * m[10] * m[15] - m[5] * m[11] * m[14] - m[9] * m[6] * m[15] + m[9] * m[7] * m[14] +
           m[13] * m[6] * m[11] - m[13] * m[7] * m[10];
    r[4] = -m[4] * m[10] * m[15] + m[4] * m[11] * m[14] + m[8] * m[6] * m[15] -
           m[8] * m[7] * m[14] - m[12] * m[6] * m[11] + m[12] * m[7] * m[10];
    r[8] = m[4] * m[9] * m[15] - m[4] * m[11] * m[13] - m[8] * m[5] * m[15] + m[8] * m[7] * m[13] +
           m[12] * m[5] * m[11] - m[12] * m[7] * m[9];
    r[12] = -m[4] * m[9] * m[14] + m[4] * m[10] * m[13] + m[8] * m[5] * m[14] -
            m[8] * m[6] * m[13] - m[12] * m[5] * m[10] + m[12] * m[6] * m[9];
    r[1] = -m[1] * m[10] * m[15] + m[1] * m[11] * m[14] + m[9] * m[2] * m[15] -
           m[9] * m[3] * m[14] - m[13] * m[2] * m[11] + m[13] * m[3] * m[10];
    r[5] = m[0] * m[10] * m[15] - m[0] * m[11] * m[14] - m[8] * m[2] * m[15] + m[8] * m[3] * m[14] +
           m[12] * m[2] * m[11] - m[12] * m[3] * m[10];
    r[9] = -m[0] * m[9] * m[15] + m[0] * m[11] * m[13] + m[8] * m[1] * m[15] - m[8] * m[3] * m[13] -
           m[12] * m[1] * m[11] + m[12] * m[3] * m[9];
    r[13] = m[0] * m[9] * m[14] - m[0] * m[10] * m[13] - m[8] * m[1] * m[14] + m[8] * m[2] * m[13] +
            m[12] * m[1] * m[10] - m[12] * m[2] * m[9];
    r[2] = m[1] * m[6] * m[15] - m[1] * m[7] * m[14] - m[5] * m[2] * m[15] + m[5] * m[3] * m[14] +
           m[13] * m[2] * m[7] - m[13] * m[3] * m[6];
    r[6] = -m[0] * m[6] * m[15] + m[0] * m[7] * m[14] + m[4] * m[2] * m[15] - m[4] * m[3] * m[14] -
           m[12] * m[2] * m[7] + m[12] * m[3] * m[6];
    r[10] = m[0] * m[5] * m[15] - m[0] * m[7] * m[13] - m[4] * m[1] * m[15] + m[4] * m[3] * m[13] +
            m[12] * m[1] * m[7] - m[12] * m[3] * m[5];
    r[14] = -m[0] * m[5] * m[14] + m[0] * m[6] * m[13] + m[4] * m[1] * m[14] - m[4] * m[2] * m[13] -
            m[12] * m[1] * m[6] + m[12] * m[2] * m[5];
    r[3] = -m[1] * m[6] * m[11] + m[1] * m[7] * m[10] + m[5] * m[2] * m[11] - m[5] * m[3] * m[10] -
           m[9] * m[2] * m[7] + m[9] * m[3] * m[6];
    r[7] = m[0] * m[6] * m[11] - m[0] * m[7] * m[10] - m[4] * m[2] * m[11] + m[4] * m[3] * m[10] +
           m[8] * m[2] * m[7] - m[8] * m[3] * m[6];
    r[11] = -m[0] * m[5] * m[11] + m[0] * m[7] * m[9] + m[4] * m[1] * m[11] - m[4] * m[3] * m[9] -
            m[8] * m[1] * m[7] + m[8] * m[3] * m[5];
    r[15] = m[0] * m[5] * m[10] - m[0] * m[6] * m[9] - m[4] * m[1] * m[10] + m[4] * m[2] * m[9] +
            m[8] * m[1] * m[6] - m[8] * m[2] * m[5];
    const double determinant = m[0] * r[0] + m[1] * r[4] + m[2] * r[8] + m[3] * r[12];
    for (double& value : r) value /= determinant;
    return r;
}

std::array<double, 16> product(const std::array<double, 16>& a, const std::array<double, 16>& b) {
    std::array<double, 16> r{};
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row)
            for (int k = 0; k < 4; ++k) r[column * 4 + row] += a[k * 4 + row] * b[column * 4 + k];
    return r;
}

void drawWindowQuad() {
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(-1, -1);
    glTexCoord2f(1, 0);
    glVertex2f(1, -1);
    glTexCoord2f(1, 1);
    glVertex2f(1, 1);
    glTexCoord2f(0, 1);
    glVertex2f(-1, 1);
    glEnd();
}

void bindTexture(int unit, GLuint texture) {
    glActiveTexture(GL_TEXTURE0 + unit);
    glBindTexture(GL_TEXTURE_2D, texture);
}

void setInt(GLuint program, const char* name, int value) {
    glUniform1i(glGetUniformLocation(program, name), value);
}
void setFloat(GLuint program, const char* name, double value) {
    glUniform1f(glGetUniformLocation(program, name), float(value));
}
void setVector(GLuint program, const char* name, const float* value) {
    glUniform3fv(glGetUniformLocation(program, name), 1, value);
}

// The picture's mip level whose texels are about the size of one spill patch (4 by 2).
double contentLod(GLuint texture) {
    GLint width = 1, height = 1;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    return std::max(0.0, std::log2(std::max(width / 4.0, height / 2.0)));
}

}  // namespace

void beginLightFrame(int width, int height) {
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &resources.shownBuffer);
    prepare(width, height);
    glBindFramebuffer(GL_FRAMEBUFFER, resources.frameBuffer);
}

void finishLightFrame(const LightFrame& frame) {
    const LightPrograms& programs = lightPrograms();
    std::array<double, 16> projection{}, modelview{};
    glGetDoublev(GL_PROJECTION_MATRIX, projection.data());
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview.data());
    const std::array<double, 16> toWorld = inverse(product(projection, modelview));
    const std::array<double, 16> viewToWorld = inverse(modelview);
    std::array<float, 16> clipToWorld{};
    std::copy(toWorld.begin(), toWorld.end(), clipToWorld.begin());
    const float eye[3] = {float(viewToWorld[12]), float(viewToWorld[13]), float(viewToWorld[14])};
    // The view's angle a pixel spans, from the vertical field of the perspective.
    const double degreesPerPixel =
        degreesFromRadians(2.0 * std::atan(1.0 / projection[5])) / resources.height;
    if (degreesPerPixel != resources.fittedDegreesPerPixel) {
        resources.fit = fitGlareSpread(degreesPerPixel, 256);
        resources.fittedDegreesPerPixel = degreesPerPixel;
    }

    glPushAttrib(GL_ALL_ATTRIB_BITS);
    GLint activeUnit = GL_TEXTURE0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &activeUnit);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glDepthMask(GL_FALSE);

    // The drawn frame to luminance.
    const double lod = frame.contentTexture ? contentLod(frame.contentTexture) : 0.0;
    glBindFramebuffer(GL_FRAMEBUFFER, resources.light.framebuffer);
    glViewport(0, 0, resources.width, resources.height);
    glUseProgram(programs.light);
    bindTexture(2, frame.contentTexture);
    bindTexture(1, resources.frameDepth);
    glTexParameteri(GL_TEXTURE_2D, GL_DEPTH_TEXTURE_MODE, GL_LUMINANCE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, GL_NONE);
    bindTexture(0, resources.frameLevels);
    setInt(programs.light, "frameLevels", 0);
    setInt(programs.light, "frameDepth", 1);
    setInt(programs.light, "wallContent", 2);
    glUniformMatrix4fv(glGetUniformLocation(programs.light, "clipToWorld"), 1, GL_FALSE,
                       clipToWorld.data());
    setVector(programs.light, "eyePosition", eye);
    setVector(programs.light, "wallCorner", frame.wallCorner);
    setVector(programs.light, "wallRight", frame.wallRight);
    setVector(programs.light, "wallUp", frame.wallUp);
    setFloat(programs.light, "faceNits", frame.faceNitsAtFullLevel);
    setFloat(programs.light, "peakNits", frame.contentTexture ? frame.peakNits : 0.0);
    setFloat(programs.light, "reflectedNits", frame.reflectedNits);
    setFloat(programs.light, "ambientLux", frame.ambientLux);
    setFloat(programs.light, "contentLod", lod);
    drawWindowQuad();

    // The glare's levels, each half the last.
    glUseProgram(programs.downsample);
    setInt(programs.downsample, "source", 0);
    const Target* source = &resources.light;
    for (Target& level : resources.levels) {
        glBindFramebuffer(GL_FRAMEBUFFER, level.framebuffer);
        glViewport(0, 0, level.width, level.height);
        bindTexture(0, source->texture);
        glUniform2f(glGetUniformLocation(programs.downsample, "sourceTexel"),
                    1.0f / float(source->width), 1.0f / float(source->height));
        drawWindowQuad();
        source = &level;
    }

    // Light and glare through the tone curve into the window.
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, resources.width, resources.height);
    glUseProgram(programs.tone);
    bindTexture(0, resources.light.texture);
    setInt(programs.tone, "frameLight", 0);
    std::array<float, kGlareLevels> weights{};
    std::array<float, 2 * kGlareLevels> texels{};
    for (int k = 0; k < kGlareLevels; ++k) {
        const Target& level = resources.levels[k + 1];
        const std::string name = "glare" + std::to_string(k);
        bindTexture(1 + k, level.texture);
        setInt(programs.tone, name.c_str(), 1 + k);
        weights[k] = float(resources.fit.weights[k]);
        texels[2 * k] = 1.0f / float(level.width);
        texels[2 * k + 1] = 1.0f / float(level.height);
    }
    glUniform2fv(glGetUniformLocation(programs.tone, "glareTexel"), kGlareLevels, texels.data());
    glUniform1fv(glGetUniformLocation(programs.tone, "glareWeights"), kGlareLevels, weights.data());
    setFloat(programs.tone, "adaptationNits", frame.adaptationNits);
    glBindFramebuffer(GL_FRAMEBUFFER, GLuint(resources.shownBuffer));
    drawWindowQuad();

    glUseProgram(0);
    glActiveTexture(GLenum(activeUnit));
    glPopAttrib();
}

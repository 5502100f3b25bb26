// The light passes: the offscreen frame, its face marked; its light and the wall's spill at a
// quarter of the size; the glare's smaller levels, then their veil summed from the smallest up;
// then one full-size pass, the frame's light with the veil through the tone curve. Each is one
// full-window quad into its own texture.
#include "light/light_frame.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "camera/vector3.h"
#include "light/light_programs.h"
#include "light/window_quad.h"
#include "physical/adapted_eye.h"
#include "physical/glare_spread.h"
#include "physical/photometry.h"
#include "physical/units.h"

namespace {

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
    // The glare's levels, 1/4 to 1/256 of the size; the first is drawn with the spill's
    // luminance in its alpha.
    std::array<Target, kGlareLevels> levels;
    // The veil summed from the smallest level up to each level, at that level's size; the
    // first, at a quarter of the size, holds the first level's alpha.
    std::array<Target, kGlareLevels - 1> veils;
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
    target.texture = makeTexture(GL_RGBA16F, target.width, target.height, GL_RGBA, GL_FLOAT);
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
    for (Target& level : resources.levels) release(level);
    for (Target& veil : resources.veils) release(veil);

    resources.width = width;
    resources.height = height;
    // sRGB: what the scene draws is stored as it is (sRGB writes are off) and read as linear
    // light, decoded by GL; read between four texels, the quarter-size pass takes the mean of
    // their light. Its alpha, never decoded, marks the face.
    resources.frameLevels = makeTexture(GL_SRGB8_ALPHA8, width, height, GL_RGBA, GL_UNSIGNED_BYTE);
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
    for (int k = 0; k < kGlareLevels; ++k)
        resources.levels[k] = makeTarget(width >> (k + 2), height >> (k + 2));
    for (int k = 0; k < kGlareLevels - 1; ++k)
        resources.veils[k] = makeTarget(resources.levels[k].width, resources.levels[k].height);
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

// Where the wall's spill comes from: the patches' centres, row by row from the bottom, each
// patch's area and the face's unit normal, right x up.
struct SpillPatches {
    std::array<float, 3 * kSpillPatches> centres{};
    double area = 0;
    std::array<float, 3> normal{};
};

static_assert(kSpillPatches == 8, "the quarter-size pass sums eight patches");

SpillPatches spillPatchesOf(const LightFrame& frame) {
    SpillPatches patches;
    for (int j = 0; j < kSpillPatchesUp; ++j) {
        for (int i = 0; i < kSpillPatchesAcross; ++i) {
            const float across = (i + 0.5f) / kSpillPatchesAcross,
                        up = (j + 0.5f) / kSpillPatchesUp;
            for (int c = 0; c < 3; ++c)
                patches.centres[3 * (j * kSpillPatchesAcross + i) + c] =
                    frame.wallCorner[c] + across * frame.wallRight[c] + up * frame.wallUp[c];
        }
    }
    const Vector3 sides = cross({frame.wallRight[0], frame.wallRight[1], frame.wallRight[2]},
                                {frame.wallUp[0], frame.wallUp[1], frame.wallUp[2]});
    patches.area = magnitude(sides) / kSpillPatches;
    const Vector3 normal = normalize(sides);
    patches.normal = {normal.x, normal.y, normal.z};
    return patches;
}

// The colour of the wall's light over all its patches, scaled to a luminance of 1; white for a
// black wall, which spills nothing.
std::array<float, 3> spillColourOf(const PatchLight& patchNits) {
    std::array<double, 3> sum{};
    for (int patch = 0; patch < kSpillPatches; ++patch)
        for (int c = 0; c < 3; ++c) sum[c] += patchNits[3 * patch + c];
    const double luminance = relativeLuminance(sum[0], sum[1], sum[2]);
    if (!(luminance > 0)) return {1, 1, 1};
    return {float(sum[0] / luminance), float(sum[1] / luminance), float(sum[2] / luminance)};
}

void drawFaceQuad(const LightFrame& frame) {
    glBegin(GL_QUADS);
    for (const auto& [right, up] : {std::pair{0, 0}, {1, 0}, {1, 1}, {0, 1}})
        glVertex3f(frame.wallCorner[0] + right * frame.wallRight[0] + up * frame.wallUp[0],
                   frame.wallCorner[1] + right * frame.wallRight[1] + up * frame.wallUp[1],
                   frame.wallCorner[2] + right * frame.wallRight[2] + up * frame.wallUp[2]);
    glEnd();
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
        resources.fit = fitGlareSpread(degreesPerPixel, kGlareFitPixels);
        resources.fittedDegreesPerPixel = degreesPerPixel;
    }

    double scattered = 0;  // the share of light the eye scatters: the weights' sum
    for (double weight : resources.fit.weights) scattered += weight;

    glPushAttrib(GL_ALL_ATTRIB_BITS);
    GLint activeUnit = GL_TEXTURE0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &activeUnit);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glDepthMask(GL_FALSE);

    // The face marked in the frame's alpha: cleared, then set where the face drawn last is
    // seen, its depth matched with a small offset.
    glBindFramebuffer(GL_FRAMEBUFFER, resources.frameBuffer);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_TRUE);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glUseProgram(0);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_FOG);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(-1, -4);
    glColor4f(1, 1, 1, 1);
    drawFaceQuad(frame);
    glDisable(GL_POLYGON_OFFSET_FILL);
    glDisable(GL_DEPTH_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);

    // The frame's light and the spill at a quarter of the size: the first glare level, read
    // between pixels.
    const double exposure = exposurePerNit(frame.adaptationNits);
    const double shownGain = exposure * (1.0 - scattered);
    auto useFrameProgram = [&](GLuint program, GLint frameFilter, double gain) {
        glUseProgram(program);
        bindTexture(0, resources.frameLevels);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, frameFilter);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, frameFilter);
        setInt(program, "frameLevels", 0);
        setFloat(program, "faceBlackLight", frame.faceBlackLight);
        setFloat(program, "faceGain",
                 frame.faceNitsAtFullLevel / (1.0 - frame.faceBlackLight) * gain);
        setFloat(program, "faceReflected", frame.reflectedNits * gain);
    };
    const Target& quarter = resources.levels[0];
    glBindFramebuffer(GL_FRAMEBUFFER, quarter.framebuffer);
    glViewport(0, 0, quarter.width, quarter.height);
    const GLuint program = programs.quarter;
    useFrameProgram(program, GL_LINEAR, exposure);
    bindTexture(1, resources.frameDepth);
    glTexParameteri(GL_TEXTURE_2D, GL_DEPTH_TEXTURE_MODE, GL_LUMINANCE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, GL_NONE);
    setInt(program, "frameDepth", 1);
    glUniformMatrix4fv(glGetUniformLocation(program, "clipToWorld"), 1, GL_FALSE,
                       clipToWorld.data());
    setVector(program, "eyePosition", eye);
    const SpillPatches patches = spillPatchesOf(frame);
    glUniform3fv(glGetUniformLocation(program, "patchCentres"), kSpillPatches,
                 patches.centres.data());
    setFloat(program, "patchArea", patches.area);
    setVector(program, "wallNormal", patches.normal.data());
    glUniform2f(glGetUniformLocation(program, "frameTexel"), 1.0f / float(resources.width),
                1.0f / float(resources.height));
    setFloat(program, "ambientLux", frame.ambientLux);
    setFloat(program, "exposure", exposure);
    setFloat(program, "shownGain", shownGain);
    glUniform3fv(glGetUniformLocation(program, "patchNits"), kSpillPatches, frame.patchNits.data());
    drawWindowQuad();

    // The glare's smaller levels, each half the last.
    glUseProgram(programs.downsample);
    setInt(programs.downsample, "source", 0);
    for (int k = 1; k < kGlareLevels; ++k) {
        const Target& source = resources.levels[k - 1];
        const Target& level = resources.levels[k];
        glBindFramebuffer(GL_FRAMEBUFFER, level.framebuffer);
        glViewport(0, 0, level.width, level.height);
        bindTexture(0, source.texture);
        glUniform2f(glGetUniformLocation(programs.downsample, "sourceTexel"),
                    1.0f / float(source.width), 1.0f / float(source.height));
        drawWindowQuad();
    }

    // The veiling light, each level weighted and summed from the smallest up; the last sum,
    // at a quarter of the size, keeps the spill in its alpha.
    glUseProgram(programs.glareUp);
    setInt(programs.glareUp, "level", 0);
    setInt(programs.glareUp, "below", 1);
    for (int k = kGlareLevels - 2; k >= 0; --k) {
        const Target& veil = resources.veils[k];
        const bool smallest = k == kGlareLevels - 2;
        glBindFramebuffer(GL_FRAMEBUFFER, veil.framebuffer);
        glViewport(0, 0, veil.width, veil.height);
        bindTexture(0, resources.levels[k].texture);
        bindTexture(1, smallest ? resources.levels[k + 1].texture : resources.veils[k + 1].texture);
        setFloat(programs.glareUp, "levelWeight", resources.fit.weights[k]);
        setFloat(programs.glareUp, "belowWeight", smallest ? resources.fit.weights[k + 1] : 1.0);
        drawWindowQuad();
    }

    // The frame's light and the veil through the tone curve into the buffer the frame is shown
    // from: the window's, or another view's. Read at texel centres, the frame needs no filter.
    glBindFramebuffer(GL_FRAMEBUFFER, GLuint(resources.shownBuffer));
    glViewport(0, 0, resources.width, resources.height);
    useFrameProgram(programs.tone, GL_NEAREST, shownGain);
    bindTexture(1, resources.veils[0].texture);
    setInt(programs.tone, "veilAndSpill", 1);
    setFloat(programs.tone, "ambientGain", frame.ambientLux * shownGain / std::numbers::pi);
    const std::array<float, 3> colour = spillColourOf(frame.patchNits);
    setVector(programs.tone, "spillColour", colour.data());
    const double white = frame.whiteNits * exposure;
    setFloat(programs.tone, "inverseWhiteSquared", 1.0 / (white * white));
    glActiveTexture(GL_TEXTURE0);
    drawWindowQuad();

    glUseProgram(0);
    glActiveTexture(GLenum(activeUnit));
    glPopAttrib();
}

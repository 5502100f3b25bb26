// The filter runs in two one-axis passes (rows into a second buffer, then columns into the
// window) on linear light, so that LEDs too fine to resolve leave their mean light.
#include "app/scene/eye_view.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <algorithm>
#include <string>

#include "app/core/run_state.h"
#include "app/core/viewer_keys.h"
#include "light/window_quad.h"
#include "physical/eye_filter.h"
#include "physical/units.h"

namespace {

// One axis of eye_filter's kernel, on linear light, in pairs of reads either side of this
// pixel's centre, each mixing two drawn pixels (eyeFilterReads). The scene is read through an
// sRGB texture, so it arrives as light and mixes as light; the rows pass keeps light, the
// columns pass turns it into the window's levels by the sRGB curve the light passes draw with.
constexpr const char* kBlurShader = R"(
uniform sampler2D source;
uniform vec2 texelStep;
uniform float offsets[READS];
uniform float weights[READS];
uniform bool toLevels;
vec3 srgbFromLight(vec3 v) {
    return mix(v * 12.92, 1.055 * pow(v, vec3(1.0 / 2.4)) - 0.055, step(0.0031308, v));
}
void main() {
    vec2 at = gl_TexCoord[0].st;
    vec3 sum = vec3(0.0);
    for (int i = 0; i < READS; ++i) {
        vec2 offset = texelStep * offsets[i];
        sum += weights[i] * (texture2D(source, at + offset).rgb + texture2D(source, at - offset).rgb);
    }
    sum = max(sum, 0.0);
    gl_FragColor = vec4(toLevels ? srgbFromLight(min(sum, 1.0)) : sum, 1.0);
}
)";

struct Target {
    GLuint framebuffer = 0, colour = 0, depth = 0;
};

// The frame is drawn into `scene`, `supersampling` times the window each way; the rows pass
// takes it to the window's width in `rows`, the columns pass from there into the window.
struct EyeViewBuffers {
    int width = 0, height = 0;  // the window's
    int supersampling = 1;
    EyeFilterReads filter;
    Target scene, rows;
    GLuint program = 0;
    bool drawing = false;  // the frame under way goes to `scene`
};
EyeViewBuffers buffers;

bool available() {
    return glGenFramebuffers != nullptr && glCreateShader != nullptr;
}

// A colour texture of `format` to draw into, and a depth buffer when `withDepth`.
void createTarget(Target& target, GLint format, int width, int height, bool withDepth) {
    glGenTextures(1, &target.colour);
    glBindTexture(GL_TEXTURE_2D, target.colour);
    glTexImage2D(GL_TEXTURE_2D, 0, format, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glGenFramebuffers(1, &target.framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, target.colour, 0);
    if (withDepth) {
        glGenRenderbuffers(1, &target.depth);
        glBindRenderbuffer(GL_RENDERBUFFER, target.depth);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                                  target.depth);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void deleteTarget(Target& target) {
    glDeleteFramebuffers(1, &target.framebuffer);
    glDeleteTextures(1, &target.colour);
    if (target.depth != 0) glDeleteRenderbuffers(1, &target.depth);
    target = {};
}

GLuint buildBlurProgram() {
    const std::string header = "#version 120\n#define READS " + std::to_string(kEyeFilterMaxReads);
    const char* const sources[] = {header.c_str(), kBlurShader};
    const GLuint shader = glCreateShader(GL_FRAGMENT_SHADER);
    glShaderSource(shader, 2, sources, nullptr);
    glCompileShader(shader);
    const GLuint program = glCreateProgram();
    glAttachShader(program, shader);
    glLinkProgram(program);
    GLint linked = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    return linked ? program : 0;
}

// The finest drawing GL can hold for a window of width by height: the light passes draw it in
// textures of that size too.
int supersamplingFor(int width, int height) {
    GLint textureSize = 0, renderbufferSize = 0, viewport[2] = {};
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &textureSize);
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbufferSize);
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    const int largest = std::min({textureSize, renderbufferSize, viewport[0], viewport[1]});
    const int side = std::max({width, height, 1});
    return std::clamp(largest / side, 1, kEyeViewSupersampling);
}

// Sizes the buffers to the window; false when GL cannot give them.
bool prepareBuffers(int width, int height) {
    if (buffers.program == 0) buffers.program = buildBlurProgram();
    if (buffers.program == 0) return false;
    if (buffers.width != width || buffers.height != height) {
        if (buffers.scene.framebuffer != 0) {
            deleteTarget(buffers.scene);
            deleteTarget(buffers.rows);
        }
        const int supersampling = supersamplingFor(width, height);
        // Levels are written as they come (no sRGB writes) and read back as light.
        createTarget(buffers.scene, GL_SRGB8_ALPHA8, width * supersampling, height * supersampling,
                     true);
        createTarget(buffers.rows, GL_RGBA16F, width, height * supersampling, false);
        buffers.width = width;
        buffers.height = height;
        buffers.supersampling = supersampling;
        buffers.filter = eyeFilterReads(eyeFilter(supersampling));
    }
    glBindFramebuffer(GL_FRAMEBUFFER, buffers.scene.framebuffer);
    return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

// From `source` into the target bound now, `width` by `height`, reading the source's texels
// `step` apart.
void blurPass(GLuint source, int width, int height, float stepX, float stepY, bool toLevels) {
    glViewport(0, 0, width, height);
    glUniform1i(glGetUniformLocation(buffers.program, "toLevels"), toLevels);
    glBindTexture(GL_TEXTURE_2D, source);
    glUniform1i(glGetUniformLocation(buffers.program, "source"), 0);
    glUniform2f(glGetUniformLocation(buffers.program, "texelStep"), stepX, stepY);
    glUniform1fv(glGetUniformLocation(buffers.program, "offsets"),
                 GLsizei(buffers.filter.offsets.size()), buffers.filter.offsets.data());
    glUniform1fv(glGetUniformLocation(buffers.program, "weights"),
                 GLsizei(buffers.filter.weights.size()), buffers.filter.weights.data());
    drawWindowQuad();
}

}  // namespace

double eyeViewFieldOfViewDegrees(const WallSetup& setup, int heightPixels) {
    return degreesFromRadians(eyeViewFieldOfViewRadians(setup.acuityAngleRadians(), heightPixels));
}

ViewportSize beginEyeViewFrame() {
    const ViewportSize window = {glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT)};
    buffers.drawing = false;
    if (!wallSetup.realUnits || !eyeViewShown || !available()) return window;
    buffers.drawing = prepareBuffers(window.width, window.height);
    if (!buffers.drawing) {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        return window;
    }
    return {window.width * buffers.supersampling, window.height * buffers.supersampling};
}

void finishEyeViewFrame() {
    if (!buffers.drawing) return;
    buffers.drawing = false;
    glPushAttrib(GL_ENABLE_BIT | GL_TRANSFORM_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glUseProgram(buffers.program);
    glActiveTexture(GL_TEXTURE0);
    const int drawnHeight = buffers.height * buffers.supersampling;
    glBindFramebuffer(GL_FRAMEBUFFER, buffers.rows.framebuffer);
    blurPass(buffers.scene.colour, buffers.width, drawnHeight,
             1.0f / float(buffers.width * buffers.supersampling), 0, false);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    blurPass(buffers.rows.colour, buffers.width, buffers.height, 0, 1.0f / float(drawnHeight),
             true);
    glUseProgram(0);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopAttrib();
}

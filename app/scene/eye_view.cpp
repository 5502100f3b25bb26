// The filter runs in two one-axis passes (rows into a second buffer, then columns into the
// window) on linear light, so that LEDs too fine to resolve leave their mean light.
#include "app/scene/eye_view.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <array>
#include <cmath>

#include "app/core/run_state.h"
#include "app/core/viewer_keys.h"
#include "light/window_quad.h"
#include "physical/eye_filter.h"
#include "physical/units.h"

namespace {

// One axis of eye_filter's kernel, on linear light; the kernel's length is the filter's own.
constexpr const char* kBlurShader = R"(#version 120
uniform sampler2D source;
uniform vec2 texelStep;
uniform float weights[17];
vec3 linear(vec2 at) { return pow(texture2D(source, at).rgb, vec3(2.2)); }
void main() {
    vec2 at = gl_TexCoord[0].st;
    vec3 sum = weights[0] * linear(at);
    for (int i = 1; i < 17; ++i)
        sum += weights[i] * (linear(at + texelStep * float(i)) + linear(at - texelStep * float(i)));
    gl_FragColor = vec4(pow(max(sum, 0.0), vec3(1.0 / 2.2)), 1.0);
}
)";
static_assert(kEyeFilterRadius + 1 == 17, "the blur shader's kernel length");

struct Target {
    GLuint framebuffer = 0, colour = 0, depth = 0;
};

struct EyeViewBuffers {
    int width = 0, height = 0;
    Target scene, rows;
    GLuint program = 0;
    bool drawing = false;  // the frame under way goes to `scene`
};
EyeViewBuffers buffers;

bool available() {
    return glGenFramebuffers != nullptr && glCreateShader != nullptr;
}

void createTarget(Target& target, int width, int height, bool withDepth) {
    glGenTextures(1, &target.colour);
    glBindTexture(GL_TEXTURE_2D, target.colour);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
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
    const GLuint shader = glCreateShader(GL_FRAGMENT_SHADER);
    glShaderSource(shader, 1, &kBlurShader, nullptr);
    glCompileShader(shader);
    const GLuint program = glCreateProgram();
    glAttachShader(program, shader);
    glLinkProgram(program);
    GLint linked = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    return linked ? program : 0;
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
        createTarget(buffers.scene, width, height, true);
        createTarget(buffers.rows, width, height, false);
        buffers.width = width;
        buffers.height = height;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, buffers.scene.framebuffer);
    return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

void blurPass(GLuint source, float stepX, float stepY) {
    static const std::array<float, kEyeFilterRadius + 1> weights = eyeFilterWeights();
    glBindTexture(GL_TEXTURE_2D, source);
    glUniform1i(glGetUniformLocation(buffers.program, "source"), 0);
    glUniform2f(glGetUniformLocation(buffers.program, "texelStep"), stepX, stepY);
    glUniform1fv(glGetUniformLocation(buffers.program, "weights"), GLsizei(weights.size()),
                 weights.data());
    drawWindowQuad();
}

}  // namespace

double eyeViewFieldOfViewDegrees(const WallSetup& setup, int heightPixels) {
    return degreesFromRadians(eyeViewFieldOfViewRadians(setup.acuityAngleRadians(), heightPixels));
}

void beginEyeViewFrame() {
    buffers.drawing = false;
    if (!wallSetup.realUnits || !eyeViewShown || !available()) return;
    buffers.drawing = prepareBuffers(glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT));
    if (!buffers.drawing) glBindFramebuffer(GL_FRAMEBUFFER, 0);
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
    glBindFramebuffer(GL_FRAMEBUFFER, buffers.rows.framebuffer);
    blurPass(buffers.scene.colour, 1.0f / buffers.width, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    blurPass(buffers.rows.colour, 0, 1.0f / buffers.height);
    glUseProgram(0);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopAttrib();
}

// The GLSL programs of the light passes, built once with the GL context current.
#pragma once

#include <GL/glew.h>

struct LightPrograms {
    GLuint quarter = 0;     // the drawn frame's luminance and its surfaces' light, quarter size
    GLuint downsample = 0;  // a level to the next, half as large
    GLuint glare = 0;       // the levels weighted and summed: the veiling light
    GLuint tone = 0;        // the frame's luminance and the veil through the tone curve
    bool linked = false;    // all four compiled and linked
};

// Builds the programs on first call and returns them.
const LightPrograms& lightPrograms();

// The GLSL programs of the light passes, built once with the GL context current.
#pragma once

#include <GL/glew.h>

struct LightPrograms {
    GLuint quarter = 0;     // the drawn frame's light and the wall's spill, at a quarter size
    GLuint downsample = 0;  // a level to the next, half as large
    GLuint glareUp = 0;     // a level weighted, plus the sum of those below: the veiling light
    GLuint tone = 0;        // the frame's light and the veil through the tone curve
    bool linked = false;    // all four compiled and linked
};

// Builds the programs on first call and returns them.
const LightPrograms& lightPrograms();

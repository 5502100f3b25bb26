// The GLSL programs of the light passes, built once with the GL context current.
#pragma once

#include <GL/glew.h>

struct LightPrograms {
    GLuint light = 0;       // the drawn frame to luminance, with the wall's spill
    GLuint downsample = 0;  // a level to the next, half as large
    GLuint tone = 0;        // luminance and its glare through the tone curve to the window
    bool linked = false;    // all three compiled and linked
};

// Builds the programs on first call and returns them.
const LightPrograms& lightPrograms();

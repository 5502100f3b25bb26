// Installs an effect program for the billboard face and feeds it: the picture and, for the
// fourth effect, the noise texture on their units, the picture's size, the cell size and the
// effect's parameters as uniforms.
#pragma once

#include <GL/glew.h>

#include "effects/effect_state.h"
#include "frames/planar_frame.h"

// The textures the binder puts on their units: the current picture with its size in pixels,
// and the noise picture of the fourth effect.
struct EffectTextures {
    GLuint picture = 0;
    int pictureWidth = 0;
    int pictureHeight = 0;
    GLuint noise = 0;
    // A frame kept as planes: `picture` holds its luma, these its chroma and their colours, and
    // the effect's planar program draws it (planarEffectProgram).
    GLuint chroma[2] = {0, 0};
    const YuvColours* yuv = nullptr;
};

// Installs `handle` (0 returns to the fixed-function pipeline) and, for parameters.mode, sets
// exactly that effect's uniforms and textures. Uniform locations are looked up by name on
// every call. Texture unit 0 is left active with the picture bound. With the handle 0 no
// uniform is set, but the textures and their wrap modes are bound again.
void bindEffect(GLhandleARB handle, const EffectParameters& parameters,
                const EffectTextures& textures);

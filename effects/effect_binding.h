// Installs an effect program for the billboard face and feeds it: the picture and, for the
// fourth effect, the noise texture on their units, the picture's size, the cell size and the
// effect's parameters as uniforms.
#pragma once

#include <GL/glew.h>

// Installs `handle` (0 returns to the fixed-function pipeline) and, for the current effect
// mode, sets exactly that effect's uniforms and textures. Uniform locations are looked up by
// name on every call. Texture unit 0 is left active with the current picture bound. With the
// handle 0 no uniform is set, but the textures and their wrap modes are bound again.
void bindEffect(GLhandleARB handle);

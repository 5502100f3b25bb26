// The light of what a texture shows: the mean relative luminance of its pixels, read back
// whole from the GL, for the light line of the frame shown.
#pragma once

#include <GL/glew.h>

// Mean relative luminance (0 black, 1 white) of the RGB pixels of `texture`'s full-size
// level; 0 for no texture. The texture binding of the active unit is left as it was.
double meanRelativeLuminanceOfTexture(GLuint texture);

// The light of what a texture shows: the mean relative luminance of its pixels, read back
// whole from the GL, for the light line of the frame shown.
#pragma once

#include <GL/glew.h>

#include <cstdint>
#include <vector>

// A texture's full-size level read back, `channels` bytes a texel (GL_RED for 1, GL_RGB for 3).
struct TextureLevel {
    int width = 0, height = 0;
    std::vector<std::uint8_t> bytes;
};
// Leaves the texture binding of the active unit and the pack alignment as they were.
TextureLevel readTextureLevel(GLuint texture, int channels);

// Mean relative luminance (0 black, 1 white) of the RGB pixels of `texture`'s full-size
// level; 0 for no texture. The texture binding of the active unit is left as it was.
double meanRelativeLuminanceOfTexture(GLuint texture);

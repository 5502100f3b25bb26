// The light of what a texture shows: the mean relative luminance of its pixels, read back
// whole from the GL, for the light line of the frame shown; and its mean light over each of the
// patches the wall's spill is cast from.
#pragma once

#include <GL/glew.h>

#include <array>
#include <cstdint>
#include <vector>

// A texture's full-size level read back, `channels` bytes a texel (GL_RED for 1, GL_RGB for 3).
struct TextureLevel {
    int width = 0, height = 0;
    std::vector<std::uint8_t> bytes;
};
// The full-size level or, given a least size, the smallest level still at least minWidth by
// minHeight (the full-size one for a texture without mipmaps). Leaves the texture binding of
// the active unit and the pack alignment as they were.
TextureLevel readTextureLevel(GLuint texture, int channels, int minWidth = 0, int minHeight = 0);

// Mean relative luminance (0 black, 1 white) of the RGB pixels of `texture`'s full-size
// level; 0 for no texture. The texture binding of the active unit is left as it was.
double meanRelativeLuminanceOfTexture(GLuint texture);

// The wall casts its spill as 4 by 2 patches, each a small source of the content's mean light
// over it: few enough to sum per texel, enough to keep a picture's halves apart.
constexpr int kSpillPatchesAcross = 4, kSpillPatchesUp = 2;
constexpr int kSpillPatches = kSpillPatchesAcross * kSpillPatchesUp;
// Linear RGB (0 to 1) of each patch, row by row from the bottom, three floats a patch.
using PatchLight = std::array<float, 3 * kSpillPatches>;

// The mean linear light of `texture` over each patch, read from the mip level whose texels are
// about an eighth of a patch across (a few dozen texels in all; the full-size level when the
// texture has no mipmaps), each texel decoded from sRGB. All 0 for no texture. The texture
// binding of the active unit and the pack alignment are left as they were.
PatchLight patchLightOfTexture(GLuint texture);

// The patches' luminance in nits: their light times the wall's peak.
PatchLight patchNitsOf(const PatchLight& light, double peakNits);

// The mean reads the full-size level, not a small mip level: the mips average levels, not
// light, and would make a picture of fine white text on black far too dark. The spill's
// patches are large and smooth, so a small level serves them.
#include "light/content_light.h"

#include <algorithm>

#include "physical/photometry.h"

TextureLevel readTextureLevel(GLuint texture, int channels, int minWidth, int minHeight) {
    TextureLevel read;
    GLint bound = 0, alignment = 4;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &read.width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &read.height);
    int level = 0;
    if (minWidth > 0 && minHeight > 0) {
        while ((read.width >> (level + 1)) >= minWidth && (read.height >> (level + 1)) >= minHeight)
            ++level;
        // A texture without mipmaps (a level of size 0) is read whole.
        GLint levelWidth = 0, levelHeight = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &levelWidth);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &levelHeight);
        if (levelWidth > 0 && levelHeight > 0) {
            read.width = levelWidth;
            read.height = levelHeight;
        } else {
            level = 0;
        }
    }
    read.bytes.resize(std::size_t(std::max(read.width, 0)) * std::max(read.height, 0) * channels);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    if (!read.bytes.empty())
        glGetTexImage(GL_TEXTURE_2D, level, channels == 1 ? GL_RED : GL_RGB, GL_UNSIGNED_BYTE,
                      read.bytes.data());
    glPixelStorei(GL_PACK_ALIGNMENT, alignment);
    glBindTexture(GL_TEXTURE_2D, GLuint(bound));
    return read;
}

double meanRelativeLuminanceOfTexture(GLuint texture) {
    if (texture == 0) return 0.0;
    return meanRelativeLuminance(readTextureLevel(texture, 3).bytes);
}

PatchLight patchLightOfTexture(GLuint texture) {
    PatchLight light{};
    if (texture == 0) return light;
    const TextureLevel read =
        readTextureLevel(texture, 3, 8 * kSpillPatchesAcross, 8 * kSpillPatchesUp);
    const int width = read.width, height = read.height;
    if (read.bytes.empty()) return light;
    std::array<double, 3 * kSpillPatches> sums{};
    std::array<int, kSpillPatches> counts{};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int patch = (y * kSpillPatchesUp / height) * kSpillPatchesAcross +
                              x * kSpillPatchesAcross / width;
            const std::uint8_t* texel = &read.bytes[(std::size_t(y) * width + x) * 3];
            for (int c = 0; c < 3; ++c) sums[3 * patch + c] += linearFromSrgb(texel[c] / 255.0);
            ++counts[patch];
        }
    }
    for (int patch = 0; patch < kSpillPatches; ++patch)
        for (int c = 0; c < 3; ++c)
            if (counts[patch] > 0)
                light[3 * patch + c] = float(sums[3 * patch + c] / counts[patch]);
    return light;
}

PatchLight patchNitsOf(const PatchLight& light, double peakNits) {
    PatchLight nits{};
    for (std::size_t i = 0; i < light.size(); ++i) nits[i] = float(light[i] * peakNits);
    return nits;
}

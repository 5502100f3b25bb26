// Reads the full-size level, not a small mip level: the mips average levels, not light, and
// would make a picture of fine white text on black far too dark.
#include "light/content_light.h"

#include <algorithm>

#include "physical/photometry.h"

TextureLevel readTextureLevel(GLuint texture, int channels) {
    TextureLevel level;
    GLint bound = 0, alignment = 4;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &level.width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &level.height);
    level.bytes.resize(std::size_t(std::max(level.width, 0)) * std::max(level.height, 0) *
                       channels);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    if (!level.bytes.empty())
        glGetTexImage(GL_TEXTURE_2D, 0, channels == 1 ? GL_RED : GL_RGB, GL_UNSIGNED_BYTE,
                      level.bytes.data());
    glPixelStorei(GL_PACK_ALIGNMENT, alignment);
    glBindTexture(GL_TEXTURE_2D, GLuint(bound));
    return level;
}

double meanRelativeLuminanceOfTexture(GLuint texture) {
    if (texture == 0) return 0.0;
    return meanRelativeLuminance(readTextureLevel(texture, 3).bytes);
}

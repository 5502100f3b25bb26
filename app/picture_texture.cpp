// uploadPicture: RGB rows straight from the decoder, bottom row first as GL expects them.
#include "app/picture_texture.h"

#include <GL/glu.h>

#include "image/picture_scale.h"

int maxTextureSide() {
    GLint side = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &side);
    return side;
}

std::vector<GLuint> uploadPicture(Picture& picture) {
    if (!fitPicture(picture, maxTextureSide())) return {};
    std::vector<GLuint> names(picture.frames.size());
    glGenTextures(static_cast<GLsizei>(names.size()), names.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (std::size_t i = 0; i < names.size(); ++i) {
        glBindTexture(GL_TEXTURE_2D, names[i]);
        const std::uint8_t* pixels = picture.frames[i].pixels.get();
        if (glGenerateMipmap != nullptr) {
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, picture.width, picture.height, 0, GL_RGB,
                         GL_UNSIGNED_BYTE, pixels);
            glGenerateMipmap(GL_TEXTURE_2D);
        } else {
            gluBuild2DMipmaps(GL_TEXTURE_2D, 3, picture.width, picture.height, GL_RGB,
                              GL_UNSIGNED_BYTE, pixels);
        }
        // The same filtering and texture environment as the built-in pictures.
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
        glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        picture.frames[i].pixels.reset();  // GL has its own copy now
    }
    return names;
}

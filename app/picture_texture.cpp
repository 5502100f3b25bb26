// uploadPicture: RGB rows straight from the decoder, bottom row first as GL expects them.
#include "app/picture_texture.h"

#include <GL/glu.h>

#include <cstdio>

#include "app/user_cell_size.h"
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

void addUserPictureTextures(PictureCatalogue& catalogue, std::vector<UserPicture>& pictures) {
    for (UserPicture& user : pictures) {
        UserPictureTextures textures;
        textures.name = user.name;
        textures.frames = uploadPicture(user.picture);
        if (textures.frames.empty()) {
            std::fprintf(stderr, "Error: %s: out of memory\n", user.name.c_str());
            continue;
        }
        const int width = user.picture.width, height = user.picture.height;
        textures.info = userPictureInfo(width, height);
        for (const PictureFrame& frame : user.picture.frames)
            textures.delaysMs.push_back(frame.delayMs);
        catalogue.userPictures.push_back(std::move(textures));
    }
}

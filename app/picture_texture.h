// User pictures as GL textures: one texture per frame, its mipmaps built by GL itself
// (glGenerateMipmap), which is much faster for large photographs than GLU's software rescale.
// A picture larger than GL's texture limit is shrunk by the area filter first.
#pragma once

#include <GL/glew.h>

#include <vector>

#include "app/picture_catalogue.h"
#include "app/user_pictures.h"
#include "pictures/picture.h"

// The largest texture side GL takes (GL_MAX_TEXTURE_SIZE).
int maxTextureSide();

// Creates one texture per frame of picture, after fitting it under maxTextureSide(); picture
// then has the size the textures have, and its frames keep their delays but no pixels.
// Returns the texture names in frame order, none when memory runs out. Leaves the last
// texture bound.
std::vector<GLuint> uploadPicture(Picture& picture);

// Uploads each user picture in order into catalogue.userPictures with its size and cell step,
// releasing its pixels. A picture GL cannot take is reported on standard error and left out.
void addUserPictureTextures(PictureCatalogue& catalogue, std::vector<UserPicture>& pictures);

// Pictures as GL textures, for the built-in pictures and the user's alike: RGB or RGBA rows,
// bottom row first, with a full mipmap chain. A user's picture has one texture whatever it shows
// over time, updated in place (glTexSubImage2D) when its source's frame changes.
#pragma once

#include <GL/glew.h>

#include <cstdint>
#include <vector>

#include "app/picture_catalogue.h"
#include "app/user_pictures.h"

// The largest texture side GL takes (GL_MAX_TEXTURE_SIZE).
int maxTextureSide();

// Who builds the mipmaps: GLU's software rescale, as the built-in pictures always have, or GL
// itself (glGenerateMipmap), which is much faster for large photographs and video frames and
// falls back to GLU where GL lacks it.
enum class MipmapBuilder { glu, gl };

// A new texture of `pixels` (null: black) at `channels` bytes a pixel (3: RGB, 4: RGBA), with
// the built-in pictures' filtering and texture environment. Leaves it bound. 0 when GL has no
// name for it. `mipmaps`, when the source worked them out (FrameView::mipmaps), are its levels
// below the first, taken as they are instead of built.
GLuint createPictureTexture(const std::uint8_t* pixels, int width, int height,
                            MipmapBuilder builder, int channels = 3,
                            const std::uint8_t* mipmaps = nullptr);

// Before the source is fitted: lets it hand over its frames as planes when it has them and GL
// can draw them so, which picture.planar then says.
void offerPlanes(UserPictureTexture& picture, FrameSource& source);

// The texture or, for a planar source, the three textures of picture (its source, size and
// planar set), holding `first`, the source's first frame (null pixels: black).
void createSourceTextures(UserPictureTexture& picture, const FrameView& first);

// Uploads each user picture in order into catalogue.userPictures, fitted under
// maxTextureSide(), with its size, cell step and first frame. A picture GL cannot take is
// reported on standard error and left out; a live feed's wall larger than GL's textures is
// reported and ends the upload with false.
bool addUserPictureTextures(PictureCatalogue& catalogue, std::vector<UserPicture>& pictures);

// Uploads the frame `picture`'s source has due at `now` when it is not the one the texture
// holds. True when the texture changed. Leaves unit 0's texture binding as it may find it
// changed, as the effect binder binds its own.
bool refreshPictureTexture(UserPictureTexture& picture, FrameClock::time_point now);

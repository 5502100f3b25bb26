// Pictures as GL textures, for the built-in pictures and the user's content alike: RGB or RGBA
// rows, bottom row first, with a full mipmap chain. The user's content has one texture whatever
// it shows over time, updated in place (glTexSubImage2D) when its source's frame changes.
#pragma once

#include <GL/glew.h>

#include <cstdint>
#include <vector>

#include "app/core/picture_catalogue.h"
#include "app/playback/content_files.h"

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
// can draw them so, which content.planar then says.
void offerPlanes(ShownContent& content, FrameSource& source);

// The texture or, for a planar source, the three textures of content (its source, size and
// planar set), holding `first`, the source's first frame (null pixels: black).
void createSourceTextures(ShownContent& content, const FrameView& first);

// Uploads each of the user's contents in order, fitted under maxTextureSide(), with its size,
// cell step and first frame, and makes them the catalogue's contents in place of the built-in
// pictures (which stay when none could be uploaded). Content GL cannot take is reported on
// standard error and left out; a live feed's wall larger than GL's textures is reported and
// ends the upload with false.
bool addContentTextures(PictureCatalogue& catalogue, std::vector<Content>& contents);

// Uploads the frame `content`'s source has due at `now` when it is not the one the texture
// holds. True when the texture changed. Leaves unit 0's texture binding as it may find it
// changed, as the effect binder binds its own.
bool refreshContentTexture(ShownContent& content, FrameClock::time_point now);

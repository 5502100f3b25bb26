// Texture uploads of whole pictures and of a source's frames in place.
#include "app/playback/picture_texture.h"

#include <GL/glu.h>

#include <array>
#include <cmath>
#include <cstdio>

#include "app/core/content_cell_size.h"
#include "app/core/wall_clock.h"
#include "effects/effect_programs.h"
#include "frames/mipmap_chain.h"

namespace {

// The texture's layout for frames of `channels` bytes a pixel: RGBA frames go into RGBA
// textures, which drivers keep as they are, so that uploads are plain copies.
GLenum pixelFormat(int channels) {
    return channels == 4 ? GL_RGBA : channels == 1 ? GL_RED : GL_RGB;
}
GLint internalFormat(int channels) {
    return channels == 4 ? GL_RGBA8 : channels == 1 ? GL_R8 : GL_RGB8;
}

// A level of the bound texture: defined anew, or copied into the level the texture has, which
// was sized as this one is.
enum class LevelUpload { define, copy };
void uploadLevel(int level, int width, int height, int channels, LevelUpload upload,
                 const std::uint8_t* pixels) {
    if (upload == LevelUpload::define) {
        glTexImage2D(GL_TEXTURE_2D, level, internalFormat(channels), width, height, 0,
                     pixelFormat(channels), GL_UNSIGNED_BYTE, pixels);
    } else {
        glTexSubImage2D(GL_TEXTURE_2D, level, 0, 0, width, height, pixelFormat(channels),
                        GL_UNSIGNED_BYTE, pixels);
    }
}

// Levels 1 and down of the bound texture from a chain the source worked out (see
// buildMipmapChain), in place of GL's own.
void uploadMipmapChain(const std::uint8_t* chain, int width, int height, int channels,
                       LevelUpload upload) {
    for (int level = 1; level <= mipmapLevelCount(width, height); ++level) {
        const int levelWidth = mipmapSide(width, level), levelHeight = mipmapSide(height, level);
        uploadLevel(level, levelWidth, levelHeight, channels, upload, chain);
        chain += std::size_t(channels) * levelWidth * levelHeight;
    }
}

// Every level of the bound texture: level 0 from `pixels`, the rest from the chain the source
// worked out or, without one, built by GL (or by GLU, which defines them all anew).
void writeLevels(const std::uint8_t* pixels, const std::uint8_t* mipmaps, int width, int height,
                 MipmapBuilder builder, int channels, LevelUpload upload) {
    if (builder == MipmapBuilder::gl && glGenerateMipmap != nullptr) {
        uploadLevel(0, width, height, channels, upload, pixels);
        if (mipmaps != nullptr) {
            uploadMipmapChain(mipmaps, width, height, channels, upload);
        } else {
            glGenerateMipmap(GL_TEXTURE_2D);
        }
    } else {
        gluBuild2DMipmaps(GL_TEXTURE_2D, channels, width, height, pixelFormat(channels),
                          GL_UNSIGNED_BYTE, pixels);
    }
}

}  // namespace

int maxTextureSide() {
    GLint side = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &side);
    return side;
}

GLuint createPictureTexture(const std::uint8_t* pixels, int width, int height,
                            MipmapBuilder builder, int channels, const std::uint8_t* mipmaps) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glBindTexture(GL_TEXTURE_2D, name);
    std::vector<std::uint8_t> black;
    if (pixels == nullptr) {
        black.assign(std::size_t(width) * height * channels, 0);
        pixels = black.data();
    }
    writeLevels(pixels, mipmaps, width, height, builder, channels, LevelUpload::define);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    return name;
}

namespace {

// Frames kept as planes need one-channel textures and the effects' planar programs.
bool canDrawPlanes() {
    return (GLEW_VERSION_3_0 || GLEW_ARB_texture_rg) && hasPlanarEffectPrograms();
}

// A planar picture's textures, luma first.
std::array<GLuint*, kPlaneCount> planeTextures(ShownContent& content) {
    return {&content.texture, &content.chroma[0], &content.chroma[1]};
}

// Every level of `texture` replaced in place.
void replaceLevels(GLuint texture, const std::uint8_t* pixels, const std::uint8_t* mipmaps,
                   int width, int height, int channels) {
    glBindTexture(GL_TEXTURE_2D, texture);
    writeLevels(pixels, mipmaps, width, height, MipmapBuilder::gl, channels, LevelUpload::copy);
}

}  // namespace

void offerPlanes(ShownContent& content, FrameSource& source) {
    content.planar = source.offersPlanes() && canDrawPlanes();
    if (content.planar) source.usePlanes();
}

void createSourceTextures(ShownContent& content, const FrameView& first) {
    const FrameSource& source = *content.source;
    const int width = source.width(), height = source.height();
    if (!content.planar) {
        content.texture = createPictureTexture(first.pixels, width, height, MipmapBuilder::gl,
                                               source.channels(), first.mipmaps);
        // A picture decoded smaller than its file: the effects ask for levels of detail in
        // the file's pixels, which are these texels' levels shifted by the reduction.
        const double reduction = double(source.fullWidth()) / width;
        if (reduction > 1 && GLEW_ARB_shader_texture_lod)
            glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_LOD_BIAS, float(-std::log2(reduction)));
        return;
    }
    // Black before the first frame: samples of 0, which no colours turn into anything else.
    const PlanarFrameLayout layout = planarFrameLayout(width, height);
    const auto textures = planeTextures(content);
    for (int plane = 0; plane < kPlaneCount; ++plane) {
        const std::uint8_t* pixels = first.pixels ? first.pixels + layout.offset[plane] : nullptr;
        const std::uint8_t* levels = first.pixels ? first.pixels + layout.mipmaps[plane] : nullptr;
        *textures[plane] = createPictureTexture(pixels, layout.width[plane], layout.height[plane],
                                                MipmapBuilder::gl, 1, levels);
    }
    content.yuv = first.yuv ? *first.yuv : YuvColours{};
}

bool addContentTextures(PictureCatalogue& catalogue, std::vector<Content>& contents) {
    const FrameClock::time_point now = frameClockNow();
    const int maxSide = maxTextureSide();
    std::vector<ShownContent> shown;
    for (Content& given : contents) {
        FrameSource& source = *given.source;
        ShownContent content;
        offerPlanes(content, source);
        if (!source.fitWithin(maxSide)) {
            // A feed is never shrunk: it is refused only for its size, and the user asked for it.
            if (source.oneLedAPixel()) {
                std::fprintf(stderr,
                             "Error: %s: the wall is %dx%d LEDs, larger than the graphics "
                             "driver's texture limit of %dx%d\n",
                             given.name.c_str(), source.width(), source.height(), maxSide, maxSide);
                return false;
            }
            std::fprintf(stderr, "Error: %s: out of memory\n", given.name.c_str());
            continue;
        }
        const int width = source.width(), height = source.height();
        content.name = given.name;
        content.info = source.oneLedAPixel()
                           ? PictureInfo{1, width, height}
                           : contentPictureInfo(source.fullWidth(), source.fullHeight());
        content.source = std::move(given.source);
        const FrameView first = source.frameAt(now);
        createSourceTextures(content, first);
        content.uploadedSerial = first.serial;
        if (first.pixels != nullptr) source.frameUploaded();
        shown.push_back(std::move(content));
    }
    if (!shown.empty()) catalogue.contents = std::move(shown);
    return true;
}

bool refreshContentTexture(ShownContent& content, FrameClock::time_point now) {
    FrameSource& source = *content.source;
    const FrameView frame = source.frameAt(now);
    if (frame.serial == content.uploadedSerial || frame.pixels == nullptr) return false;
    const int width = source.width(), height = source.height();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (content.planar) {
        const PlanarFrameLayout layout = planarFrameLayout(width, height);
        const auto textures = planeTextures(content);
        for (int plane = 0; plane < kPlaneCount; ++plane)
            replaceLevels(*textures[plane], frame.pixels + layout.offset[plane],
                          frame.pixels + layout.mipmaps[plane], layout.width[plane],
                          layout.height[plane], 1);
        content.yuv = *frame.yuv;
    } else {
        replaceLevels(content.texture, frame.pixels, frame.mipmaps, width, height,
                      source.channels());
    }
    content.uploadedSerial = frame.serial;
    source.frameUploaded();
    content.shownRate.frameShown(now);
    return true;
}

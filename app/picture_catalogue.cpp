// The catalogue's fixed data, the cell-step search and the lookups of the effect binder.
#include "app/picture_catalogue.h"

#include <algorithm>

#include "app/user_cell_size.h"

PictureCatalogue pictureCatalogue;

namespace {

// Slots 6 to 12, in slot order.
constexpr const char* kSceneTextureFiles[] = {
    ".\\Textures\\noise.bmp",           ".\\Textures\\dayGrass.bmp",
    ".\\Textures\\dayBackground.bmp",   ".\\Textures\\nightGrass.bmp",
    ".\\Textures\\nightBackground.bmp", ".\\Textures\\metal.bmp",
    ".\\Textures\\neonOn.bmp",
};
static_assert(kPictureCount + std::size(kSceneTextureFiles) == kNeonUnlitSlot);

}  // namespace

const char* texturePath(const PictureFiles& pictures, int slot) {
    if (slot >= 0 && slot < kPictureCount) return pictures[slot];
    if (slot >= kPictureCount && slot < kNeonUnlitSlot)
        return kSceneTextureFiles[slot - kPictureCount];
    return nullptr;
}

// A loop rather than one call per candidate: a large picture whose sides share no small
// divisor would otherwise nest thousands of calls deep.
int cellStep(int width, int height, int start) {
    for (int d = start + 1;; ++d) {
        if (d >= width || d >= height) return d;
        if (width % d == 0 && height % d == 0) return d;
    }
}

int billboardPictureCount(const PictureCatalogue& catalogue) {
    const auto userCount = static_cast<int>(catalogue.userPictures.size());
    return userCount > 0 ? userCount : kPictureCount;
}

const PictureInfo& pictureInfo(const PictureCatalogue& catalogue, int picture) {
    picture = std::clamp(picture, 0, billboardPictureCount(catalogue) - 1);
    return catalogue.userPictures.empty() ? catalogue.pictures[picture]
                                          : catalogue.userPictures[picture].info;
}

int startingPixelSize(const PictureCatalogue& catalogue, int picture) {
    constexpr int kStartCellSteps = 3;
    picture = std::clamp(picture, 0, billboardPictureCount(catalogue) - 1);
    if (catalogue.onWallLeds) return 1;
    if (!catalogue.userPictures.empty()) {
        if (catalogue.userPictures[picture].ledPerPixel) return 1;
        return userStartingPixelSize(pictureInfo(catalogue, picture));
    }
    return kStartCellSteps * pictureInfo(catalogue, picture).step;
}

EffectTextures effectTextures(const PictureCatalogue& catalogue, int picture) {
    picture = std::clamp(picture, 0, billboardPictureCount(catalogue) - 1);
    const PictureInfo& info = pictureInfo(catalogue, picture);
    GLuint texture = catalogue.textureIds[std::min(picture, kPictureCount - 1)];
    if (!catalogue.userPictures.empty()) texture = catalogue.userPictures[picture].texture;
    EffectTextures textures{texture, info.width, info.height, catalogue.textureIds[kNoiseSlot]};
    if (!catalogue.userPictures.empty() && catalogue.userPictures[picture].planar) {
        const UserPictureTexture& user = catalogue.userPictures[picture];
        textures.chroma[0] = user.chroma[0];
        textures.chroma[1] = user.chroma[1];
        textures.yuv = &user.yuv;
    }
    return textures;
}

// The catalogue's fixed data, the cell-step search and the lookups of the effect binder.
#include "app/core/picture_catalogue.h"

#include <algorithm>

#include "app/core/content_cell_size.h"

namespace {

// A built-in picture as a source of frames: its one frame went into its slot's texture as the
// scene loaded (with the mipmaps these pictures always get), so it has nothing to hand over.
class BuiltInPictureSource final : public FrameSource {
  public:
    explicit BuiltInPictureSource(const PictureInfo& record) : record_(record) {}

    int width() const override { return record_.width; }
    int height() const override { return record_.height; }
    bool fitWithin(int) override { return true; }
    void show(bool, FrameClock::time_point) override {}
    FrameView frameAt(FrameClock::time_point) override { return {nullptr, kUploadedSerial}; }
    FrameClock::time_point nextFrameDue(FrameClock::time_point) const override {
        return kNoFrameDue;
    }

    static constexpr std::uint64_t kUploadedSerial = 1;

  private:
    PictureInfo record_;  // its slot's, as the scene load recorded it
};

// Slots 6 to 12, in slot order.
constexpr const char* kSceneTextureFiles[] = {
    ".\\Textures\\noise.bmp",           ".\\Textures\\dayGrass.bmp",
    ".\\Textures\\dayBackground.bmp",   ".\\Textures\\nightGrass.bmp",
    ".\\Textures\\nightBackground.bmp", ".\\Textures\\metal.bmp",
    ".\\Textures\\neonOn.bmp",
};
static_assert(kPictureCount + std::size(kSceneTextureFiles) == kNeonUnlitSlot);

}  // namespace

PictureCatalogue::PictureCatalogue() {
    showBuiltInPictures(*this);
}

void showBuiltInPictures(PictureCatalogue& catalogue) {
    catalogue.contents.clear();
    for (int slot = 0; slot < kPictureCount; ++slot) {
        ShownContent picture;
        picture.name = kBuiltInPictureFiles[slot];
        picture.source = std::make_unique<BuiltInPictureSource>(catalogue.pictures[slot]);
        picture.builtInSlot = slot;
        picture.uploadedSerial = BuiltInPictureSource::kUploadedSerial;
        catalogue.contents.push_back(std::move(picture));
    }
}

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
    return static_cast<int>(catalogue.contents.size());
}

const ShownContent& shownContent(const PictureCatalogue& catalogue, int picture) {
    return catalogue.contents[std::clamp(picture, 0, billboardPictureCount(catalogue) - 1)];
}

ShownContent& shownContent(PictureCatalogue& catalogue, int picture) {
    return catalogue.contents[std::clamp(picture, 0, billboardPictureCount(catalogue) - 1)];
}

const PictureInfo& pictureInfo(const PictureCatalogue& catalogue, int picture) {
    const ShownContent& content = shownContent(catalogue, picture);
    return content.builtIn() ? catalogue.pictures[content.builtInSlot] : content.info;
}

int startingPixelSize(const PictureCatalogue& catalogue, int picture) {
    constexpr int kStartCellSteps = 3;
    const ShownContent& content = shownContent(catalogue, picture);
    if (catalogue.onWallLeds || content.source->oneLedAPixel()) return 1;
    if (content.builtIn()) return kStartCellSteps * pictureInfo(catalogue, picture).step;
    return contentStartingPixelSize(content.info);
}

EffectTextures effectTextures(const PictureCatalogue& catalogue, int picture) {
    const ShownContent& content = shownContent(catalogue, picture);
    const PictureInfo& info = pictureInfo(catalogue, picture);
    const GLuint texture =
        content.builtIn() ? catalogue.textureIds[content.builtInSlot] : content.texture;
    EffectTextures textures{texture, info.width, info.height, catalogue.textureIds[kNoiseSlot]};
    if (content.planar) {
        textures.chroma[0] = content.chroma[0];
        textures.chroma[1] = content.chroma[1];
        textures.yuv = &content.yuv;
    }
    return textures;
}

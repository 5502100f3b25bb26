// loadTexture: one BMP file into one texture slot, with a full mipmap chain.
#include "app/playback/texture_load.h"

#include <GL/glew.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/core/run_state.h"
#include "app/playback/picture_texture.h"
#include "bmp/dib_decoder.h"
#include "bmp/dib_image.h"
#include "files/native_path.h"
#include "frames/mipmap_chain.h"
#include "physical/wall_setup.h"
#include "pictures/wall_fit.h"

namespace {

// Only a file that opens is handed to the loader, so a missing picture stays silent.
bool fileOpens(const std::string& path) {
    std::FILE* probe = std::fopen(path.c_str(), "rb");
    if (probe == nullptr) return false;
    std::fclose(probe);
    return true;
}

// In real units a billboard picture is shown on the wall's own LEDs: fitted to its resolution
// once, with its mipmap levels worked out beside it at that size (GLU would round it to powers
// of two, and a software GL builds them slowly). A wall's textures are large, so each waits in
// the catalogue, decoded, until its picture is first shown: start-up fits only the first.
GLuint createWallTexture(const RgbImage& image) {
    const int width = wallSetup.widthLeds, height = wallSetup.heightLeds;
    const std::size_t bytes = std::size_t(3) * width * height;
    std::vector<std::uint8_t> wall(bytes + mipmapChainBytes(width, height));
    fitToWall(image.pixels, 3, image.width, image.height, width, height, wallSetup.fit,
              wall.data());
    buildMipmapChain(wall.data(), width, height, wall.data() + bytes);
    return createPictureTexture(wall.data(), width, height, MipmapBuilder::gl, 3,
                                wall.data() + bytes);
}

// Fits the picture waiting in `slot`, if one is.
void fitWaitingPicture(PictureCatalogue& catalogue, int slot) {
    if (!catalogue.waitingForWall[slot]) return;
    glEnable(GL_TEXTURE_2D);
    catalogue.textureIds[slot] = createWallTexture(*catalogue.waitingForWall[slot]);
    catalogue.waitingForWall[slot].reset();
}

}  // namespace

bool loadTexture(PictureCatalogue& catalogue, int slot, const char* path, bool recordSize) {
    glEnable(GL_TEXTURE_2D);
    if (path == nullptr || slot < 0 || slot >= kTextureSlotCount) return false;
    const std::string filePath = nativePath(path);
    if (!fileOpens(filePath)) return false;
    RgbImage* image = loadDibImage(filePath.c_str());
    if (image == nullptr) return false;

    if (wallSetup.realUnits && (slot < kPictureCount || slot == kNeonLitSlot)) {
        if (recordSize) catalogue.pictures[slot] = {1, wallSetup.widthLeds, wallSetup.heightLeds};
        catalogue.textureIds[slot] = 0;
        catalogue.waitingForWall[slot].reset(image, freeRgbImage);
        return true;
    }
    // Only the six billboard pictures have a size record.
    if (recordSize && slot < kPictureCount) {
        catalogue.pictures[slot].width = image->width;
        catalogue.pictures[slot].height = image->height;
    }
    catalogue.textureIds[slot] =
        createPictureTexture(image->pixels, image->width, image->height, MipmapBuilder::glu);
    freeRgbImage(image);
    return true;
}

void loadCatalogue(PictureCatalogue& catalogue, const PictureFiles& pictures) {
    for (auto& waiting : catalogue.waitingForWall) waiting.reset();
    for (int slot : kTextureLoadOrder)
        loadTexture(catalogue, slot, texturePath(pictures, slot), slot < kPictureCount);
    catalogue.textureIds[kNeonUnlitSlot] = catalogue.textureIds[kNeonPictureSlot];
    for (PictureInfo& picture : catalogue.pictures)
        picture.step = cellStep(picture.width, picture.height, 1);
    if (wallSetup.realUnits) {
        catalogue.onWallLeds = true;
        for (PictureInfo& picture : catalogue.pictures) picture.step = 1;
    }
    showBuiltInPictures(catalogue);
}

void fitChosenWallPicture(PictureCatalogue& catalogue, int picture) {
    const ShownContent& content = shownContent(catalogue, picture);
    if (!catalogue.onWallLeds || !content.builtIn()) return;
    const int slot = content.builtInSlot;
    if (slot == kNeonPictureSlot && catalogue.waitingForWall[slot]) {
        fitWaitingPicture(catalogue, kNeonLitSlot);
        fitWaitingPicture(catalogue, slot);
        catalogue.textureIds[kNeonUnlitSlot] = catalogue.textureIds[slot];
        return;
    }
    fitWaitingPicture(catalogue, slot);
}

// loadTexture: one BMP file into one texture slot, with a full mipmap chain.
#include "app/texture_load.h"

#include <GL/glew.h>

#include <cstdio>
#include <string>

#include "app/picture_texture.h"
#include "bmp/dib_decoder.h"
#include "bmp/dib_image.h"
#include "files/native_path.h"

namespace {

// Only a file that opens is handed to the loader, so a missing picture stays silent.
bool fileOpens(const std::string& path) {
    std::FILE* probe = std::fopen(path.c_str(), "rb");
    if (probe == nullptr) return false;
    std::fclose(probe);
    return true;
}

}  // namespace

bool loadTexture(PictureCatalogue& catalogue, int slot, const char* path, bool recordSize) {
    glEnable(GL_TEXTURE_2D);
    if (path == nullptr || slot < 0 || slot >= kTextureSlotCount) return false;
    const std::string filePath = nativePath(path);
    if (!fileOpens(filePath)) return false;
    RgbImage* image = loadDibImage(filePath.c_str());
    if (image == nullptr) return false;

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
    for (int slot : kTextureLoadOrder)
        loadTexture(catalogue, slot, texturePath(pictures, slot), slot < kPictureCount);
    catalogue.textureIds[kNeonUnlitSlot] = catalogue.textureIds[kNeonPictureSlot];
    for (PictureInfo& picture : catalogue.pictures)
        picture.step = cellStep(picture.width, picture.height, 1);
}

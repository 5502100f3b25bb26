// The picture table and the conversion of drawn pictures into their file storage.
#include "tools/texture_generator/picture_table.h"

#include <array>
#include <cmath>

namespace texgen {

namespace {

// Sizes are chosen so the pictures' cell steps and face proportions differ: 512x256 is twice
// as wide as high (step 2), 391x253 = 17*23 by 11*23 (step 23), 405x135 is three times as wide
// (step 3), 325x325 is square (step 5), 343x245 = 7*49 by 5*49 (step 7).
// The backdrops are designed at 768x512, the 3:2 of the quad they cover, and stored at
// 512x512: power-of-two sides go into mipmaps without a rescale, and the quad stretches them
// back to 3:2.
// clang-format off
const PictureFile files[] = {
    {"flagcross.bmp", 512, 256, Storage::rgb24, DibHeader::info40, drawFlagCross, {}},
    {"qelt.bmp", 391, 253, Storage::rgb24, DibHeader::core12, drawTestCard, {}},
    {"marrowby.bmp", 405, 135, Storage::rgb24, DibHeader::info40, drawBanner, {}},
    {"logoGray.bmp", 325, 325, Storage::gray8, DibHeader::info40, drawGrayLogo, {}},
    {"tovin.bmp", 343, 245, Storage::palette4, DibHeader::info40, drawPosterSunset, posterPalette},
    {"neonOff.bmp", 384, 192, Storage::rgb24, DibHeader::info40, drawNeonUnlit, {}},
    {"noise.bmp", 128, 128, Storage::gray8, DibHeader::info40, drawNoise, {}},
    {"dayGrass.bmp", 512, 512, Storage::rgb24, DibHeader::info40, drawDayGrass, {}},
    {"dayBackground.bmp", 512, 512, Storage::rgb24, DibHeader::info40, drawDayBackdrop, {},
     768, 512},
    {"nightGrass.bmp", 512, 512, Storage::rgb24, DibHeader::info40, drawNightGrass, {}},
    {"nightBackground.bmp", 512, 512, Storage::rgb24, DibHeader::core12, drawNightBackdrop, {},
     768, 512},
    {"metal.bmp", 256, 256, Storage::rgb24, DibHeader::info40, drawMetal, {}},
    {"neonOn.bmp", 384, 192, Storage::rgb24, DibHeader::info40, drawNeonLit, {}},
};
// clang-format on

// 4 by 4 ordered-dither thresholds, so few colours still give smooth gradients.
constexpr int bayer4[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

std::uint8_t nearestEntry(Color c, std::span<const std::uint32_t> palette) {
    std::uint8_t best = 0;
    float bestDistance = 1e9f;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        Color p = hex(palette[i]);
        // Green weighs most, as the eye sees it.
        float d = 3 * (c.r - p.r) * (c.r - p.r) + 4 * (c.g - p.g) * (c.g - p.g) +
                  2 * (c.b - p.b) * (c.b - p.b);
        if (d < bestDistance) bestDistance = d, best = static_cast<std::uint8_t>(i);
    }
    return best;
}

IndexedPicture indexedFrom(const Canvas& canvas, Storage storage,
                           std::span<const std::uint32_t> palette) {
    IndexedPicture picture;
    picture.width = canvas.width();
    picture.height = canvas.height();
    if (storage == Storage::gray8) {
        for (int level = 0; level < 256; ++level) {
            auto v = static_cast<std::uint8_t>(level);
            picture.palette.push_back({v, v, v});
        }
    } else {
        for (std::uint32_t entry : palette)
            picture.palette.push_back({static_cast<std::uint8_t>(entry >> 16),
                                       static_cast<std::uint8_t>(entry >> 8),
                                       static_cast<std::uint8_t>(entry)});
    }
    for (int y = canvas.height() - 1; y >= 0; --y)
        for (int x = 0; x < canvas.width(); ++x) {
            Color c = canvas.at(x, y);
            if (storage == Storage::gray8) {
                float gray = 0.299f * c.r + 0.587f * c.g + 0.114f * c.b;
                picture.indices.push_back(
                    static_cast<std::uint8_t>(std::lround(clamp01(gray) * 255)));
            } else {
                float offset = (bayer4[y & 3][x & 3] + 0.5f) / 16 - 0.5f;
                float spread = 0.14f;  // about half the distance between neighbouring entries
                Color dithered = {c.r + offset * spread, c.g + offset * spread,
                                  c.b + offset * spread};
                picture.indices.push_back(nearestEntry(dithered, palette));
            }
        }
    return picture;
}

}  // namespace

std::span<const PictureFile> pictureFiles() {
    return files;
}

Canvas drawPicture(const PictureFile& file) {
    if (file.designWidth <= 0 || file.designHeight <= 0) return file.draw(file.width, file.height);
    return areaDownscale(file.draw(file.designWidth, file.designHeight), file.width, file.height);
}

std::vector<std::uint8_t> encodePicture(const PictureFile& file, const Canvas& canvas) {
    switch (file.storage) {
        case Storage::rgb24: {
            std::vector<std::uint8_t> rgb = canvas.toRgbBottomUp();
            return encodeBmp24(canvas.width(), canvas.height(), rgb.data(), file.header);
        }
        case Storage::gray8:
            return encodeBmpIndexed(indexedFrom(canvas, file.storage, {}), 8, file.header);
        case Storage::palette4:
            return encodeBmpIndexed(indexedFrom(canvas, file.storage, file.palette), 4,
                                    file.header);
    }
    return {};
}

}  // namespace texgen

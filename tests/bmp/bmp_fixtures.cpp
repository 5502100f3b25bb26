// Test pictures and helpers shared by the image tests.
#include "tests/bmp/bmp_fixtures.h"

namespace fixtures {

std::uint32_t u32At(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

std::vector<std::uint8_t> patternRgb(int width, int height) {
    std::vector<std::uint8_t> rgb;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            rgb.push_back(static_cast<std::uint8_t>(x * 37 + y * 11));
            rgb.push_back(static_cast<std::uint8_t>(y * 53 + 7));
            rgb.push_back(static_cast<std::uint8_t>(x * 5 + y * 71 + 200));
        }
    }
    return rgb;
}

IndexedPicture patternIndexed(int width, int height, int colors) {
    IndexedPicture picture;
    picture.width = width;
    picture.height = height;
    for (int i = 0; i < colors; ++i) {
        picture.palette.push_back({static_cast<std::uint8_t>(i * 17 + 1),
                                   static_cast<std::uint8_t>(255 - i * 3),
                                   static_cast<std::uint8_t>(i * 101)});
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            picture.indices.push_back(static_cast<std::uint8_t>((x * 3 + y * 5) % colors));
        }
    }
    return picture;
}

std::vector<std::uint8_t> expectedRgb(const IndexedPicture& picture) {
    std::vector<std::uint8_t> rgb;
    for (std::uint8_t index : picture.indices) {
        const auto color =
            index < picture.palette.size() ? picture.palette[index] : std::array<std::uint8_t, 3>{};
        rgb.insert(rgb.end(), color.begin(), color.end());
    }
    return rgb;
}

std::vector<std::uint8_t> buildBmp(int width, int height, int bitsPerPixel,
                                   std::uint32_t compression,
                                   const std::vector<std::array<std::uint8_t, 3>>& palette,
                                   const std::vector<std::uint8_t>& pixelData) {
    const std::uint32_t pixelOffset = 54 + 4 * static_cast<std::uint32_t>(palette.size());
    std::vector<std::uint8_t> bytes(pixelOffset, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    setU32(bytes, 2, pixelOffset + static_cast<std::uint32_t>(pixelData.size()));
    setU32(bytes, kPixelOffsetField, pixelOffset);
    setU32(bytes, 14, 40);
    setU32(bytes, kWidthField, static_cast<std::uint32_t>(width));
    setU32(bytes, kHeightField, static_cast<std::uint32_t>(height));
    setU16(bytes, 26, 1);
    setU16(bytes, kBitsField, static_cast<std::uint32_t>(bitsPerPixel));
    setU32(bytes, kCompressionField, compression);
    setU32(bytes, kImageSizeField, static_cast<std::uint32_t>(pixelData.size()));
    setU32(bytes, kColorsUsedField, static_cast<std::uint32_t>(palette.size()));
    for (std::size_t i = 0; i < palette.size(); ++i) {
        bytes[54 + 4 * i] = palette[i][2];
        bytes[55 + 4 * i] = palette[i][1];
        bytes[56 + 4 * i] = palette[i][0];
    }
    bytes.insert(bytes.end(), pixelData.begin(), pixelData.end());
    return bytes;
}

Decoded decode(std::span<const std::uint8_t> file) {
    Decoded result;
    RgbImage* image = decodeDib(file, result.status);
    if (image != nullptr) {
        result.width = image->width;
        result.height = image->height;
        result.pixels.assign(image->pixels,
                             image->pixels + std::size_t{3} * image->width * image->height);
        freeRgbImage(image);
    }
    return result;
}

}  // namespace fixtures

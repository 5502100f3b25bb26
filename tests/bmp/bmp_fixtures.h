// Test pictures for the image tests: pixel patterns, header patching and a decode helper that
// returns the outcome as plain values.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "bmp/dib_decoder.h"
#include "pictures/bmp_encoder.h"

namespace fixtures {

// Offsets in a file with a "BM" header followed by an info header.
constexpr std::size_t kPixelOffsetField = 10;
constexpr std::size_t kWidthField = 18;
constexpr std::size_t kHeightField = 22;
constexpr std::size_t kBitsField = 28;
constexpr std::size_t kCompressionField = 30;
constexpr std::size_t kImageSizeField = 34;
constexpr std::size_t kColorsUsedField = 46;

using ::setU16;
using ::setU32;
std::uint32_t u32At(const std::vector<std::uint8_t>& bytes, std::size_t at);

// width * height * 3 bytes where every pixel differs from its neighbours and from the same
// place in the rows above and below.
std::vector<std::uint8_t> patternRgb(int width, int height);

// A picture with `colors` distinct palette entries and indices cycling through them.
IndexedPicture patternIndexed(int width, int height, int colors);

// The RGB rows a palette picture should decode to.
std::vector<std::uint8_t> expectedRgb(const IndexedPicture& picture);

// A "BM" file with an info header, the palette (R G B entries, written blue, green, red, 0)
// and the pixel data as given, rows or run-length stream alike.
std::vector<std::uint8_t> buildBmp(int width, int height, int bitsPerPixel,
                                   std::uint32_t compression,
                                   const std::vector<std::array<std::uint8_t, 3>>& palette,
                                   const std::vector<std::uint8_t>& pixelData);

struct Decoded {
    DibStatus status = DibStatus::ok;
    int width = 0, height = 0;
    std::vector<std::uint8_t> pixels;
};

Decoded decode(std::span<const std::uint8_t> file);

}  // namespace fixtures

// One loop per depth, each a single pass over the source row: the per-row choice keeps the
// per-pixel work free of branches on the depth.
#include "image/dib_rows.h"

#include <cstring>

namespace {

// Widens a 5-bit channel to 8 bits by repeating its top bits, so 31 becomes 255.
std::uint8_t widenFiveBits(unsigned value) {
    return static_cast<std::uint8_t>(value << 3 | value >> 2);
}

void convertPaletteRow(const std::uint8_t* source, std::uint8_t* out, std::int32_t width,
                       unsigned bitsPerPixel, const std::array<RgbColor, 256>& palette) {
    if (bitsPerPixel == 8) {
        for (std::int32_t x = 0; x < width; ++x, out += 3) putColor(out, palette[source[x]]);
        return;
    }
    // The leftmost pixel sits in the highest bits of its byte.
    const unsigned pixelsPerByte = 8 / bitsPerPixel;
    const unsigned mask = (1u << bitsPerPixel) - 1;
    for (std::int32_t x = 0; x < width; ++x, out += 3) {
        const unsigned shift = (pixelsPerByte - 1 - x % pixelsPerByte) * bitsPerPixel;
        putColor(out, palette[(source[x / pixelsPerByte] >> shift) & mask]);
    }
}

void convertRgb16Row(const std::uint8_t* source, std::uint8_t* out, std::int32_t width) {
    for (std::int32_t x = 0; x < width; ++x, source += 2, out += 3) {
        const unsigned value = source[0] | source[1] << 8;
        out[0] = widenFiveBits(value >> 10 & 31);
        out[1] = widenFiveBits(value >> 5 & 31);
        out[2] = widenFiveBits(value & 31);
    }
}

void convertBgrRow(const std::uint8_t* source, std::uint8_t* out, std::int32_t width,
                   unsigned sourceStep) {
    for (std::int32_t x = 0; x < width; ++x, source += sourceStep, out += 3) {
        out[0] = source[2];
        out[1] = source[1];
        out[2] = source[0];
    }
}

}  // namespace

void convertDibRows(const DibLayout& layout, std::uint8_t* out) {
    const std::int32_t width = layout.header.width;
    const unsigned bitsPerPixel = layout.header.bitsPerPixel;
    const std::size_t outStride = static_cast<std::size_t>(width) * 3;
    for (std::int32_t row = 0; row < layout.rows; ++row) {
        const std::uint8_t* source = layout.pixelData.data() + std::size_t{layout.rowStride} * row;
        const std::int32_t outRow = layout.topDown ? layout.rows - 1 - row : row;
        std::uint8_t* target = out + outStride * outRow;
        switch (bitsPerPixel) {
            case 16:
                convertRgb16Row(source, target, width);
                break;
            case 24:
                convertBgrRow(source, target, width, 3);
                break;
            case 32:
                convertBgrRow(source, target, width, 4);
                break;
            default:
                convertPaletteRow(source, target, width, bitsPerPixel, layout.palette);
                break;
        }
    }
}

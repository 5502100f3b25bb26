// One loop per depth, each a single pass over the source row: the per-row choice keeps the
// per-pixel work free of branches on the depth. Large pictures are converted in bands of rows
// on every core.
#include "bmp/dib_rows.h"

#include <cstring>

#include "bmp/dib_palette.h"
#include "bmp/dib_simd.h"
#include "bmp/row_bands.h"

namespace {

// Widens a 5-bit channel to 8 bits by repeating its top bits, so 31 becomes 255.
std::uint8_t widenFiveBits(unsigned value) {
    return static_cast<std::uint8_t>(value << 3 | value >> 2);
}

void convertRgb16Row(const std::uint8_t* source, std::uint8_t* out, std::int32_t width) {
    std::int32_t x = static_cast<std::int32_t>(
        shuffleRgb16Pixels(source, static_cast<std::uint32_t>(width), out));
    source += 2 * x;
    out += 3 * x;
    for (; x < width; ++x, source += 2, out += 3) {
        const unsigned value = source[0] | source[1] << 8;
        out[0] = widenFiveBits(value >> 10 & 31);
        out[1] = widenFiveBits(value >> 5 & 31);
        out[2] = widenFiveBits(value & 31);
    }
}

template <unsigned kSourceStep>
void convertBgrRow(const std::uint8_t* source, std::uint8_t* out, std::int32_t width) {
    std::int32_t x = static_cast<std::int32_t>(
        shuffleBgrPixels(source, kSourceStep, static_cast<std::uint32_t>(width), out));
    source += x * kSourceStep;
    out += x * 3;
    for (; x < width; ++x, source += kSourceStep, out += 3) {
        out[0] = source[2];
        out[1] = source[1];
        out[2] = source[0];
    }
}

// Asks for a stored row ahead of its use: read from the last row to the first, rows are not
// a stream the processor recognises by itself.
void prefetchRow(const std::uint8_t* row, std::uint32_t bytes) {
#if defined(__GNUC__)
    constexpr std::uint32_t kCacheLine = 64;
    for (std::uint32_t at = 0; at < bytes; at += kCacheLine) __builtin_prefetch(row + at);
#else
    (void)row;
    (void)bytes;
#endif
}

void convertRow(const DibLayout& layout, const PaletteExpansion& palette,
                const std::uint8_t* source, std::uint8_t* target) {
    const std::int32_t width = layout.header.width;
    switch (layout.header.bitsPerPixel) {
        case 1:
            palette.expand<1>(source, static_cast<std::uint32_t>(width), target);
            break;
        case 4:
            palette.expand<4>(source, static_cast<std::uint32_t>(width), target);
            break;
        case 8:
            palette.expand<8>(source, static_cast<std::uint32_t>(width), target);
            break;
        case 16:
            convertRgb16Row(source, target, width);
            break;
        case 24:
            convertBgrRow<3>(source, target, width);
            break;
        default:
            convertBgrRow<4>(source, target, width);
            break;
    }
}

}  // namespace

void convertDibRows(const DibLayout& layout, std::uint8_t* out) {
    const unsigned bitsPerPixel = layout.header.bitsPerPixel;
    const PaletteExpansion palette(bitsPerPixel <= 8 ? bitsPerPixel : 8, layout.palette);
    const std::size_t outStride = std::size_t{3} * layout.header.width;
    // Bands are of output rows, written in ascending order whichever order the file stores
    // them in: writing a top-down picture's output backwards costs more than reading its rows
    // backwards, with each next row fetched ahead.
    const auto convertBand = [&](RowBand band) {
        for (std::int32_t outRow = band.first; outRow < band.end; ++outRow) {
            const std::int32_t row = layout.topDown ? layout.rows - 1 - outRow : outRow;
            const std::uint8_t* source =
                layout.pixelData.data() + std::size_t{layout.rowStride} * row;
            if (layout.topDown && row > 0) prefetchRow(source - layout.rowStride, layout.rowStride);
            convertRow(layout, palette, source, out + outStride * outRow);
        }
    };
    runInRowBands(layout.rows, rowThreadCount(outStride * layout.rows, layout.rows), convertBand);
}

// Run-length streams are pairs of bytes: a count and a value give an encoded run; a zero
// count introduces an escape (end of line, end of bitmap, move, or a literal absolute run).
#include "image/dib_rle.h"

#include <cstring>

namespace {

constexpr std::uint8_t kEndOfLine = 0;
constexpr std::uint8_t kEndOfBitmap = 1;
constexpr std::uint8_t kDelta = 2;

struct RleCursor {
    std::int64_t x = 0, y = 0;
};

}  // namespace

DibStatus decodeDibRle(const DibLayout& layout, std::uint8_t* out) {
    const std::int64_t width = layout.header.width;
    const std::int64_t rows = layout.rows;
    const bool rle4 = layout.header.compression == kDibRle4;
    const std::uint8_t* data = layout.pixelData.data();
    const std::size_t size = layout.pixelData.size();
    std::memset(out, 0, static_cast<std::size_t>(width * rows * 3));

    RleCursor at;
    std::size_t position = 0;
    auto pixelAt = [&](std::int64_t x) { return out + ((at.y * width + x) * 3); };
    // A run of count pixels fits when it stays within the current row of the picture.
    auto runFits = [&](std::int64_t count) { return at.y < rows && count <= width - at.x; };

    while (size - position >= 2) {
        const std::uint8_t count = data[position];
        const std::uint8_t value = data[position + 1];
        position += 2;
        if (count > 0) {
            if (!runFits(count)) return DibStatus::conversionError;
            std::uint8_t* target = pixelAt(at.x);
            for (unsigned i = 0; i < count; ++i, target += 3) {
                // A 4-bit run alternates between the value's high and low halves.
                const unsigned index = !rle4 ? value : (i % 2 == 0 ? value >> 4 : value & 15);
                putColor(target, layout.palette[index]);
            }
            at.x += count;
        } else if (value == kEndOfLine) {
            if (at.y >= rows) return DibStatus::conversionError;
            at.x = 0;
            ++at.y;
        } else if (value == kEndOfBitmap) {
            return DibStatus::ok;
        } else if (value == kDelta) {
            if (size - position < 2) return DibStatus::conversionError;
            at.x += data[position];
            at.y += data[position + 1];
            position += 2;
            if (at.x > width || at.y > rows) return DibStatus::conversionError;
        } else {
            // Absolute run: value literal pixels, their bytes padded to a 16-bit boundary.
            const std::size_t bytes = rle4 ? (value + 1u) / 2 : value;
            const std::size_t paddedBytes = (bytes + 1) & ~std::size_t{1};
            if (!runFits(value) || size - position < paddedBytes) {
                return DibStatus::conversionError;
            }
            const std::uint8_t* literal = data + position;
            std::uint8_t* target = pixelAt(at.x);
            for (unsigned i = 0; i < value; ++i, target += 3) {
                const unsigned index =
                    !rle4 ? literal[i] : (i % 2 == 0 ? literal[i / 2] >> 4 : literal[i / 2] & 15);
                putColor(target, layout.palette[index]);
            }
            position += paddedBytes;
            at.x += value;
        }
    }
    // Without an end marker the stream is whole only when its line ends covered every row.
    return at.y >= rows ? DibStatus::ok : DibStatus::conversionError;
}

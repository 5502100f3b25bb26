// The pass steps from op to op without looking at the pixels, a small part of what decoding
// the same ops costs.
#include "image/dib_rle_split.h"

#include <array>

bool findRleSplits(std::span<const std::uint8_t> stream, unsigned bitsPerPixel,
                   std::span<RleSplit> splits) {
    // Bytes from an op to the next one, by its value and by whether its count is zero (the
    // first 256) or not: encoded runs are two bytes, literal runs two and their padded data,
    // and the escapes 0 to 2 are marked 0. Looked up rather than branched on, since encoded
    // and literal runs come in no predictable order.
    std::array<std::uint16_t, 512> stepOf{};
    for (unsigned value = 0; value < 256; ++value) {
        const unsigned literalBytes = ((value * bitsPerPixel + 7) / 8 + 1) & ~1u;
        stepOf[value] = static_cast<std::uint16_t>(value > 2 ? 2 + literalBytes : 0);
        stepOf[256 + value] = 2;
    }
    const std::uint8_t* data = stream.data();
    const std::size_t size = stream.size();
    std::size_t position = 0;
    std::int32_t row = 0;
    for (RleSplit& split : splits) {
        while (row < split.row) {
            if (size - position < 2) return false;
            const std::uint8_t count = data[position];
            const std::uint8_t value = data[position + 1];
            std::size_t step = stepOf[value | unsigned{count != 0} << 8];
            if (step == 0) {
                if (value != 0) return false;  // a move or the end of the bitmap
                step = 2;
                ++row;
            }
            if (size - position < step) return false;
            position += step;
        }
        split.position = position;
    }
    return true;
}

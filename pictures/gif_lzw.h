// The LZW decoding of a GIF sub-image's data held in memory, for the files giflib's own decoder
// refuses: minimum code sizes of 9 to 11 bits, which web browsers show. As in browsers, a
// table that fills to 4096 codes is kept until the next clear code, and each index keeps its
// low 8 bits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// How a sub-image's codes ended.
enum class LzwEnd {
    complete,  // every pixel was written (what follows the last one is not read)
    endCode,   // the end code came before the last pixel
    dataEnd,   // the data ran out before the last pixel
    badCode,   // a code not yet in the table: the data is damaged from there on
};

struct LzwOutcome {
    LzwEnd end = LzwEnd::complete;
    std::size_t written = 0;  // pixels decoded, from the first
};

// The largest minimum code size read: its clear code, 2048, leaves room in the 4096 codes.
constexpr int kMaxLzwCodeSize = 11;

// Decodes `data` (the sub-blocks' bytes joined, without their length bytes) with the file's
// minimum code size (2 to kMaxLzwCodeSize) into `indices`, one palette index a pixel in the
// order stored. Pixels past those written are left as they were.
LzwOutcome decodeGifLzw(std::span<const std::uint8_t> data, int minCodeSize,
                        std::span<std::uint8_t> indices);

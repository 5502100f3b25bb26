// A run-length stream being decoded: what it reads and writes, and how far decoding has got,
// shared by the decoder's loop over every op and its vector path over the common ones.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "bmp/dib_palette.h"
#include "bmp/dib_rle_writer.h"

// Escape codes, the value of an op whose count is zero; greater values are literal runs.
constexpr std::uint8_t kRleEndOfLine = 0;
constexpr std::uint8_t kRleEndOfBitmap = 1;
constexpr std::uint8_t kRleDelta = 2;

template <unsigned kBitsPerPixel>
struct RleStream {
    const std::uint8_t* data;
    std::size_t size;
    std::int64_t width, rows;
    std::uint8_t* out;  // width * rows * 3 bytes, bottom row first
    std::size_t outputSize;
    const PaletteExpansion& palette;
    const RleRunWriter<kBitsPerPixel>& writer;
};

struct RleProgress {
    std::size_t position = 0;   // of the next op in the stream
    std::int64_t x = 0, y = 0;  // the cursor
    std::size_t written = 0;    // output bytes before the cursor that are final

    // The cursor only moves forward through the picture (runs right, line ends and moves up),
    // so the pixels a stream skips are blacked out as the next run starts at offset (or at the
    // output's end), instead of clearing the whole output before decoding.
    void fillSkipped(std::uint8_t* out, std::size_t offset) {
        if (offset == written) return;  // the common case: runs follow each other
        std::memset(out + written, 0, offset - written);
        written = offset;
    }
};

// Decodes the stream's common ops (runs, literal runs, line ends and moves that stay inside
// the picture) from progress on, for as long as they lie far enough from the ends of the
// stream and of the output for whole vector steps, and stops at the first other op, leaving
// it to the caller. Does nothing where the processor lacks the instructions
// (hasRunLengthVectors).
template <unsigned kBitsPerPixel>
void decodeCommonRleOps(const RleStream<kBitsPerPixel>& stream, RleProgress& progress);

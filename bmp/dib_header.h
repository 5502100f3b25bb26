// Reads the headers of a BMP file held in memory, checks every size against the file, and
// normalises them into one 40-byte info header with a colour table ready for look-ups.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "bmp/rgb_color.h"

// Outcome of reading or decoding; each failure has one user-facing text (dibStatusText).
enum class DibStatus { ok, unknownFormat, conversionError, outOfMemory };

const char* dibStatusText(DibStatus status);

// Compression values of the info header.
constexpr std::uint32_t kDibUncompressed = 0;
constexpr std::uint32_t kDibRle8 = 1;
constexpr std::uint32_t kDibRle4 = 2;

// Output is width * rows * 3 bytes, so this bounds what any file, however small (a run-length
// stream of a few bytes can claim any size), makes the loader allocate and write: 2^27 pixels
// is a 16384 x 8192 picture, 384 MiB of RGB, beyond any texture the scene uses.
constexpr std::uint64_t kMaxDibPixelCount = std::uint64_t{1} << 27;

// Sizes of the optional "BM" file header and of the two bitmap headers the loader reads; the
// bitmap header opens with its own size, which tells the two apart.
constexpr std::uint32_t kDibFileHeaderSize = 14;
constexpr std::uint32_t kDibCoreHeaderSize = 12;
constexpr std::uint32_t kDibInfoHeaderSize = 40;

// The loader's own info header, filled alike from a 12-byte core or a 40-byte info header.
struct DibInfoHeader {
    std::uint32_t size = kDibInfoHeaderSize;
    std::int32_t width = 0;
    std::int32_t height = 0;  // negative for rows stored top row first
    std::uint16_t planes = 0;
    std::uint16_t bitsPerPixel = 0;
    std::uint32_t compression = kDibUncompressed;
    std::uint32_t imageSize = 0;
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    std::uint32_t colorsUsed = 0;
    std::uint32_t colorsImportant = 0;
};

// Everything the depth conversion needs, all of it checked against the file.
struct DibLayout {
    DibInfoHeader header;
    std::uint16_t colorCount = 0;  // entries of the file's colour table
    // Indexed by any 8-bit value: entries past the file's table are black, so a pixel whose
    // index lies beyond the table comes out black instead of reading outside it.
    std::array<RgbColor, 256> palette{};
    std::int32_t rows = 0;  // |height|
    bool topDown = false;
    std::uint32_t rowStride = 0;  // bytes per stored row of uncompressed data, padding included
    // Uncompressed: at least the bytes of all rows (the last row's padding may be missing).
    // Run-length: the whole stream, bounded by the file's end and its image size field.
    std::span<const std::uint8_t> pixelData;
};

// The headers as the file states them, before any check of what they describe: the picture
// record's decoder sizes a picture up from them before the whole layout is read.
struct DibHeaders {
    DibInfoHeader header;  // a 12-byte core header is filled into the info header's fields
    bool core = false;
    bool hasFileHeader = false;
    std::uint32_t pixelOffset = 0;  // where the file header says the rows start; 0 without one
};

// Reads an optional 14-byte "BM" file header and the 12- or 40-byte bitmap header. A header
// size other than 12 or 40 is unknownFormat; a file that ends first is conversionError.
DibStatus readDibHeaders(std::span<const std::uint8_t> file, DibHeaders& headers);

// Reads an optional 14-byte "BM" file header, then the bitmap header, the colour table and
// the place of the pixel data. Rejects (conversionError) whatever this converter cannot decode
// or the file cannot back; a header size other than 12 or 40 is unknownFormat.
DibStatus readDibLayout(std::span<const std::uint8_t> file, DibLayout& layout);

// A small BMP writer: 24-bit and 1-, 4- or 8-bit palette files with a core or info header.
// Tools use it to produce the program's pictures and tests use it to build real input files.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

enum class DibHeader { core12, info40 };

// rgb: width*height*3 bytes, R G B, bottom row first (as RgbImage). 24-bit file with "BM" header.
// Returns no bytes when the size cannot be stored (width or height not positive, or too large
// for the header's fields).
std::vector<std::uint8_t> encodeBmp24(int width, int height, const std::uint8_t* rgb,
                                      DibHeader header = DibHeader::info40);

struct IndexedPicture {
    int width = 0, height = 0;
    std::vector<std::array<std::uint8_t, 3>> palette;  // R G B entries, at most 2^bits
    std::vector<std::uint8_t> indices;                 // width*height, bottom row first
};

// 1-, 4- or 8-bit palette file with "BM" header; colour table written with the header's entry
// size. An info header records the palette's own length as its colours-used count; a core header
// has no such field, so its table is padded with black to 2^bits entries. Returns no bytes for
// an unsupported depth, a palette longer than 2^bits, or indices that do not match the size.
std::vector<std::uint8_t> encodeBmpIndexed(const IndexedPicture& picture, int bitsPerPixel,
                                           DibHeader header = DibHeader::info40);

// Little-endian header fields written in place, as BMP files store them: for callers that
// build or patch a header by hand (damaged test files, benchmark pictures of every depth).
void setU16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value);
void setU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value);

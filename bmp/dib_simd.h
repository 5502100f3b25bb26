// Vector paths of the row converters for x86-64 processors that have the instructions, chosen
// at run time. Each converts the leading pixels of a row and returns how many it did (0 where
// the processor or the build lacks the instructions); the caller finishes the row, so every
// path leaves a few pixels to it and never writes past the pixels it was given.
#pragma once

#include <cstdint>

// BGR (sourceStep 3) or BGRX (sourceStep 4) pixels to RGB.
std::uint32_t shuffleBgrPixels(const std::uint8_t* source, unsigned sourceStep, std::uint32_t count,
                               std::uint8_t* out);

// 16-bit pixels, 5 bits per channel (red highest, top bit unused), to RGB.
std::uint32_t shuffleRgb16Pixels(const std::uint8_t* source, std::uint32_t count,
                                 std::uint8_t* out);

// A palette for the vector paths: expanded holds for each source byte value the RGB bytes
// of its pixels (3 or 6 bytes per entry, readable up to 8 bytes past the last entry); planes
// holds the reds of the 256 (at 4 bits 16) colours, then their greens, then their blues,
// 256 bytes each.
struct PaletteTables {
    const std::uint8_t* expanded;
    const std::uint8_t* planes;
};

// Palette pixels, 8, 4 or 1 bits each (leftmost in the highest bits of a byte). 4-bit counts
// stay even, 1-bit counts multiples of 8.
std::uint32_t lookUpPalettePixels(const std::uint8_t* source, unsigned bitsPerPixel,
                                  std::uint32_t count, const PaletteTables& tables,
                                  std::uint8_t* out);

// Whether the processor (and the build) has the 64-pixel byte look-ups of dib_byte_lookups.h
// and the byte compression (AVX-512 VBMI2) that the run-length vector path takes too.
bool hasRunLengthVectors();

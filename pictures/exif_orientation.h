// The orientation tag of an EXIF block, which cameras write instead of turning the pixels:
// JPEG keeps the block in an APP1 segment, PNG in its eXIf chunk, WebP in an EXIF chunk.
#pragma once

#include <cstdint>
#include <span>

// How the stored pixels are turned for showing, as EXIF numbers it: 1 as stored, 2 mirrored
// left to right, 3 turned half round, 4 mirrored top to bottom, 5 mirrored about the
// top-left to bottom-right diagonal, 6 turned a quarter clockwise, 7 mirrored about the other
// diagonal, 8 turned a quarter anticlockwise.
enum class Orientation : std::uint8_t {
    asStored = 1,
    mirrored,
    halfTurn,
    flipped,
    transposed,
    quarterClockwise,
    transverse,
    quarterAnticlockwise,
};

// The orientation in a TIFF-structured EXIF block, with or without the "Exif\0\0" that JPEG
// puts before it; asStored when the block has no orientation or is damaged. Reads only
// within the span.
Orientation exifOrientation(std::span<const std::uint8_t> exif);

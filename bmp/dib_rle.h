// Decoding of run-length compressed DIB data (8-bit and 4-bit schemes) into RGB rows.
#pragma once

#include <cstdint>

#include "bmp/dib_header.h"

// Decodes the stream in layout.pixelData into out (width * rows * 3 bytes, bottom row first).
// Pixels the stream skips stay black. A run or move past the end of its row or past the last
// row, or a stream that ends before its end marker, is a conversionError.
DibStatus decodeDibRle(const DibLayout& layout, std::uint8_t* out);

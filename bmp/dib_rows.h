// Depth conversion of uncompressed DIB rows into tightly packed RGB rows, bottom row first.
#pragma once

#include <cstdint>

#include "bmp/dib_header.h"

// Converts every row of layout.pixelData (1-, 4-, 8-bit palette, 16-bit 5-5-5, 24- or 32-bit)
// into out, which holds width * rows * 3 bytes. Top-down rows land in bottom-up order.
void convertDibRows(const DibLayout& layout, std::uint8_t* out);

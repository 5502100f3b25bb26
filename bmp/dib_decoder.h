// Decoding of a whole BMP file held in memory into an RgbImage, free of any file access, so
// the loader, the fuzz target and the tests share one path.
#pragma once

#include <cstdint>
#include <span>

#include "bmp/dib_header.h"
#include "bmp/dib_image.h"

// Returns a new image (record and pixels malloc'd, as loadDibImage's) with status ok, or null
// with the reason in status.
RgbImage* decodeDib(std::span<const std::uint8_t> file, DibStatus& status);

// Frees an image made by decodeDib or loadDibImage: its pixels, then the record.
void freeRgbImage(RgbImage* image);

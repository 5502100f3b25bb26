// BMP (device-independent bitmap) loading into tightly packed 24-bit RGB rows.
#pragma once

#include <cstdint>

struct RgbImage {
    std::int32_t width;
    std::int32_t height;
    unsigned char* pixels;  // width * height * 3 bytes, R G B, bottom row first, no padding
};

// Decodes the BMP file at fileName. On failure the reason is shown as an "Error" notice and
// null is returned. The record and its pixels are two malloc'd blocks: the caller frees
// pixels, then the record.
RgbImage* loadDibImage(const char* fileName);

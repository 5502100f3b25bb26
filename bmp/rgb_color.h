// One RGB colour as decoders store it, and the store of one output pixel: the palette
// entries of the BMP decoder and of the GIF decoder alike.
#pragma once

#include <cstdint>

struct RgbColor {
    std::uint8_t red, green, blue;
};

// Stores one output pixel: red, green, blue.
inline void putColor(std::uint8_t* out, const RgbColor& color) {
    out[0] = color.red;
    out[1] = color.green;
    out[2] = color.blue;
}

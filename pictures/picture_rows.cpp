// Per-pixel loops of the row conversions.
#include "pictures/picture_rows.h"

void compositeOverBlack(const std::uint8_t* rgba, std::uint8_t* rgb, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i, rgba += 4, rgb += 3) {
        const unsigned alpha = rgba[3];
        // c * a / 255 rounded to the nearest, without a division.
        for (int c = 0; c < 3; ++c) {
            const unsigned product = rgba[c] * alpha + 128;
            rgb[c] = static_cast<std::uint8_t>((product + (product >> 8)) >> 8);
        }
    }
}

void dropAlpha(const std::uint8_t* rgba, std::uint8_t* rgb, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i, rgba += 4, rgb += 3) {
        rgb[0] = rgba[0];
        rgb[1] = rgba[1];
        rgb[2] = rgba[2];
    }
}

// Row conversions shared by the decoders: alpha composited over black, rows flipped between
// top-first and bottom-first order.
#pragma once

#include <cstddef>
#include <cstdint>

// count RGBA pixels to RGB, each colour scaled by its alpha (black shows through).
void compositeOverBlack(const std::uint8_t* rgba, std::uint8_t* rgb, std::size_t count);

// count RGBA pixels whose colour is already scaled by alpha (premultiplied) to RGB.
void dropAlpha(const std::uint8_t* rgba, std::uint8_t* rgb, std::size_t count);

// Address of top-first row y in a bottom-first image of `height` rows of rowBytes each.
inline std::uint8_t* bottomFirstRow(std::uint8_t* pixels, std::size_t rowBytes,
                                    std::uint32_t height, std::uint32_t y) {
    return pixels + rowBytes * (height - 1 - y);
}

// Video frames kept as decoders make them: a plane of luma (Y) and two of chroma (U, V) at half
// its width and height, one byte a sample. They take less than half the memory traffic of RGBA
// on their way to the display, and the effects turn them into colours as they read them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

inline constexpr int kPlaneCount = 3;  // Y, U, V

// Where each plane and its mipmap levels (buildMipmapChain's layout, one byte a texel) lie in
// one frame buffer. Every plane is tight rows, bottom row first, as RGB frames are.
struct PlanarFrameLayout {
    std::array<int, kPlaneCount> width{}, height{};
    std::array<std::size_t, kPlaneCount> offset{};   // of the plane itself
    std::array<std::size_t, kPlaneCount> mipmaps{};  // of its levels below the first
    std::size_t bytes = 0;                           // of the whole frame
};

// Chroma planes are rounded up, as 4:2:0 video keeps its odd last column and row.
PlanarFrameLayout planarFrameLayout(int width, int height);

// How a frame's samples, as the texture reads them (0 to 1), become RGB: rgb = matrix * yuv +
// offset, then clamped. The matrix is in columns, as GL takes a mat3.
struct YuvColours {
    std::array<float, 9> matrix{};
    std::array<float, 3> offset{};
};

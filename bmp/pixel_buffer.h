// The output buffer of a decoded picture: one block that callers release with free(), laid
// out so that a large picture is backed by huge pages where the system offers them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

// Every block starts on a cache line, which vector loops writing whole lines rely on.
inline constexpr std::size_t kPixelBufferAlignment = 64;

// Returns byteCount uninitialised bytes, or null when memory runs out.
std::uint8_t* allocatePixels(std::size_t byteCount);

struct FreePixels {
    void operator()(std::uint8_t* pixels) const { std::free(pixels); }
};
// The same block owned: malloc'd, so a buffer made by the BMP decoder is taken over without a
// copy by the picture record and the frames.
using PixelBuffer = std::unique_ptr<std::uint8_t[], FreePixels>;

// Uninitialised bytes (at least one), or null when memory runs out (nothing here throws).
PixelBuffer allocatePixelBuffer(std::size_t byteCount);

// The output buffer of a decoded picture: one block that callers release with free(), laid
// out so that a large picture is backed by huge pages where the system offers them.
#pragma once

#include <cstddef>
#include <cstdint>

// Every block starts on a cache line, which vector loops writing whole lines rely on.
inline constexpr std::size_t kPixelBufferAlignment = 64;

// Returns byteCount uninitialised bytes, or null when memory runs out.
std::uint8_t* allocatePixels(std::size_t byteCount);

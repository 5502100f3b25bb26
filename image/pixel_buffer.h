// The output buffer of a decoded picture: one block that callers release with free(), laid
// out so that a large picture is backed by huge pages where the system offers them.
#pragma once

#include <cstddef>
#include <cstdint>

// Returns byteCount uninitialised bytes, or null when memory runs out.
std::uint8_t* allocatePixels(std::size_t byteCount);

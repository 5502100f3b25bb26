// The second peer decoder of the loader benchmark, behind one call so that only its own
// translation unit compiles the large peer source.
#pragma once

#include <cstddef>

// Decodes the BMP file at path into RGB rows (top row first) and returns their size in bytes,
// or 0 on failure. The file is mapped and handed over whole, the peer's fastest input.
std::size_t decodeWithWuffs(const char* path);

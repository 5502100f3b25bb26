// Reads a shader source file whole, so GL gets its bytes exactly as they are on disk.
#pragma once

#include <cstddef>
#include <memory>

// Largest shader file we read; anything bigger is treated like a file that cannot be opened,
// so a stray huge file cannot make start-up allocate without bound.
constexpr std::size_t kMaxShaderSourceBytes = 16u << 20;

// The file's bytes unchanged followed by one NUL, or null when the file cannot be opened
// (or is larger than kMaxShaderSourceBytes).
std::unique_ptr<char[]> readShaderSource(const char* fileName);

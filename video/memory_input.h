// Video bytes in memory read through libavformat as if they were a file, seeking included:
// the fuzz target and the tests open inputs this way.
#pragma once

#include <cstdint>
#include <span>

struct AVIOContext;

class MemoryInput {
  public:
    MemoryInput() = default;
    ~MemoryInput();
    MemoryInput(const MemoryInput&) = delete;
    MemoryInput& operator=(const MemoryInput&) = delete;

    // The reading context over bytes, or null when memory runs out. The bytes must outlive it.
    AVIOContext* open(std::span<const std::uint8_t> bytes);

  private:
    static int read(void* opaque, std::uint8_t* buffer, int size);
    static std::int64_t seek(void* opaque, std::int64_t offset, int whence);

    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
    AVIOContext* context_ = nullptr;
};

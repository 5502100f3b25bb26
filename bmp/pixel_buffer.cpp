// A fresh large buffer costs a page fault per 4 KiB page on first touch, more than the decoding
// itself; aligned to 2 MiB and advised, its faults come one per 2 MiB page instead.
#include "bmp/pixel_buffer.h"

#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {

constexpr std::size_t kHugePageSize = std::size_t{2} << 20;

// From this size on, the C library maps every block afresh and unmaps it when freed, so each
// load pays the first touch of every page. Smaller blocks come from memory freed earlier,
// whose pages are already there: aligning them would only cost address space.
constexpr std::size_t kHugePageMinimum = std::size_t{32} << 20;

}  // namespace

std::uint8_t* allocatePixels(std::size_t byteCount) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (byteCount >= kHugePageMinimum) {
        // Whole huge pages, so that the last one is not left to 4 KiB pages; the advice is a
        // hint and its failure changes nothing but speed.
        const std::size_t blockSize =
            (byteCount + kHugePageSize - 1) / kHugePageSize * kHugePageSize;
        void* block = nullptr;
        if (posix_memalign(&block, kHugePageSize, blockSize) != 0) return nullptr;
        madvise(block, blockSize, MADV_HUGEPAGE);
        return static_cast<std::uint8_t*>(block);
    }
#endif
    // Rows of a frame start on a cache line, as the vector code that fills them (video
    // conversion) wants: a block from plain malloc would start 16 bytes into one.
    void* block = nullptr;
    if (posix_memalign(&block, kPixelBufferAlignment, byteCount > 0 ? byteCount : 1) != 0)
        return nullptr;
    return static_cast<std::uint8_t*>(block);
}

PixelBuffer allocatePixelBuffer(std::size_t byteCount) {
    return PixelBuffer(allocatePixels(byteCount > 0 ? byteCount : 1));
}

// A fresh large buffer costs a page fault per 4 KiB page on first touch, more than the decoding
// itself; aligned to 2 MiB and advised, its faults come one per 2 MiB page instead.
#include "image/pixel_buffer.h"

#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {

constexpr std::size_t kHugePageSize = std::size_t{2} << 20;

// Below this the buffer fits in a few huge pages at most, and the alignment would waste a
// good share of the address space it takes.
constexpr std::size_t kHugePageMinimum = std::size_t{4} << 20;

}  // namespace

std::uint8_t* allocatePixels(std::size_t byteCount) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (byteCount >= kHugePageMinimum) {
        void* block = nullptr;
        if (posix_memalign(&block, kHugePageSize, byteCount) != 0) return nullptr;
        // Only whole huge pages inside the block are advised; the advice is a hint and its
        // failure changes nothing but speed.
        madvise(block, byteCount / kHugePageSize * kHugePageSize, MADV_HUGEPAGE);
        return static_cast<std::uint8_t*>(block);
    }
#endif
    return static_cast<std::uint8_t*>(std::malloc(byteCount));
}

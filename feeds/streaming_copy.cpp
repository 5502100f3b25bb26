// copyStreaming: large copies with non-temporal stores, so a frame on its way to another thread
// does not push the receiver's working set out of the cache; small ones by memcpy.
#include "feeds/streaming_copy.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Below this the partial cache lines at either end outweigh what streaming saves.
constexpr std::size_t kMinStreamedBytes = 256;

}  // namespace

void copyStreaming(std::uint8_t* to, const std::uint8_t* from, std::size_t bytes) {
#if defined(__SSE2__)
    if (bytes >= kMinStreamedBytes) {
        const std::size_t head = (16 - reinterpret_cast<std::uintptr_t>(to) % 16) % 16;
        std::memcpy(to, from, head);
        to += head, from += head, bytes -= head;
        for (; bytes >= 16; to += 16, from += 16, bytes -= 16) {
            _mm_stream_si128(reinterpret_cast<__m128i*>(to),
                             _mm_loadu_si128(reinterpret_cast<const __m128i*>(from)));
        }
    }
#endif
    std::memcpy(to, from, bytes);
}

void finishStreaming() {
#if defined(__SSE2__)
    _mm_sfence();
#endif
}

// Threads are started per picture: a few tens of microseconds against the milliseconds a
// picture above the threshold takes, and no pool outlives the load.
#include "bmp/row_bands.h"

#include <algorithm>

namespace {

// Below a few MB of output a picture converts in a few tenths of a millisecond on one core,
// where starting threads (and waiting for a busy core to run them) gains little or loses.
constexpr std::size_t kThreadedMinimum = std::size_t{4} << 20;

// Bands per thread: enough for a thread that falls behind to leave its share to the others,
// few enough that taking a band costs nothing against converting it.
constexpr unsigned kBandsPerThread = 16;

}  // namespace

RowBand rowBand(std::int32_t rows, unsigned parts, unsigned part) {
    const std::int32_t base = rows / static_cast<std::int32_t>(parts);
    const std::int32_t extra = rows % static_cast<std::int32_t>(parts);
    const std::int32_t index = static_cast<std::int32_t>(part);
    const std::int32_t first = base * index + std::min(index, extra);
    return {first, first + base + (index < extra ? 1 : 0)};
}

unsigned rowThreadCount(std::size_t outputBytes, std::int32_t rows) {
    if (outputBytes < kThreadedMinimum || rows < 2) return 1;
    return std::clamp(std::thread::hardware_concurrency(), 1u, kMaxRowThreads);
}

unsigned rowBandCount(std::int32_t rows, unsigned threads) {
    return static_cast<unsigned>(
        std::min<std::int64_t>(rows, std::int64_t{std::max(threads, 1u)} * kBandsPerThread));
}

// Threads are started per picture: a few tens of microseconds against the milliseconds a
// picture above the threshold takes, and no pool outlives the load.
#include "image/row_bands.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

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
    return std::max(1u, std::thread::hardware_concurrency());
}

void runInRowBands(std::int32_t rows, unsigned threads, const std::function<void(RowBand)>& work) {
    const unsigned parts = static_cast<unsigned>(
        std::min<std::int64_t>(rows, std::int64_t{threads} * kBandsPerThread));
    std::atomic<unsigned> next{0};
    const auto takeBands = [&] {
        for (unsigned part = next++; part < parts; part = next++) work(rowBand(rows, parts, part));
    };
    std::vector<std::thread> started;
    started.reserve(threads);
    for (unsigned i = 1; i < threads; ++i) {
        try {
            started.emplace_back(takeBands);
        } catch (const std::system_error&) {
            break;  // the threads already started and this one share the bands
        }
    }
    takeBands();
    for (std::thread& thread : started) thread.join();
}

// Threads are started per picture: a few tens of microseconds against the milliseconds a
// picture above the threshold takes, and no pool outlives the load.
#include "image/row_bands.h"

#include <algorithm>
#include <system_error>
#include <thread>
#include <vector>

namespace {

// Below about 1 MB of output a picture converts in well under a millisecond, where starting
// threads gains little and competes with whatever else the program is doing.
constexpr std::size_t kBandedMinimum = std::size_t{512} << 10;

}  // namespace

RowBand rowBand(std::int32_t rows, unsigned parts, unsigned part) {
    const std::int32_t base = rows / static_cast<std::int32_t>(parts);
    const std::int32_t extra = rows % static_cast<std::int32_t>(parts);
    const std::int32_t index = static_cast<std::int32_t>(part);
    const std::int32_t first = base * index + std::min(index, extra);
    return {first, first + base + (index < extra ? 1 : 0)};
}

unsigned rowBandCount(std::size_t outputBytes, std::int32_t rows) {
    if (outputBytes < kBandedMinimum || rows < 2) return 1;
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    return std::min(cores, static_cast<unsigned>(rows));
}

void runInRowBands(std::int32_t rows, unsigned parts, const std::function<void(RowBand)>& work) {
    std::vector<std::thread> threads;
    threads.reserve(parts);
    for (unsigned part = 1; part < parts; ++part) {
        const RowBand band = rowBand(rows, parts, part);
        try {
            threads.emplace_back(work, band);
        } catch (const std::system_error&) {
            work(band);
        }
    }
    work(rowBand(rows, parts, 0));
    for (std::thread& thread : threads) thread.join();
}

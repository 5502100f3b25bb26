// Splitting of a picture's rows into bands converted side by side, so that a large picture
// uses every core while a small one stays on the calling thread.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <thread>

// Rows [first, end) of one band.
struct RowBand {
    std::int32_t first = 0;
    std::int32_t end = 0;
};

// At most this many threads convert one picture.
constexpr unsigned kMaxRowThreads = 64;

// Band `part` of `parts` bands over `rows` rows, in order and without gaps: every band holds
// rows / parts rows, and the first rows % parts bands one more.
RowBand rowBand(std::int32_t rows, unsigned parts, unsigned part);

// How many threads convert a picture with this many output bytes and rows: one for a small
// picture, else one per core (at most kMaxRowThreads).
unsigned rowThreadCount(std::size_t outputBytes, std::int32_t rows);

// How many bands runInRowBands splits `rows` rows into for `threads` threads.
unsigned rowBandCount(std::int32_t rows, unsigned threads);

// Runs work(RowBand) once on every band of rows, all bands together covering [0, rows) once,
// on `threads` threads: the calling thread and others started for the call (fewer, down to
// none, when they cannot be started; nothing here throws). Threads take bands in turn, so one
// that starts late or runs on a busy core takes fewer. Returns when all bands are done.
template <typename Work>
void runInRowBands(std::int32_t rows, unsigned threads, const Work& work) {
    const unsigned parts = rowBandCount(rows, threads);
    std::atomic<unsigned> next{0};
    const auto takeBands = [&] {
        for (unsigned part = next++; part < parts; part = next++) work(rowBand(rows, parts, part));
    };
    std::array<std::thread, kMaxRowThreads> started;
    unsigned startedCount = 0;
    for (; startedCount + 1 < threads && startedCount + 1 < kMaxRowThreads; ++startedCount) {
        try {
            started[startedCount] = std::thread(takeBands);
        } catch (const std::exception&) {
            break;  // the threads already started and this one share the bands
        }
    }
    takeBands();
    for (unsigned i = 0; i < startedCount; ++i) started[i].join();
}

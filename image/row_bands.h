// Splitting of a picture's rows into bands converted side by side, so that a large picture
// uses every core while a small one stays on the calling thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

// Rows [first, end) of one band.
struct RowBand {
    std::int32_t first = 0;
    std::int32_t end = 0;
};

// Band `part` of `parts` bands over `rows` rows, in order and without gaps: every band holds
// rows / parts rows, and the first rows % parts bands one more.
RowBand rowBand(std::int32_t rows, unsigned parts, unsigned part);

// How many threads convert a picture with this many output bytes and rows: one for a small
// picture, else one per core.
unsigned rowThreadCount(std::size_t outputBytes, std::int32_t rows);

// Runs work once on every band of rows, all bands together covering [0, rows) once, on
// `threads` threads: the calling thread and others started for the call (or none, when no
// thread can be started). Threads take bands in turn, so one that starts late or runs on a
// busy core takes fewer. Returns when all bands are done.
void runInRowBands(std::int32_t rows, unsigned threads, const std::function<void(RowBand)>& work);

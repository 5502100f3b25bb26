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

// How many bands a picture with this many output bytes and rows is converted in: one for a
// small picture, else one per core, never more than its rows.
unsigned rowBandCount(std::size_t outputBytes, std::int32_t rows);

// Runs work on each of `parts` bands: the first on the calling thread, the others on threads
// of their own (or on the calling thread when no thread can be started). Returns when all
// bands are done.
void runInRowBands(std::int32_t rows, unsigned parts, const std::function<void(RowBand)>& work);

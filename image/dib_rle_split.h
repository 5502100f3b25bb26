// Splitting of a run-length stream into parts that decode side by side: a short pass finds
// where the line ends of chosen rows lie, so that each part starts at the start of a row.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// A part of the stream: it starts at byte `position`, with the cursor at the start of `row`.
struct RleSplit {
    std::size_t position = 0;
    std::int32_t row = 0;
};

// Finds, for each splits[k].row (given, rising, above 0), the position just after the line end
// that ends row splits[k].row - 1. Succeeds only when the stream up to the last of them is plain:
// encoded and literal runs (with their data inside the stream) and line ends, no move and no end
// of bitmap; a line end then leaves the cursor at the start of the next row, whatever the runs
// hold. Runs are not checked against the width here.
bool findRleSplits(std::span<const std::uint8_t> stream, unsigned bitsPerPixel,
                   std::span<RleSplit> splits);

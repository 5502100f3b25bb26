// The loader benchmark's pictures: every depth and compression the loader reads, odd widths,
// bottom-up and top-down, at about 1, 10 and 100 MB of RGB output, written to /tmp.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct BenchPicture {
    std::string name;  // kind and size, as the benchmark names it
    std::string path;
    std::size_t outputBytes = 0;  // width * rows * 3
};

// Writes every picture once per process (a few seconds for the largest) and lists them, kinds
// in the outer order, sizes from small to large within a kind.
const std::vector<BenchPicture>& benchPictures();

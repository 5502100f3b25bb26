// The cell-size rule of content of arbitrary size, from its longer side.
#include "app/core/content_cell_size.h"

#include <algorithm>

namespace {

// Where the step grows past 1: below it a step of one pixel is at least 5% of the cell.
constexpr int kStepsToStartingSize = 10;

int ceilDivide(long long a, long long b) {
    return static_cast<int>((a + b - 1) / b);
}

// The starting size before it is rounded to the step.
int unroundedStartingSize(int width, int height) {
    const int longer = std::max({width, height, 1});
    return ceilDivide(longer, kStartingLedsAlongLongerSide);
}

}  // namespace

PictureInfo contentPictureInfo(int width, int height) {
    const int step = std::max(1, unroundedStartingSize(width, height) / kStepsToStartingSize);
    return {step, width, height};
}

int contentStartingPixelSize(const PictureInfo& info) {
    const int step = std::max(info.step, 1);
    const int size = step * ceilDivide(unroundedStartingSize(info.width, info.height), step);
    const int smaller = std::min(info.width, info.height);
    if (size <= smaller) return size;
    return std::max(step, smaller / step * step);
}

int largestPictureReduction(int width, int height) {
    constexpr int kDecodedPixelsPerCell = 2;
    const int cell = contentStartingPixelSize(contentPictureInfo(width, height));
    int reduction = 1;
    while (reduction < 8 && reduction * 2 * kDecodedPixelsPerCell <= cell) reduction *= 2;
    return reduction;
}

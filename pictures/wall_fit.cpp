// Two one-axis passes of the area filter, as areaScale has them, over a rectangle of the
// source and into a rectangle of the wall: they enlarge as well as shrink, each LED the mean
// of the content it covers.
#include "pictures/wall_fit.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "pictures/picture_scale.h"

namespace {

// The length of `side` at `scale`, whole, from 1 to `limit`.
int scaledSide(int side, double scale, int limit) {
    return std::clamp(static_cast<int>(std::lround(side * scale)), 1, limit);
}

}  // namespace

WallFitRects wallFitRects(int sourceWidth, int sourceHeight, int wallWidth, int wallHeight,
                          WallFit fit) {
    WallFitRects rects{{0, 0, sourceWidth, sourceHeight}, {0, 0, wallWidth, wallHeight}};
    const double across = double(wallWidth) / sourceWidth, up = double(wallHeight) / sourceHeight;
    if (fit == WallFit::contain) {
        const double scale = std::min(across, up);
        rects.wall.width = scaledSide(sourceWidth, scale, wallWidth);
        rects.wall.height = scaledSide(sourceHeight, scale, wallHeight);
        rects.wall.x = (wallWidth - rects.wall.width) / 2;
        rects.wall.y = (wallHeight - rects.wall.height) / 2;
    } else if (fit == WallFit::cover) {
        const double scale = std::max(across, up);
        rects.source.width = scaledSide(wallWidth, 1 / scale, sourceWidth);
        rects.source.height = scaledSide(wallHeight, 1 / scale, sourceHeight);
        rects.source.x = (sourceWidth - rects.source.width) / 2;
        rects.source.y = (sourceHeight - rects.source.height) / 2;
    }
    return rects;
}

namespace {

// One axis's footprints laid out flat, so the inner loops walk plain arrays.
struct FlatFootprints {
    std::vector<int> first, count, offset;
    std::vector<float> weights;
    explicit FlatFootprints(const std::vector<AreaFootprint>& footprints) {
        for (const AreaFootprint& footprint : footprints) {
            first.push_back(footprint.first);
            count.push_back(static_cast<int>(footprint.weights.size()));
            offset.push_back(static_cast<int>(weights.size()));
            weights.insert(weights.end(), footprint.weights.begin(), footprint.weights.end());
        }
    }
};

// A source row of `in` bytes a pixel narrowed to the wall's columns, `out` floats a column.
template <int in, int out>
void narrowRow(const std::uint8_t* line, const FlatFootprints& columns, float* result) {
    const std::size_t count = columns.first.size();
    for (std::size_t c = 0; c < count; ++c) {
        const std::uint8_t* pixel = line + std::size_t(in) * columns.first[c];
        const float* weight = columns.weights.data() + columns.offset[c];
        float sums[out] = {};
        for (int k = 0; k < columns.count[c]; ++k, pixel += in)
            for (int channel = 0; channel < out; ++channel)
                sums[channel] += weight[k] * pixel[channel];
        for (int channel = 0; channel < out; ++channel) *result++ = sums[channel];
    }
}

// The source rectangle of `rects` scaled into the wall's rectangle; the rest left as it is.
template <int in, int out>
void fitRect(const std::uint8_t* pixels, int sourceWidth, const WallFitRects& rects, int wallWidth,
             std::uint8_t* wall) {
    const PixelRect& from = rects.source;
    const PixelRect& to = rects.wall;
    const FlatFootprints columns(areaFootprints(from.width, to.width));
    const std::vector<AreaFootprint> rows = areaFootprints(from.height, to.height);
    const std::size_t sourceRowBytes = std::size_t(in) * sourceWidth;
    const std::size_t rowFloats = std::size_t(out) * to.width;
    std::vector<float> narrowed(rowFloats), sum(rowFloats);
    int narrowedRow = -1;  // a source row on a boundary serves two wall rows; narrow it once
    for (int r = 0; r < to.height; ++r) {
        const AreaFootprint& row = rows[std::size_t(r)];
        std::fill(sum.begin(), sum.end(), 0.0f);
        for (std::size_t i = 0; i < row.weights.size(); ++i) {
            const int y = from.y + row.first + static_cast<int>(i);
            if (y != narrowedRow) {
                narrowRow<in, out>(pixels + sourceRowBytes * y + std::size_t(in) * from.x, columns,
                                   narrowed.data());
                narrowedRow = y;
            }
            const float weight = row.weights[i];
            float* total = sum.data();
            const float* part = narrowed.data();
            for (std::size_t k = 0; k < rowFloats; ++k) total[k] += weight * part[k];
        }
        std::uint8_t* result = wall + (std::size_t(to.y + r) * wallWidth + to.x) * out;
        for (float value : sum)
            *result++ = static_cast<std::uint8_t>(std::clamp(value + 0.5f, 0.0f, 255.0f));
    }
}

}  // namespace

void fitToWall(const std::uint8_t* pixels, int channels, int sourceWidth, int sourceHeight,
               int wallWidth, int wallHeight, WallFit fit, std::uint8_t* wallRgb) {
    std::memset(wallRgb, 0, std::size_t(3) * wallWidth * wallHeight);
    const WallFitRects rects = wallFitRects(sourceWidth, sourceHeight, wallWidth, wallHeight, fit);
    if (channels == 4)
        fitRect<4, 3>(pixels, sourceWidth, rects, wallWidth, wallRgb);
    else
        fitRect<3, 3>(pixels, sourceWidth, rects, wallWidth, wallRgb);
}

void fitPlaneToWall(const std::uint8_t* plane, int sourceWidth, int sourceHeight, int wallWidth,
                    int wallHeight, WallFit fit, std::uint8_t unlit, std::uint8_t* wallPlane) {
    std::memset(wallPlane, unlit, std::size_t(wallWidth) * wallHeight);
    const WallFitRects rects = wallFitRects(sourceWidth, sourceHeight, wallWidth, wallHeight, fit);
    fitRect<1, 1>(plane, sourceWidth, rects, wallWidth, wallPlane);
}

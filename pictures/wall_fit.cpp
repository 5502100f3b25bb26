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

void fitToWall(const std::uint8_t* pixels, int channels, int sourceWidth, int sourceHeight,
               int wallWidth, int wallHeight, WallFit fit, std::uint8_t* wallRgb) {
    std::memset(wallRgb, 0, std::size_t(3) * wallWidth * wallHeight);
    const WallFitRects rects = wallFitRects(sourceWidth, sourceHeight, wallWidth, wallHeight, fit);
    const PixelRect& from = rects.source;
    const PixelRect& to = rects.wall;
    const std::vector<AreaFootprint> columns = areaFootprints(from.width, to.width);
    const std::vector<AreaFootprint> rows = areaFootprints(from.height, to.height);
    const std::size_t sourceRowBytes = std::size_t(channels) * sourceWidth;
    const std::size_t rowFloats = std::size_t(3) * to.width;
    std::vector<float> narrowed(rowFloats), sum(rowFloats);
    int narrowedRow = -1;  // a source row on a boundary serves two wall rows; narrow it once
    for (int r = 0; r < to.height; ++r) {
        const AreaFootprint& row = rows[std::size_t(r)];
        std::fill(sum.begin(), sum.end(), 0.0f);
        for (std::size_t i = 0; i < row.weights.size(); ++i) {
            const int y = from.y + row.first + static_cast<int>(i);
            if (y != narrowedRow) {
                const std::uint8_t* line =
                    pixels + sourceRowBytes * y + std::size_t(channels) * from.x;
                float* out = narrowed.data();
                for (const AreaFootprint& column : columns) {
                    const std::uint8_t* pixel = line + std::size_t(channels) * column.first;
                    float red = 0, green = 0, blue = 0;
                    for (float weight : column.weights) {
                        red += weight * pixel[0];
                        green += weight * pixel[1];
                        blue += weight * pixel[2];
                        pixel += channels;
                    }
                    *out++ = red;
                    *out++ = green;
                    *out++ = blue;
                }
                narrowedRow = y;
            }
            const float weight = row.weights[i];
            for (std::size_t k = 0; k < rowFloats; ++k) sum[k] += weight * narrowed[k];
        }
        std::uint8_t* out = wallRgb + (std::size_t(to.y + r) * wallWidth + to.x) * 3;
        for (float value : sum)
            *out++ = static_cast<std::uint8_t>(std::clamp(value + 0.5f, 0.0f, 255.0f));
    }
}

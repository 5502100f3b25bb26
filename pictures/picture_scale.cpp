// The area filter as two one-axis passes (a row is narrowed once, then rows are blended), which
// give the same means as one two-dimensional pass.
#include "pictures/picture_scale.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

void narrowRow(const std::uint8_t* row, const std::vector<AreaFootprint>& columns, float* out) {
    for (const AreaFootprint& column : columns) {
        const std::uint8_t* pixel = row + std::size_t{3} * column.first;
        float r = 0, g = 0, b = 0;
        for (float weight : column.weights) {
            r += weight * pixel[0];
            g += weight * pixel[1];
            b += weight * pixel[2];
            pixel += 3;
        }
        *out++ = r;
        *out++ = g;
        *out++ = b;
    }
}

}  // namespace

std::vector<AreaFootprint> areaFootprints(int sourceSize, int targetSize) {
    std::vector<AreaFootprint> result(static_cast<std::size_t>(targetSize));
    const double ratio = static_cast<double>(sourceSize) / targetSize;
    for (int t = 0; t < targetSize; ++t) {
        const double begin = t * ratio, end = (t + 1) * ratio;
        AreaFootprint& footprint = result[static_cast<std::size_t>(t)];
        footprint.first = static_cast<int>(std::floor(begin));
        for (int s = footprint.first; s < sourceSize && s < end; ++s) {
            const double covered = std::min<double>(end, s + 1) - std::max<double>(begin, s);
            footprint.weights.push_back(static_cast<float>(covered / ratio));
        }
    }
    return result;
}

PictureSize fittedSize(PictureSize size, int maxSide) {
    if (maxSide < 1 || (size.width <= maxSide && size.height <= maxSide)) return size;
    const double scale = std::min(static_cast<double>(maxSide) / size.width,
                                  static_cast<double>(maxSide) / size.height);
    const auto side = [&](std::int32_t length) {
        return std::clamp(static_cast<std::int32_t>(std::floor(length * scale)), 1,
                          std::min(length, maxSide));
    };
    return {side(size.width), side(size.height)};
}

PixelBuffer areaScale(const std::uint8_t* rgb, PictureSize source, PictureSize target) {
    PixelBuffer result = allocatePixelBuffer(std::size_t{3} * target.width * target.height);
    if (!result) return result;
    const std::vector<AreaFootprint> columns = areaFootprints(source.width, target.width);
    const std::vector<AreaFootprint> rows = areaFootprints(source.height, target.height);
    const std::size_t sourceRowBytes = std::size_t{3} * source.width;
    const std::size_t targetRowFloats = std::size_t{3} * target.width;
    std::vector<float> narrowed(targetRowFloats), sum(targetRowFloats);
    int narrowedRow = -1;  // rows on a boundary serve two target rows; narrow them once
    std::uint8_t* out = result.get();
    for (const AreaFootprint& row : rows) {
        std::fill(sum.begin(), sum.end(), 0.0f);
        for (std::size_t i = 0; i < row.weights.size(); ++i) {
            const int y = row.first + static_cast<int>(i);
            if (y != narrowedRow) {
                narrowRow(rgb + sourceRowBytes * y, columns, narrowed.data());
                narrowedRow = y;
            }
            for (std::size_t k = 0; k < targetRowFloats; ++k)
                sum[k] += row.weights[i] * narrowed[k];
        }
        for (float value : sum)
            *out++ = static_cast<std::uint8_t>(std::clamp(value + 0.5f, 0.0f, 255.0f));
    }
    return result;
}

bool fitPicture(Picture& picture, int maxSide) {
    const PictureSize source{picture.width, picture.height};
    const PictureSize target = fittedSize(source, maxSide);
    if (target.width == source.width && target.height == source.height) return true;
    std::vector<PixelBuffer> scaled;
    for (const PictureFrame& frame : picture.frames) {
        scaled.push_back(areaScale(frame.pixels.get(), source, target));
        if (!scaled.back()) return false;
    }
    for (std::size_t i = 0; i < scaled.size(); ++i) picture.frames[i].pixels = std::move(scaled[i]);
    picture.width = target.width;
    picture.height = target.height;
    return true;
}

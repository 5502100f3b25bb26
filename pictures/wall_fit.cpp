// Two one-axis passes of the area filter, as areaScale has them, over a rectangle of the
// source and into a rectangle of the wall: they enlarge as well as shrink, each LED the mean
// of the content it covers.
#include "pictures/wall_fit.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "pictures/picture_scale.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// The whole number of source pixels an LED takes along both sides when it is the same for both
// (1080p on a 960 x 540 wall: 2), else 0.
int wholeRatio(const WallFitRects& rects) {
    const PixelRect &from = rects.source, &to = rects.wall;
    if (to.width <= 0 || from.width % to.width != 0) return 0;
    const int ratio = from.width / to.width;
    return ratio >= 1 && from.height == ratio * to.height ? ratio : 0;
}

// The area filter where each LED covers `ratio` x `ratio` whole pixels: their plain mean, in
// integers (the same means as the weighted passes, without their cost). A ratio known when
// compiled (the common halving) lets the compiler unroll the inner loops.
template <int in, int out, int fixedRatio = 0>
void fitWholeRatio(const std::uint8_t* pixels, int sourceWidth, const WallFitRects& rects,
                   int ratio, int wallWidth, std::uint8_t* wall) {
    if constexpr (fixedRatio > 0) ratio = fixedRatio;
    const PixelRect &from = rects.source, &to = rects.wall;
    const std::size_t sourceRowBytes = std::size_t(in) * sourceWidth;
    const unsigned area = unsigned(ratio * ratio);
    std::vector<unsigned> sums(static_cast<std::size_t>(out) * to.width);
    for (int r = 0; r < to.height; ++r) {
        std::fill(sums.begin(), sums.end(), 0u);
        for (int k = 0; k < ratio; ++k) {
            const std::uint8_t* pixel =
                pixels + sourceRowBytes * (from.y + r * ratio + k) + std::size_t(in) * from.x;
            unsigned* sum = sums.data();
            for (int c = 0; c < to.width; ++c, sum += out)
                for (int i = 0; i < ratio; ++i, pixel += in)
                    for (int channel = 0; channel < out; ++channel) sum[channel] += pixel[channel];
        }
        std::uint8_t* result = wall + (std::size_t(to.y + r) * wallWidth + to.x) * out;
        for (unsigned sum : sums) *result++ = std::uint8_t((sum + area / 2) / area);
    }
}

// One plane halved each way (a video's 1080p planes on a 960 x 540 wall): each sample the
// rounded mean of its 2 x 2, as fitWholeRatio gives it, sixteen at a time with SSE2.
void halvePlane(const std::uint8_t* plane, int sourceWidth, const WallFitRects& rects,
                int wallWidth, std::uint8_t* wall) {
    const PixelRect &from = rects.source, &to = rects.wall;
    int wide = 0;  // samples done sixteen at a time
#if defined(__SSE2__)
    wide = to.width / 16 * 16;
#endif
    for (int r = 0; r < to.height; ++r) {
        const std::uint8_t* below =
            plane + std::size_t(sourceWidth) * (from.y + 2 * r) + std::size_t(from.x);
        const std::uint8_t* above = below + sourceWidth;
        std::uint8_t* result = wall + std::size_t(to.y + r) * wallWidth + to.x;
#if defined(__SSE2__)
        const __m128i lowBytes = _mm_set1_epi16(0x00ff), two = _mm_set1_epi16(2);
        for (int c = 0; c < wide; c += 16) {
            __m128i sums[2];
            for (int half = 0; half < 2; ++half) {
                const int at = 2 * c + 16 * half;
                const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(below + at));
                const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(above + at));
                const __m128i pairs =
                    _mm_add_epi16(_mm_add_epi16(_mm_and_si128(a, lowBytes), _mm_srli_epi16(a, 8)),
                                  _mm_add_epi16(_mm_and_si128(b, lowBytes), _mm_srli_epi16(b, 8)));
                sums[half] = _mm_srli_epi16(_mm_add_epi16(pairs, two), 2);
            }
            _mm_storeu_si128(reinterpret_cast<__m128i*>(result + c),
                             _mm_packus_epi16(sums[0], sums[1]));
        }
#endif
        for (int c = wide; c < to.width; ++c) {
            const unsigned sum =
                unsigned(below[2 * c]) + below[2 * c + 1] + above[2 * c] + above[2 * c + 1];
            result[c] = std::uint8_t((sum + 2) / 4);
        }
    }
}

// The source rectangle of `rects` scaled into the wall's rectangle; the rest left as it is.
template <int in, int out>
void fitRect(const std::uint8_t* pixels, int sourceWidth, const WallFitRects& rects, int wallWidth,
             std::uint8_t* wall) {
    if (const int ratio = wholeRatio(rects); ratio > 0) {
        if (ratio == 2 && in == 1 && out == 1)
            halvePlane(pixels, sourceWidth, rects, wallWidth, wall);
        else if (ratio == 2)
            fitWholeRatio<in, out, 2>(pixels, sourceWidth, rects, ratio, wallWidth, wall);
        else
            fitWholeRatio<in, out>(pixels, sourceWidth, rects, ratio, wallWidth, wall);
        return;
    }
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

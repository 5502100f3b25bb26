// The mipmap levels of a frame worked out on the CPU: each texel the rounded mean of 2 x 2
// texels of the level above (a row or column taken twice where that level is one texel high or
// wide), with vector paths for RGBA and one-byte texels chosen at run time.
#include "frames/mipmap_chain.h"

#include <algorithm>

#ifdef __SSE2__
#include <immintrin.h>
#endif

int mipmapSide(int side, int level) {
    return std::max(side >> level, 1);
}

int mipmapLevelCount(int width, int height) {
    int levels = 0;
    while (mipmapSide(width, levels) > 1 || mipmapSide(height, levels) > 1) ++levels;
    return levels;
}

std::size_t mipmapChainBytes(int width, int height, int channels) {
    std::size_t bytes = 0;
    for (int level = 1; level <= mipmapLevelCount(width, height); ++level)
        bytes += std::size_t(channels) * mipmapSide(width, level) * mipmapSide(height, level);
    return bytes;
}

namespace {

struct LevelRows {
    const std::uint8_t* top;
    const std::uint8_t* bottom;  // the row below top, or top again when the level above has one
    int step;                    // bytes from one texel pair to the next: 0 when the level above
                                 // is one texel wide, so its texels are taken twice
};

void halveTexels(const LevelRows& rows, int from, int to, int channels, std::uint8_t* out) {
    const int dx = rows.step / 2;
    for (int x = from; x < to; ++x) {
        const std::uint8_t* a = rows.top + std::size_t(rows.step) * x;
        const std::uint8_t* b = rows.bottom + std::size_t(rows.step) * x;
        for (int c = 0; c < channels; ++c)
            out[channels * x + c] =
                static_cast<std::uint8_t>((a[c] + a[c + dx] + b[c] + b[c + dx] + 2) >> 2);
    }
}

// Four-byte texels eight at a time where AVX2 is there, two at a time with SSE2: the whole cost
// of a level for video frames, which are RGBA. Gives how many texels of the row it wrote.
#ifdef __SSE2__
__attribute__((target("avx2"))) int halveRgbaEights(const LevelRows& rows, int width,
                                                    std::uint8_t* out) {
    const __m256i zero = _mm256_setzero_si256(), two = _mm256_set1_epi16(2);
    int x = 0;
    for (; x + 4 <= width; x += 4) {
        const __m256i top = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rows.top + 8 * x));
        const __m256i bottom =
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rows.bottom + 8 * x));
        // Per 128-bit lane: texels 0 and 1 of the lane's pairs low, texels 2 and 3 high.
        const __m256i low =
            _mm256_add_epi16(_mm256_unpacklo_epi8(top, zero), _mm256_unpacklo_epi8(bottom, zero));
        const __m256i high =
            _mm256_add_epi16(_mm256_unpackhi_epi8(top, zero), _mm256_unpackhi_epi8(bottom, zero));
        const __m256i sums =
            _mm256_add_epi16(_mm256_unpacklo_epi64(low, high), _mm256_unpackhi_epi64(low, high));
        const __m256i means = _mm256_srli_epi16(_mm256_add_epi16(sums, two), 2);
        // Each lane's two texels sit in its low eight bytes: gather them into the low half.
        const __m256i packed = _mm256_permute4x64_epi64(_mm256_packus_epi16(means, zero), 0b1000);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * x), _mm256_castsi256_si128(packed));
    }
    return x;
}
#endif

int halveRgbaPairs(const LevelRows& rows, int width, std::uint8_t* out) {
#ifdef __SSE2__
    if (rows.step != 8) return 0;
    static const bool avx2 = __builtin_cpu_supports("avx2");
    int x = avx2 ? halveRgbaEights(rows, width, out) : 0;
    const __m128i zero = _mm_setzero_si128(), two = _mm_set1_epi16(2);
    for (; x + 2 <= width; x += 2) {
        const __m128i top = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows.top + 8 * x));
        const __m128i bottom =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows.bottom + 8 * x));
        // Texels 0 and 1 of the pairs in the low half, texels 2 and 3 in the high half.
        const __m128i low =
            _mm_add_epi16(_mm_unpacklo_epi8(top, zero), _mm_unpacklo_epi8(bottom, zero));
        const __m128i high =
            _mm_add_epi16(_mm_unpackhi_epi8(top, zero), _mm_unpackhi_epi8(bottom, zero));
        const __m128i sums =
            _mm_add_epi16(_mm_unpacklo_epi64(low, high), _mm_unpackhi_epi64(low, high));
        const __m128i means = _mm_srli_epi16(_mm_add_epi16(sums, two), 2);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 4 * x), _mm_packus_epi16(means, zero));
    }
    return x;
#else
    (void)rows;
    (void)width;
    (void)out;
    return 0;
#endif
}

// One-byte texels (the planes of a video frame) sixteen at a time where AVX2 is there, eight
// at a time with SSE2: each 16-bit lane of a row holds a pair, split into its even and odd byte.
#ifdef __SSE2__
__attribute__((target("avx2"))) inline __m256i bytePairSums(const std::uint8_t* at) {
    const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
    return _mm256_add_epi16(_mm256_and_si256(bytes, _mm256_set1_epi16(0xFF)),
                            _mm256_srli_epi16(bytes, 8));
}

__attribute__((target("avx2"))) int halveByteSixteens(const LevelRows& rows, int width,
                                                      std::uint8_t* out) {
    const __m256i two = _mm256_set1_epi16(2);
    int x = 0;
    for (; x + 16 <= width; x += 16) {
        const __m256i sums =
            _mm256_add_epi16(bytePairSums(rows.top + 2 * x), bytePairSums(rows.bottom + 2 * x));
        const __m256i means = _mm256_srli_epi16(_mm256_add_epi16(sums, two), 2);
        // Each lane's eight means sit in its low eight bytes: gather them into the low half.
        const __m256i packed = _mm256_permute4x64_epi64(_mm256_packus_epi16(means, means), 0b1000);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm256_castsi256_si128(packed));
    }
    return x;
}
#endif

int halveBytePairs(const LevelRows& rows, int width, std::uint8_t* out) {
#ifdef __SSE2__
    if (rows.step != 2) return 0;
    static const bool avx2 = __builtin_cpu_supports("avx2");
    int x = avx2 ? halveByteSixteens(rows, width, out) : 0;
    const __m128i low = _mm_set1_epi16(0xFF), two = _mm_set1_epi16(2);
    const auto pairSums = [&low](const std::uint8_t* at) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        return _mm_add_epi16(_mm_and_si128(bytes, low), _mm_srli_epi16(bytes, 8));
    };
    for (; x + 8 <= width; x += 8) {
        const __m128i sums =
            _mm_add_epi16(pairSums(rows.top + 2 * x), pairSums(rows.bottom + 2 * x));
        const __m128i means = _mm_srli_epi16(_mm_add_epi16(sums, two), 2);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + x), _mm_packus_epi16(means, means));
    }
    return x;
#else
    (void)rows;
    (void)width;
    (void)out;
    return 0;
#endif
}

// Row y of a level from the level above.
void halveRow(const std::uint8_t* above, int aboveWidth, int aboveHeight, std::uint8_t* below,
              int width, int y, int channels) {
    const std::size_t aboveStride = std::size_t(channels) * aboveWidth;
    LevelRows rows;
    rows.top = above + std::size_t(aboveHeight > 1 ? 2 * y : y) * aboveStride;
    rows.bottom = rows.top + (aboveHeight > 1 ? aboveStride : 0);
    rows.step = aboveWidth > 1 ? 2 * channels : 0;
    std::uint8_t* out = below + std::size_t(channels) * width * y;
    const int done = channels == 4   ? halveRgbaPairs(rows, width, out)
                     : channels == 1 ? halveBytePairs(rows, width, out)
                                     : 0;
    halveTexels(rows, done, width, channels, out);
}

// Levels 2 and down, from level 1.
void buildLowerLevels(std::uint8_t* levelOne, int width, int height, int channels) {
    const std::uint8_t* above = levelOne;
    int aboveWidth = mipmapSide(width, 1), aboveHeight = mipmapSide(height, 1);
    std::uint8_t* below = levelOne + std::size_t(channels) * aboveWidth * aboveHeight;
    for (int level = 2; level <= mipmapLevelCount(width, height); ++level) {
        const int levelWidth = mipmapSide(width, level), levelHeight = mipmapSide(height, level);
        for (int y = 0; y < levelHeight; ++y)
            halveRow(above, aboveWidth, aboveHeight, below, levelWidth, y, channels);
        above = below;
        aboveWidth = levelWidth;
        aboveHeight = levelHeight;
        below += std::size_t(channels) * levelWidth * levelHeight;
    }
}

}  // namespace

void buildMipmapChain(const std::uint8_t* pixels, int width, int height, std::uint8_t* chain,
                      int channels) {
    MipmapChainWriter writer(pixels, width, height, chain, channels);
    writer.finish();
}

MipmapChainWriter::MipmapChainWriter(const std::uint8_t* pixels, int width, int height,
                                     std::uint8_t* chain, int channels)
    : pixels_(pixels),
      chain_(chain),
      width_(width),
      height_(height),
      channels_(channels),
      nextRow_(topRow()) {}

int MipmapChainWriter::topRow() const {
    return mipmapLevelCount(width_, height_) > 0 ? mipmapSide(height_, 1) - 1 : -1;
}

void MipmapChainWriter::rowsDone(int firstRow, int rowCount) {
    if (firstRow + rowCount >= height_) nextRow_ = topRow();
    const int levelWidth = mipmapSide(width_, 1);
    // Row y of level 1 needs rows 2y and 2y + 1 (or row 0 alone of a picture one row high).
    while (nextRow_ >= 0 && (height_ > 1 ? 2 * nextRow_ : nextRow_) >= firstRow) {
        halveRow(pixels_, width_, height_, chain_, levelWidth, nextRow_, channels_);
        --nextRow_;
    }
}

void MipmapChainWriter::finish() {
    if (nextRow_ >= 0) rowsDone(0, 1);
    if (mipmapLevelCount(width_, height_) > 1) buildLowerLevels(chain_, width_, height_, channels_);
}

// The vector paths of the row converters and of the run-length decoder against the pixels
// each depth defines, at every row length around their steps (4, 8 and 64 pixels) and for runs
// of every length, so that each path's end and the scalar tail after it are both checked.
#include "bmp/dib_simd.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "tests/bmp/bmp_fixtures.h"

using namespace fixtures;

namespace {

constexpr int kLongestRow = 80;
constexpr std::uint32_t kRle8 = 1, kRle4 = 2;

// 16-bit pixel values with every channel value over a row, top bit set on some.
std::uint16_t rgb16At(int x, int y) {
    return static_cast<std::uint16_t>((x * 1031 + y * 7919) & 0xFFFF);
}

std::uint8_t widenFive(unsigned channel) {
    return static_cast<std::uint8_t>(channel * 8 + channel / 4);
}

// Stored rows (bottom row first, padded to 4 bytes) and the RGB pixels they should give.
struct Rows {
    std::vector<std::uint8_t> stored, rgb;
};

Rows highColorRows(int width, int height, int bits) {
    Rows rows;
    const auto rgb = patternRgb(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* pixel = rgb.data() + 3 * (y * width + x);
            if (bits == 16) {
                const std::uint16_t value = rgb16At(x, y);
                rows.stored.insert(rows.stored.end(), {static_cast<std::uint8_t>(value),
                                                       static_cast<std::uint8_t>(value >> 8)});
                rows.rgb.insert(rows.rgb.end(),
                                {widenFive(value >> 10 & 31), widenFive(value >> 5 & 31),
                                 widenFive(value & 31)});
                continue;
            }
            rows.stored.insert(rows.stored.end(), {pixel[2], pixel[1], pixel[0]});
            if (bits == 32) rows.stored.push_back(0xA5);
            rows.rgb.insert(rows.rgb.end(), pixel, pixel + 3);
        }
        while (rows.stored.size() % 4 != 0) rows.stored.push_back(0x5A);
    }
    return rows;
}

}  // namespace

TEST(DibSimdTest, UncompressedRowsOfEveryLengthGiveTheirPixels) {
    for (int width = 1; width <= kLongestRow; ++width) {
        for (int bits : {16, 24, 32}) {
            const Rows rows = highColorRows(width, 3, bits);
            const Decoded decoded = decode(buildBmp(width, 3, bits, 0, {}, rows.stored));
            ASSERT_EQ(decoded.status, DibStatus::ok) << bits << " bits, width " << width;
            EXPECT_EQ(decoded.pixels, rows.rgb) << bits << " bits, width " << width;
        }
        for (int bits : {1, 4, 8}) {
            const IndexedPicture picture = patternIndexed(width, 3, 1 << bits);
            const Decoded decoded = decode(encodeBmpIndexed(picture, bits));
            ASSERT_EQ(decoded.status, DibStatus::ok) << bits << " bits, width " << width;
            EXPECT_EQ(decoded.pixels, expectedRgb(picture)) << bits << " bits, width " << width;
        }
    }
}

TEST(DibSimdTest, RunsOfEveryLengthGiveTheirPixels) {
    for (int width = 3; width <= kLongestRow; ++width) {
        for (bool fourBits : {false, true}) {
            // Bottom row: one literal run over the whole row; top row: one encoded run.
            const IndexedPicture picture = patternIndexed(width, 2, fourBits ? 16 : 256);
            std::vector<std::uint8_t> stream = {0, static_cast<std::uint8_t>(width)};
            for (int x = 0; x < width; ++x) {
                const std::uint8_t index = picture.indices[x];
                if (!fourBits) {
                    stream.push_back(index);
                } else if (x % 2 == 0) {
                    stream.push_back(static_cast<std::uint8_t>(index << 4));
                } else {
                    stream.back() |= index;
                }
            }
            if (stream.size() % 2 != 0) stream.push_back(0);
            const std::uint8_t value = fourBits ? 0x3C : 0xC3;
            stream.insert(stream.end(), {0, 0, static_cast<std::uint8_t>(width), value, 0, 1});
            IndexedPicture expected = picture;
            for (int x = 0; x < width; ++x) {
                expected.indices[width + x] =
                    !fourBits ? value : static_cast<std::uint8_t>(x % 2 == 0 ? 3 : 12);
            }
            const Decoded decoded = decode(buildBmp(
                width, 2, fourBits ? 4 : 8, fourBits ? kRle4 : kRle8, picture.palette, stream));
            ASSERT_EQ(decoded.status, DibStatus::ok)
                << (fourBits ? 4 : 8) << " bits, width " << width;
            EXPECT_EQ(decoded.pixels, expectedRgb(expected))
                << (fourBits ? 4 : 8) << " bits, width " << width;
        }
    }
}

// Long streams, whose common ops take the run-length vector path: short runs in long series,
// runs and literal runs over one and several 64-pixel steps, rows ended early, moves along a
// row and over rows, all against the pixels they describe. Palette index 0 is black, like the
// pixels a stream skips. The streams are long enough for the vector path's window of ops to
// move on several times.
TEST(DibSimdTest, LongRunLengthStreamsGiveTheirPixels) {
    constexpr int kWidth = 300, kHeight = 120;
    for (bool fourBits : {false, true}) {
        IndexedPicture picture = patternIndexed(kWidth, kHeight, fourBits ? 16 : 256);
        picture.palette[0] = {0, 0, 0};
        std::fill(picture.indices.begin(), picture.indices.end(), 0);
        std::uint32_t noise = 2463534242u;
        auto below = [&](int bound) {
            noise ^= noise << 13, noise ^= noise >> 17, noise ^= noise << 5;
            return static_cast<int>(noise % static_cast<std::uint32_t>(bound));
        };
        auto colour = [&] { return 1 + below(fourBits ? 15 : 255); };
        std::vector<std::uint8_t> stream;
        for (int y = 0; y < kHeight; ++y) {
            std::uint8_t* row = picture.indices.data() + y * kWidth;
            const int rowEnd = y % 7 == 3 ? kWidth - 50 : kWidth;
            for (int x = 0, ops = 0; x < rowEnd; ++ops) {
                const int left = rowEnd - x, kind = below(4);
                if (y % 11 == 5 && ops == 4 && y + 2 < kHeight) {  // a move two rows up
                    stream.insert(stream.end(), {0, 2, 0, 2});
                    y += 2;
                    row = picture.indices.data() + y * kWidth;
                } else if (y % 5 == 2 && ops == 3) {  // a move 10 pixels right
                    const int step = std::min(left, 10);
                    stream.insert(stream.end(), {0, 2, static_cast<std::uint8_t>(step), 0});
                    x += step;
                } else if (kind == 3 && left >= 3) {
                    const int count = 3 + below(std::min(left, 255) - 2);
                    stream.insert(stream.end(), {0, static_cast<std::uint8_t>(count)});
                    for (int i = 0; i < count; ++i)
                        row[x + i] = static_cast<std::uint8_t>(colour());
                    for (int i = 0; i < count; i += fourBits ? 2 : 1) {
                        const int second = fourBits && i + 1 < count ? row[x + i + 1] : 0;
                        stream.push_back(static_cast<std::uint8_t>(
                            fourBits ? row[x + i] << 4 | second : row[x + i]));
                    }
                    if (stream.size() % 2 != 0) stream.push_back(0);
                    x += count;
                } else {
                    // Series of up to 24 short runs (1 to 5 pixels), or one run of up to 255.
                    const int runs = kind == 0 ? 24 : 1;
                    for (int run = 0; run < runs && x < rowEnd; ++run) {
                        const int longest = std::min(rowEnd - x, kind == 0 ? 5 : 255);
                        const int count = 1 + below(longest);
                        const int high = colour(), low = fourBits ? colour() : high;
                        const int value = fourBits ? high << 4 | low : high;
                        stream.insert(stream.end(), {static_cast<std::uint8_t>(count),
                                                     static_cast<std::uint8_t>(value)});
                        for (int i = 0; i < count; ++i)
                            row[x + i] = static_cast<std::uint8_t>(i % 2 == 0 ? high : low);
                        x += count;
                    }
                }
            }
            stream.insert(stream.end(), {0, static_cast<std::uint8_t>(y + 1 < kHeight ? 0 : 1)});
        }
        const Decoded decoded = decode(buildBmp(kWidth, kHeight, fourBits ? 4 : 8,
                                                fourBits ? kRle4 : kRle8, picture.palette, stream));
        ASSERT_EQ(decoded.status, DibStatus::ok) << (fourBits ? 4 : 8) << " bits";
        EXPECT_EQ(decoded.pixels, expectedRgb(picture)) << (fourBits ? 4 : 8) << " bits";
    }
}

// Run-length streams: both schemes' runs and escapes, what skipped pixels become, and every
// way a stream can run past its rows or its data.
#include "bmp/dib_rle.h"

#include <gtest/gtest.h>

#include "tests/bmp/bmp_fixtures.h"

using namespace fixtures;

namespace {

constexpr std::uint32_t kRle8 = 1, kRle4 = 2;

// Palette entry i is (i, 100 + i, 200 - i); index 255 would be past a 16-entry table.
std::vector<std::array<std::uint8_t, 3>> testPalette(int count) {
    std::vector<std::array<std::uint8_t, 3>> palette;
    for (int i = 0; i < count; ++i) {
        palette.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(100 + i),
                           static_cast<std::uint8_t>(200 - i)});
    }
    return palette;
}

std::vector<std::uint8_t> colors(std::initializer_list<int> indices) {
    std::vector<std::uint8_t> rgb;
    for (int i : indices) {
        if (i < 0) {
            rgb.insert(rgb.end(), {0, 0, 0});
        } else {
            rgb.insert(rgb.end(), {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(100 + i),
                                   static_cast<std::uint8_t>(200 - i)});
        }
    }
    return rgb;
}

DibStatus rle8Status(int width, int height, const std::vector<std::uint8_t>& stream) {
    return decode(buildBmp(width, height, 8, kRle8, testPalette(16), stream)).status;
}

}  // namespace

TEST(DibRleTest, EightBitRunsAndAbsoluteRunsFillRows) {
    // Row 0: run of 2 x index 3, absolute 1 2 5 (odd, padded). Row 1: run of 5 x 7.
    const std::vector<std::uint8_t> stream = {2, 3, 0, 3, 1, 2, 5, 0, 0, 0, 5, 7, 0, 1};
    const Decoded decoded = decode(buildBmp(5, 2, 8, kRle8, testPalette(16), stream));
    ASSERT_EQ(decoded.status, DibStatus::ok);
    EXPECT_EQ(decoded.pixels, colors({3, 3, 1, 2, 5, 7, 7, 7, 7, 7}));
}

TEST(DibRleTest, FourBitRunsAlternateHalvesOfTheirValue) {
    // Row 0: run of 3 alternating 1 and 2, absolute 4 5 6 (two bytes, padded to four).
    const std::vector<std::uint8_t> stream = {3, 0x12, 0, 3, 0x45, 0x60, 0, 0, 0, 1};
    const Decoded decoded = decode(buildBmp(6, 1, 4, kRle4, testPalette(16), stream));
    ASSERT_EQ(decoded.status, DibStatus::ok);
    EXPECT_EQ(decoded.pixels, colors({1, 2, 1, 4, 5, 6}));
}

TEST(DibRleTest, SkippedPixelsStayBlack) {
    // Delta right 1 and up 1, a run of 1, then end of bitmap: everything else is skipped.
    const std::vector<std::uint8_t> stream = {0, 2, 1, 1, 1, 9, 0, 1};
    const Decoded decoded = decode(buildBmp(3, 3, 8, kRle8, testPalette(16), stream));
    ASSERT_EQ(decoded.status, DibStatus::ok);
    EXPECT_EQ(decoded.pixels, colors({-1, -1, -1, -1, 9, -1, -1, -1, -1}));
}

TEST(DibRleTest, PixelsSkippedAfterShortRunsInWideRowsStayBlack) {
    // 40 x 3. Row 0: run of 5 x 3, end of line. Row 1: absolute 1 2 4 5 6, a move 10 to the
    // right, run of 2 x 9, end of bitmap. Nothing else is written.
    const std::vector<std::uint8_t> stream = {5, 3, 0, 0, 0,  5, 1, 2, 4, 5,
                                              6, 0, 0, 2, 10, 0, 2, 9, 0, 1};
    const Decoded decoded = decode(buildBmp(40, 3, 8, kRle8, testPalette(16), stream));
    ASSERT_EQ(decoded.status, DibStatus::ok);
    std::vector<int> indices(120, -1);
    for (int x = 0; x < 5; ++x) indices[x] = 3;
    const int literal[] = {1, 2, 4, 5, 6};
    for (int x = 0; x < 5; ++x) indices[40 + x] = literal[x];
    indices[55] = indices[56] = 9;
    std::vector<std::uint8_t> expected;
    for (int index : indices) {
        const auto color = colors({index});
        expected.insert(expected.end(), color.begin(), color.end());
    }
    EXPECT_EQ(decoded.pixels, expected);
}

TEST(DibRleTest, IndexBeyondTheTableIsBlack) {
    const std::vector<std::uint8_t> stream = {1, 200, 0, 1};
    EXPECT_EQ(decode(buildBmp(1, 1, 8, kRle8, testPalette(16), stream)).pixels, colors({-1}));
}

TEST(DibRleTest, StreamEndingAfterItsLastLineIsWhole) {
    EXPECT_EQ(rle8Status(2, 2, {2, 1, 0, 0, 2, 1, 0, 0}), DibStatus::ok);
    EXPECT_EQ(rle8Status(2, 2, {2, 1, 0, 0, 2, 1}), DibStatus::conversionError);
}

TEST(DibRleTest, RunsPastTheirRowOrTheLastRowAreRejected) {
    EXPECT_EQ(rle8Status(2, 1, {3, 1, 0, 1}), DibStatus::conversionError);
    EXPECT_EQ(rle8Status(2, 1, {0, 3, 1, 2, 3, 0, 0, 1}), DibStatus::conversionError);
    EXPECT_EQ(rle8Status(2, 1, {0, 0, 0, 0, 0, 1}), DibStatus::conversionError);
    EXPECT_EQ(rle8Status(2, 1, {0, 0, 1, 1, 0, 1}), DibStatus::conversionError);
    EXPECT_EQ(rle8Status(2, 2, {0, 2, 3, 0, 0, 1}), DibStatus::conversionError);
    EXPECT_EQ(rle8Status(2, 2, {0, 2, 0, 3, 0, 1}), DibStatus::conversionError);
}

TEST(DibRleTest, StreamsPastTheirDataAreRejected) {
    EXPECT_EQ(rle8Status(4, 1, {0, 4, 1, 2}), DibStatus::conversionError);     // absolute run cut
    EXPECT_EQ(rle8Status(4, 1, {0, 3, 1, 2, 3}), DibStatus::conversionError);  // pad byte cut
    EXPECT_EQ(rle8Status(4, 1, {0, 2, 1}), DibStatus::conversionError);        // delta cut
    EXPECT_EQ(rle8Status(4, 1, {4, 1}), DibStatus::conversionError);           // no end marker
    EXPECT_EQ(rle8Status(4, 1, {}), DibStatus::conversionError);
}

TEST(DibRleTest, ImageSizeFieldEndsTheStream) {
    auto file = buildBmp(2, 1, 8, kRle8, testPalette(16), {2, 1, 0, 1});
    EXPECT_EQ(decode(file).status, DibStatus::ok);
    setU32(file, kImageSizeField, 2);  // the end marker now lies outside the stream
    EXPECT_EQ(decode(file).status, DibStatus::conversionError);
}

TEST(DibRleTest, TopDownOrMismatchedDepthIsRejected) {
    EXPECT_EQ(rle8Status(1, -1, {1, 1, 0, 1}), DibStatus::conversionError);
    const auto rle4At8 = buildBmp(1, 1, 8, kRle4, testPalette(16), {1, 1, 0, 1});
    EXPECT_EQ(decode(rle4At8).status, DibStatus::conversionError);
    const auto rle8At4 = buildBmp(1, 1, 4, kRle8, testPalette(16), {1, 1, 0, 1});
    EXPECT_EQ(decode(rle8At4).status, DibStatus::conversionError);
}

TEST(DibRleTest, FourBitRunsInWideRowsAreWrittenWholeAndExact) {
    // 100 x 2. Row 0: absolute 3 4 5 6 7, a run of 70 alternating 1 and 2, end of line. Row 1:
    // a run of 3 alternating 4 and 5, end of bitmap. Wide rows leave room for block writes.
    const std::vector<std::uint8_t> stream = {0,    5, 0x34, 0x56, 0x70, 0, 70,
                                              0x12, 0, 0,    3,    0x45, 0, 1};
    const Decoded decoded = decode(buildBmp(100, 2, 4, kRle4, testPalette(16), stream));
    ASSERT_EQ(decoded.status, DibStatus::ok);
    std::vector<int> indices(200, -1);
    for (int x = 0; x < 5; ++x) indices[x] = 3 + x;
    for (int x = 0; x < 70; ++x) indices[5 + x] = x % 2 == 0 ? 1 : 2;
    for (int x = 0; x < 3; ++x) indices[100 + x] = x % 2 == 0 ? 4 : 5;
    // Palette entry i is (i, 100 + i, 200 - i), as colors() gives it; -1 is black.
    std::vector<std::uint8_t> expected;
    for (int index : indices) {
        const bool black = index < 0;
        expected.push_back(static_cast<std::uint8_t>(black ? 0 : index));
        expected.push_back(static_cast<std::uint8_t>(black ? 0 : 100 + index));
        expected.push_back(static_cast<std::uint8_t>(black ? 0 : 200 - index));
    }
    EXPECT_EQ(decoded.pixels, expected);
}

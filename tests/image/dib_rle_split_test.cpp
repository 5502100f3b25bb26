// Splitting run-length streams at row starts: where the parts start, which streams are not
// split, and that a picture large enough to be split decodes as in one pass.
#include "image/dib_rle_split.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/image/bmp_fixtures.h"

using namespace fixtures;

namespace {

std::vector<RleSplit> splitRows(std::initializer_list<std::int32_t> rows) {
    std::vector<RleSplit> splits;
    for (std::int32_t row : rows) splits.push_back({0, row});
    return splits;
}

// Width 1200 by 1200 rows of 8-bit runs, above the size decoded on every core: row y holds a
// run of y % 250 + 1 pixels, a literal run of 5, then black.
// moveAt and overrunAt place a move or a run past the row's end in that row (-1: none).
struct LargeStream {
    std::vector<std::uint8_t> stream;
    std::vector<std::uint8_t> pixels;
};

LargeStream largeStream(int moveAt, int overrunAt) {
    constexpr int kSize = 1200;
    LargeStream large;
    large.pixels.assign(std::size_t{3} * kSize * kSize, 0);
    auto put = [&](int x, int y, std::uint8_t index) {
        std::uint8_t* pixel = large.pixels.data() + 3 * (std::size_t{kSize} * y + x);
        pixel[0] = index;
        pixel[1] = static_cast<std::uint8_t>(100 + index);
        pixel[2] = static_cast<std::uint8_t>(200 - index);
    };
    for (int y = 0; y < kSize; ++y) {
        const int run = y % 250 + 1;
        const auto value = static_cast<std::uint8_t>(y % 16);
        large.stream.insert(large.stream.end(), {static_cast<std::uint8_t>(run), value});
        for (int x = 0; x < run; ++x) put(x, y, value);
        large.stream.insert(large.stream.end(), {0, 5, 1, 2, 3, 4, 5, 0});
        for (int x = 0; x < 5; ++x) put(run + x, y, static_cast<std::uint8_t>(x + 1));
        if (y == moveAt) {
            // Three pixels to the right, then a run of one.
            large.stream.insert(large.stream.end(), {0, 2, 3, 0, 1, 9});
            put(run + 8, y, 9);
        }
        if (y == overrunAt)
            large.stream.insert(large.stream.end(), {255, 1, 255, 1, 255, 1, 255, 1, 255, 1});
        large.stream.insert(large.stream.end(), {0, 0});
    }
    return large;
}

Decoded decodeLarge(const LargeStream& large) {
    std::vector<std::array<std::uint8_t, 3>> palette;
    for (int i = 0; i < 16; ++i) {
        palette.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(100 + i),
                           static_cast<std::uint8_t>(200 - i)});
    }
    return decode(buildBmp(1200, 1200, 8, 1, palette, large.stream));
}

}  // namespace

TEST(DibRleSplitTest, PartsStartAfterTheLineEndsOfTheRowsBefore) {
    // Row 0: a literal run of 3 (padded to 4 bytes); row 1: an encoded run; row 2 another.
    const std::vector<std::uint8_t> rle8 = {0, 3, 1, 2, 3, 0, 0, 0, 4, 1, 0, 0, 2, 2, 0, 0};
    auto splits = splitRows({1, 2});
    ASSERT_TRUE(findRleSplits(rle8, 8, splits));
    EXPECT_EQ(splits[0].position, 8u);
    EXPECT_EQ(splits[1].position, 12u);
    // At 4 bits a literal run of 5 pixels is 3 bytes of data, padded to 4.
    const std::vector<std::uint8_t> rle4 = {0, 5, 0x12, 0x34, 0x50, 0, 0, 0, 1, 1, 0, 1};
    auto split = splitRows({1});
    ASSERT_TRUE(findRleSplits(rle4, 4, split));
    EXPECT_EQ(split[0].position, 8u);
}

TEST(DibRleSplitTest, MovesEndsAndCutStreamsBeforeTheLastPartAreNotSplit) {
    auto splits = splitRows({1});
    EXPECT_FALSE(findRleSplits(std::vector<std::uint8_t>{0, 2, 1, 0, 0, 0}, 8, splits));
    EXPECT_FALSE(findRleSplits(std::vector<std::uint8_t>{1, 1, 0, 1, 0, 0}, 8, splits));
    EXPECT_FALSE(findRleSplits(std::vector<std::uint8_t>{0, 4, 1, 2, 0, 0}, 8, splits));
    EXPECT_FALSE(findRleSplits(std::vector<std::uint8_t>{1, 1}, 8, splits));
    // What follows the last part's start is left to the decoding of that part.
    EXPECT_TRUE(findRleSplits(std::vector<std::uint8_t>{1, 1, 0, 0, 0, 2, 1}, 8, splits));
}

TEST(DibRleSplitTest, LargePicturesDecodeAsInOnePass) {
    const LargeStream plain = largeStream(-1, -1);
    const Decoded decoded = decodeLarge(plain);
    ASSERT_EQ(decoded.status, DibStatus::ok);
    EXPECT_TRUE(decoded.pixels == plain.pixels);
    // A move in the first rows keeps the stream in one pass; one in the last rows does not.
    for (int moveAt : {3, 1190}) {
        const LargeStream moved = largeStream(moveAt, -1);
        const Decoded movedDecoded = decodeLarge(moved);
        ASSERT_EQ(movedDecoded.status, DibStatus::ok) << moveAt;
        EXPECT_TRUE(movedDecoded.pixels == moved.pixels) << moveAt;
    }
    // A run past its row's end is refused in the first part and in the last.
    for (int overrunAt : {3, 1190}) {
        EXPECT_EQ(decodeLarge(largeStream(-1, overrunAt)).status, DibStatus::conversionError)
            << overrunAt;
    }
}

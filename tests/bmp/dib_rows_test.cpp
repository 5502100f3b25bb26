// Depth conversion of uncompressed rows: 16-bit 5-5-5, 32-bit, and top-down row order.
#include "bmp/dib_rows.h"

#include <gtest/gtest.h>

#include "tests/bmp/bmp_fixtures.h"

using namespace fixtures;

TEST(DibRowsTest, SixteenBitChannelsWidenToFullRange) {
    // 3 x 1 row, 6 bytes padded to 8: white, pure red, and blue 1 / green 16 / red 0.
    const std::vector<std::uint8_t> row = {0xFF, 0x7F, 0x00, 0x7C, 0x01, 0x02, 0, 0};
    const Decoded decoded = decode(buildBmp(3, 1, 16, 0, {}, row));
    ASSERT_EQ(decoded.status, DibStatus::ok);
    EXPECT_EQ(decoded.pixels, (std::vector<std::uint8_t>{255, 255, 255, 255, 0, 0, 0, 132, 8}));
}

TEST(DibRowsTest, SixteenBitIgnoresTheTopBit) {
    const Decoded decoded = decode(buildBmp(1, 1, 16, 0, {}, {0x00, 0x80, 0, 0}));
    EXPECT_EQ(decoded.pixels, (std::vector<std::uint8_t>{0, 0, 0}));
}

TEST(DibRowsTest, ThirtyTwoBitSkipsTheFourthByte) {
    const std::vector<std::uint8_t> rows = {1, 2, 3, 99, 4,  5,  6,  99,  // bottom row
                                            7, 8, 9, 99, 10, 11, 12, 99};
    const Decoded decoded = decode(buildBmp(2, 2, 32, 0, {}, rows));
    ASSERT_EQ(decoded.status, DibStatus::ok);
    EXPECT_EQ(decoded.pixels, (std::vector<std::uint8_t>{3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10}));
}

TEST(DibRowsTest, TopDownRowsComeOutBottomRowFirstWithPositiveHeight) {
    const auto rgb = patternRgb(3, 4);
    const auto bottomUp = encodeBmp24(3, 4, rgb.data());
    // Same picture with the stored rows reversed and a negative height.
    auto topDown = bottomUp;
    const std::size_t stride = 12;
    for (int row = 0; row < 4; ++row) {
        std::copy_n(bottomUp.begin() + 54 + row * stride, stride,
                    topDown.begin() + 54 + (3 - row) * stride);
    }
    setU32(topDown, kHeightField, static_cast<std::uint32_t>(-4));
    const Decoded decoded = decode(topDown);
    ASSERT_EQ(decoded.status, DibStatus::ok);
    EXPECT_EQ(decoded.height, 4);
    EXPECT_EQ(decoded.pixels, rgb);
}

TEST(DibRowsTest, TopDownPalettePictureFlipsToo) {
    // 1-bit, 2 x 2: top row white black, bottom row black white; stored top row first.
    const std::vector<std::array<std::uint8_t, 3>> palette = {{0, 0, 0}, {255, 255, 255}};
    const std::vector<std::uint8_t> rows = {0b10000000, 0, 0, 0, 0b01000000, 0, 0, 0};
    const Decoded decoded = decode(buildBmp(2, -2, 1, 0, palette, rows));
    ASSERT_EQ(decoded.status, DibStatus::ok);
    EXPECT_EQ(decoded.pixels,
              (std::vector<std::uint8_t>{0, 0, 0, 255, 255, 255, 255, 255, 255, 0, 0, 0}));
}

TEST(DibRowsTest, LastRowMayLackItsPadding) {
    const auto rgb = patternRgb(1, 2);
    auto file = encodeBmp24(1, 2, rgb.data());
    file.resize(file.size() - 1);  // the last row's one padding byte
    const Decoded decoded = decode(file);
    ASSERT_EQ(decoded.status, DibStatus::ok);
    EXPECT_EQ(decoded.pixels, rgb);
    file.resize(file.size() - 1);  // now a pixel byte is missing
    EXPECT_EQ(decode(file).status, DibStatus::conversionError);
}

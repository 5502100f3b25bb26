// Checks the bytes the BMP writer produces: headers, colour tables, row order and padding.
#include "files/replacement_file.h"
#include "pictures/bmp_encoder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

namespace {

std::uint32_t u32At(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

std::uint16_t u16At(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

}  // namespace

TEST(BmpEncoderTest, InfoHeaderFileHasPaddedBlueGreenRedRowsBottomFirst) {
    // 3 x 2: bottom row red, green, blue; top row white, black, grey.
    const std::uint8_t rgb[] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255, 0, 0, 0, 9, 9, 9};
    const auto bytes = encodeBmp24(3, 2, rgb);
    ASSERT_EQ(bytes.size(), 54u + 2 * 12);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(u32At(bytes, 2), bytes.size());
    EXPECT_EQ(u32At(bytes, 10), 54u);
    EXPECT_EQ(u32At(bytes, 14), 40u);
    EXPECT_EQ(u32At(bytes, 18), 3u);
    EXPECT_EQ(u32At(bytes, 22), 2u);
    EXPECT_EQ(u16At(bytes, 26), 1u);
    EXPECT_EQ(u16At(bytes, 28), 24u);
    EXPECT_EQ(u32At(bytes, 30), 0u);
    EXPECT_EQ(u32At(bytes, 34), 24u);
    const std::vector<std::uint8_t> rows(bytes.begin() + 54, bytes.end());
    const std::vector<std::uint8_t> expected = {0,   0,   255, 0, 255, 0, 255, 0, 0, 0, 0, 0,
                                                255, 255, 255, 0, 0,   0, 9,   9, 9, 0, 0, 0};
    EXPECT_EQ(rows, expected);
}

TEST(BmpEncoderTest, CoreHeaderUsesSixteenBitSizes) {
    const std::uint8_t rgb[] = {1, 2, 3};
    const auto bytes = encodeBmp24(1, 1, rgb, DibHeader::core12);
    ASSERT_EQ(bytes.size(), 26u + 4);
    EXPECT_EQ(u32At(bytes, 10), 26u);
    EXPECT_EQ(u32At(bytes, 14), 12u);
    EXPECT_EQ(u16At(bytes, 18), 1u);
    EXPECT_EQ(u16At(bytes, 20), 1u);
    EXPECT_EQ(u16At(bytes, 24), 24u);
    EXPECT_EQ(bytes[26], 3);
    EXPECT_EQ(bytes[28], 1);
    EXPECT_TRUE(encodeBmp24(70000, 1, rgb, DibHeader::core12).empty());
}

TEST(BmpEncoderTest, IndexedFilePacksLeftmostPixelIntoHighBits) {
    IndexedPicture picture{10, 1, {{0, 0, 0}, {255, 255, 255}}, {1, 0, 1, 1, 0, 0, 0, 1, 1, 0}};
    const auto bytes = encodeBmpIndexed(picture, 1);
    ASSERT_EQ(bytes.size(), 54u + 2 * 4 + 4);
    EXPECT_EQ(u32At(bytes, 10), 62u);
    EXPECT_EQ(u32At(bytes, 46), 2u);  // colours used
    EXPECT_EQ(bytes[58], 255);        // second entry: blue, green, red, reserved
    EXPECT_EQ(bytes[61], 0);
    EXPECT_EQ(bytes[62], 0b10110001);
    EXPECT_EQ(bytes[63], 0b10000000);

    picture.indices = {0x3, 0xC, 0, 0, 0, 0, 0, 0, 0, 0xF};
    const auto four = encodeBmpIndexed(picture, 4);
    EXPECT_EQ(four[62], 0x3C);
    EXPECT_EQ(four[66], 0x0F);
}

TEST(BmpEncoderTest, CoreIndexedTableIsPaddedToTheFullDepth) {
    const IndexedPicture picture{1, 1, {{10, 20, 30}}, {0}};
    const auto bytes = encodeBmpIndexed(picture, 4, DibHeader::core12);
    ASSERT_EQ(bytes.size(), 26u + 16 * 3 + 4);
    EXPECT_EQ(u32At(bytes, 10), 26u + 48);
    EXPECT_EQ(bytes[26], 30);
    EXPECT_EQ(bytes[28], 10);
    EXPECT_EQ(bytes[29], 0);
}

TEST(BmpEncoderTest, RefusesWhatItCannotStore) {
    IndexedPicture picture{2, 1, {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}, {0, 1}};
    EXPECT_TRUE(encodeBmpIndexed(picture, 1).empty());  // three colours in a 1-bit table
    EXPECT_TRUE(encodeBmpIndexed(picture, 2).empty());
    picture.palette.resize(2);
    picture.indices = {0};
    EXPECT_TRUE(encodeBmpIndexed(picture, 8).empty());
    const std::uint8_t rgb[3] = {};
    EXPECT_TRUE(encodeBmp24(0, 1, rgb).empty());
    EXPECT_TRUE(encodeBmp24(1, -1, rgb).empty());
}

TEST(BmpEncoderTest, WritesTheBytesToAFile) {
    const std::vector<std::uint8_t> bytes = {'B', 'M', 0, 1, 2, 255};
    const std::string path = testing::TempDir() + "bmp_encoder_write.bin";
    ASSERT_TRUE(writeFileBytes(path.c_str(), bytes));
    std::ifstream file(path, std::ios::binary);
    const std::vector<std::uint8_t> read{std::istreambuf_iterator<char>(file), {}};
    EXPECT_EQ(read, bytes);
    std::remove(path.c_str());
    EXPECT_FALSE(writeFileBytes("/nonexistent-folder/x.bmp", bytes));
}

// Decoding whole BMP files from memory: every depth and header, row order, colour order,
// palette look-ups, run-length data and the outcome of each kind of damage.
#include "bmp/dib_decoder.h"

#include <gtest/gtest.h>

#include "tests/bmp/bmp_fixtures.h"

using namespace fixtures;

TEST(DibDecoderTest, TwentyFourBitRowsLoseTheirPaddingInEveryWidth) {
    for (int width = 1; width <= 9; ++width) {
        const auto rgb = patternRgb(width, 3);
        const auto file = encodeBmp24(width, 3, rgb.data());
        const Decoded decoded = decode(file);
        ASSERT_EQ(decoded.status, DibStatus::ok) << "width " << width;
        EXPECT_EQ(decoded.width, width);
        EXPECT_EQ(decoded.height, 3);
        EXPECT_EQ(decoded.pixels, rgb) << "width " << width;
    }
}

TEST(DibDecoderTest, PaletteDepthsLookUpTheirColoursInEveryWidth) {
    for (int bits : {1, 4, 8}) {
        for (int width = 1; width <= 19; width += 3) {
            const IndexedPicture picture = patternIndexed(width, 4, 1 << bits);
            for (DibHeader header : {DibHeader::info40, DibHeader::core12}) {
                const Decoded decoded = decode(encodeBmpIndexed(picture, bits, header));
                ASSERT_EQ(decoded.status, DibStatus::ok) << bits << " bits, width " << width;
                EXPECT_EQ(decoded.pixels, expectedRgb(picture)) << bits << " bits, width " << width;
            }
        }
    }
}

TEST(DibDecoderTest, CoreAndInfoHeadersGiveTheSamePixels) {
    const auto rgb = patternRgb(5, 4);
    const Decoded info = decode(encodeBmp24(5, 4, rgb.data(), DibHeader::info40));
    const Decoded core = decode(encodeBmp24(5, 4, rgb.data(), DibHeader::core12));
    ASSERT_EQ(core.status, DibStatus::ok);
    EXPECT_EQ(core.width, 5);
    EXPECT_EQ(core.height, 4);
    EXPECT_EQ(core.pixels, info.pixels);
}

TEST(DibDecoderTest, FileBlueComesOutAsBlueInRedGreenBlueOrder) {
    const std::uint8_t blue[] = {0, 0, 255};
    const auto file = encodeBmp24(1, 1, blue);
    ASSERT_EQ(file[54], 255);  // stored blue, green, red
    EXPECT_EQ(decode(file).pixels, (std::vector<std::uint8_t>{0, 0, 255}));
}

TEST(DibDecoderTest, FirstOutputRowIsTheFirstStoredRow) {
    const std::uint8_t rgb[] = {10, 20, 30, 40, 50, 60};  // 1 x 2, bottom row first
    auto file = encodeBmp24(1, 2, rgb);
    EXPECT_EQ(file[54 + 2], 10);  // the first stored row is the bottom one
    EXPECT_EQ(decode(file).pixels, (std::vector<std::uint8_t>{10, 20, 30, 40, 50, 60}));
}

TEST(DibDecoderTest, InfoHeaderColoursUsedSelectsTheTableLength) {
    // 8-bit with sixteen colours: the table holds sixteen entries and the pixels follow it.
    const IndexedPicture sixteen = patternIndexed(6, 2, 16);
    auto file = encodeBmpIndexed(sixteen, 8);
    ASSERT_EQ(u32At(file, kColorsUsedField), 16u);
    ASSERT_EQ(u32At(file, kPixelOffsetField), 54u + 16 * 4);
    EXPECT_EQ(decode(file).pixels, expectedRgb(sixteen));

    // Zero colours used: a full 256-entry table.
    const IndexedPicture full = patternIndexed(6, 2, 256);
    file = encodeBmpIndexed(full, 8);
    setU32(file, kColorsUsedField, 0);
    EXPECT_EQ(decode(file).pixels, expectedRgb(full));
}

TEST(DibDecoderTest, IndexBeyondTheColourTableIsBlack) {
    IndexedPicture picture = patternIndexed(4, 1, 2);
    picture.indices = {0, 1, 2, 200};
    const Decoded decoded = decode(encodeBmpIndexed(picture, 8));
    ASSERT_EQ(decoded.status, DibStatus::ok);
    EXPECT_EQ(decoded.pixels, expectedRgb(picture));
    EXPECT_EQ(std::vector<std::uint8_t>(decoded.pixels.begin() + 6, decoded.pixels.end()),
              std::vector<std::uint8_t>(6, 0));
}

TEST(DibDecoderTest, PackedDibWithoutFileHeaderFindsPixelsAfterTheTable) {
    const IndexedPicture picture = patternIndexed(3, 2, 4);
    const auto file = encodeBmpIndexed(picture, 4);
    const std::vector<std::uint8_t> packed(file.begin() + 14, file.end());
    const Decoded decoded = decode(packed);
    ASSERT_EQ(decoded.status, DibStatus::ok);
    EXPECT_EQ(decoded.pixels, expectedRgb(picture));
}

TEST(DibDecoderTest, PixelOffsetOfTheFileHeaderIsHonoured) {
    const auto rgb = patternRgb(2, 2);
    auto file = encodeBmp24(2, 2, rgb.data());
    // Move the rows eight bytes further and say so in the file header.
    file.insert(file.begin() + 54, 8, 0xEE);
    setU32(file, kPixelOffsetField, 62);
    EXPECT_EQ(decode(file).pixels, rgb);
}

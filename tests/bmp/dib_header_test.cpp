// Header reading: the normalised header built from each layout, and the sizes and values
// that a file may not be trusted with.
#include "bmp/dib_header.h"

#include <gtest/gtest.h>

#include "tests/bmp/bmp_fixtures.h"

using namespace fixtures;

namespace {

DibStatus layoutStatus(const std::vector<std::uint8_t>& file) {
    DibLayout layout;
    return readDibLayout(file, layout);
}

std::vector<std::uint8_t> small24() {
    return encodeBmp24(2, 2, patternRgb(2, 2).data());
}

}  // namespace

TEST(DibHeaderTest, CoreHeaderIsNormalisedToAnInfoHeader) {
    const IndexedPicture picture = patternIndexed(3, 2, 16);
    const auto file = encodeBmpIndexed(picture, 4, DibHeader::core12);
    DibLayout layout;
    ASSERT_EQ(readDibLayout(file, layout), DibStatus::ok);
    const DibInfoHeader& header = layout.header;
    EXPECT_EQ(header.size, 40u);
    EXPECT_EQ(header.width, 3);
    EXPECT_EQ(header.height, 2);
    EXPECT_EQ(header.planes, 1);
    EXPECT_EQ(header.bitsPerPixel, 4);
    EXPECT_EQ(header.compression, 0u);
    EXPECT_EQ(header.imageSize, 4u);  // (4 * 3 + 7) / 8 * 2, without row padding
    EXPECT_EQ(header.xPelsPerMeter, 0);
    EXPECT_EQ(header.colorsUsed, 16u);
    EXPECT_EQ(header.colorsImportant, 16u);
    EXPECT_EQ(layout.colorCount, 16);
    EXPECT_EQ(layout.rowStride, 4u);
    EXPECT_EQ(layout.palette[5].red, picture.palette[5][0]);
    EXPECT_EQ(layout.palette[5].blue, picture.palette[5][2]);
}

TEST(DibHeaderTest, InfoHeaderZeroFieldsAreFilledAndOthersCopied) {
    auto file = encodeBmpIndexed(patternIndexed(5, 3, 256), 8);
    setU32(file, kColorsUsedField, 0);
    setU32(file, kImageSizeField, 0);
    setU32(file, 50, 7);  // colours important
    DibLayout layout;
    ASSERT_EQ(readDibLayout(file, layout), DibStatus::ok);
    EXPECT_EQ(layout.header.colorsUsed, 256u);
    EXPECT_EQ(layout.header.colorsImportant, 7u);
    EXPECT_EQ(layout.header.imageSize, 15u);
    EXPECT_EQ(layout.header.xPelsPerMeter, 2835);
    EXPECT_EQ(layout.rowStride, 8u);
}

TEST(DibHeaderTest, HeaderSizesOtherThanTwelveOrFortyAreUnknown) {
    for (std::uint32_t size : {0u, 16u, 52u, 56u, 64u, 108u, 124u, 0xFFFFFFFFu}) {
        auto file = small24();
        setU32(file, 14, size);
        EXPECT_EQ(layoutStatus(file), DibStatus::unknownFormat) << size;
    }
}

TEST(DibHeaderTest, FilesTooShortForTheirHeadersAreRejected) {
    const auto file = small24();
    for (std::size_t length : {1u, 2u, 10u, 14u, 17u, 30u, 53u}) {
        const std::vector<std::uint8_t> cut(file.begin(), file.begin() + length);
        EXPECT_EQ(layoutStatus(cut), DibStatus::conversionError) << length;
    }
}

TEST(DibHeaderTest, ColourTablePastTheFileEndIsRejected) {
    auto file = encodeBmpIndexed(patternIndexed(2, 1, 256), 8);
    file.resize(54 + 100 * 4);
    EXPECT_EQ(layoutStatus(file), DibStatus::conversionError);
}

TEST(DibHeaderTest, ColoursUsedBeyondTheDepthIsRejected) {
    auto file = encodeBmpIndexed(patternIndexed(2, 1, 2), 1);
    setU32(file, kColorsUsedField, 3);
    EXPECT_EQ(layoutStatus(file), DibStatus::conversionError);
    auto wide = small24();
    setU32(wide, kColorsUsedField, 0x10000);
    EXPECT_EQ(layoutStatus(wide), DibStatus::conversionError);
}

TEST(DibHeaderTest, PixelDataPastTheFileEndIsRejected) {
    auto file = small24();
    setU32(file, kPixelOffsetField, static_cast<std::uint32_t>(file.size() + 1));
    EXPECT_EQ(layoutStatus(file), DibStatus::conversionError);
    setU32(file, kPixelOffsetField, 0xFFFFFFFF);
    EXPECT_EQ(layoutStatus(file), DibStatus::conversionError);
    file = small24();
    setU32(file, kHeightField, 3);
    EXPECT_EQ(layoutStatus(file), DibStatus::conversionError);
}

TEST(DibHeaderTest, UnsupportedDepthsAndCompressionsAreRejected) {
    for (std::uint32_t bits : {0u, 2u, 15u, 48u, 64u}) {
        auto file = small24();
        setU16(file, kBitsField, bits);
        EXPECT_EQ(layoutStatus(file), DibStatus::conversionError) << bits;
    }
    for (std::uint32_t compression : {3u, 4u, 5u, 6u, 0xFFFFFFFFu}) {
        auto file = small24();
        setU32(file, kCompressionField, compression);
        EXPECT_EQ(layoutStatus(file), DibStatus::conversionError) << compression;
    }
}

TEST(DibHeaderTest, EmptyNegativeAndOversizedPicturesAreRejected) {
    const std::pair<std::int32_t, std::int32_t> sizes[] = {
        {0, 2}, {2, 0}, {-2, 2}, {INT32_MAX, INT32_MAX}, {INT32_MAX, INT32_MIN}, {65536, 4096}};
    for (const auto& [width, height] : sizes) {
        auto file = small24();
        setU32(file, kWidthField, static_cast<std::uint32_t>(width));
        setU32(file, kHeightField, static_cast<std::uint32_t>(height));
        EXPECT_EQ(layoutStatus(file), DibStatus::conversionError) << width << " x " << height;
    }
}

TEST(DibHeaderTest, TinyRunLengthFileCannotClaimAnUnboundedPicture) {
    // Eight bytes of stream for 2^28 pixels: refused before anything is allocated.
    auto file = buildBmp(16384, 16384, 8, kDibRle8, {{1, 2, 3}}, {0, 1});
    EXPECT_EQ(layoutStatus(file), DibStatus::conversionError);
    // The largest allowed size still decodes.
    file = buildBmp(16384, 8192, 8, kDibRle8, {{1, 2, 3}}, {0, 1});
    EXPECT_EQ(layoutStatus(file), DibStatus::ok);
}

TEST(DibHeaderTest, EachStatusHasItsText) {
    EXPECT_STREQ(dibStatusText(DibStatus::unknownFormat), "Unknown DIB file format.");
    EXPECT_STREQ(dibStatusText(DibStatus::conversionError), "Image file conversion error.");
    EXPECT_STREQ(dibStatusText(DibStatus::outOfMemory), "Out of memory.");
}

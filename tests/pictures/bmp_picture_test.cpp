// The two ways into the BMP decoder, the loader's notices and the picture record's reasons,
// see one damaged file alike and each keeps its own words for what is wrong with it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bmp/dib_decoder.h"
#include "pictures/bmp_encoder.h"
#include "pictures/picture_decoder.h"
#include "tests/bmp/bmp_fixtures.h"

namespace {

struct DoorWords {
    std::string notice;  // what loadDibImage shows
    std::string reason;  // what decodePicture reports
};

DoorWords wordsFor(const std::vector<std::uint8_t>& file) {
    DibStatus status = DibStatus::ok;
    RgbImage* image = decodeDib(file, status);
    freeRgbImage(image);
    Picture picture;
    return {dibStatusText(status), decodePicture(file, picture).reason};
}

}  // namespace

TEST(BmpPictureTest, BothFrontDoorsWordEachFailureTheirOwnWay) {
    using namespace fixtures;
    const std::vector<std::uint8_t> good = encodeBmp24(8, 4, patternRgb(8, 4).data());

    std::vector<std::uint8_t> newerHeader = good;
    setU32(newerHeader, 14, 108);
    std::vector<std::uint8_t> bitFields = good;
    setU32(bitFields, kCompressionField, 3);
    const std::vector<std::uint8_t> cutRows(good.begin(), good.end() - 10);
    std::vector<std::uint8_t> huge = good;
    setU32(huge, kWidthField, 20000);
    setU32(huge, kHeightField, 10000);

    const struct {
        const std::vector<std::uint8_t>& file;
        const char* notice;
        const char* reason;
    } cases[] = {
        {newerHeader, "Unknown DIB file format.",
         "unsupported BMP header (12- and 40-byte headers are read)"},
        {bitFields, "Image file conversion error.", "corrupt or unsupported BMP data"},
        {cutRows, "Image file conversion error.", "truncated BMP file"},
        {huge, "Image file conversion error.",
         "too large: 20000 x 10000 pixels, more than the 134217728 allowed"},
    };
    for (const auto& [file, notice, reason] : cases) {
        const DoorWords words = wordsFor(file);
        EXPECT_EQ(words.notice, notice);
        EXPECT_EQ(words.reason, reason);
    }
    EXPECT_EQ(wordsFor(good).reason, "");
}

// Pictures as viewers show them: EXIF orientation in JPEG, PNG and WebP, PNG's gamma chunk,
// damaged and cut-short JPEGs shown with a warning, and the reasons given for files that
// cannot be shown. Every test picture is written here, by the formats' own libraries.
#include <gtest/gtest.h>
#include <spng.h>
#include <webp/mux.h>

#include <algorithm>
#include <cstring>
#include <cstdlib>
#include <memory>
#include <string>

#include "pictures/exif_orientation.h"
#include "pictures/picture_decoder.h"
#include "pictures/picture_encoders.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes framePixels(const Picture& picture, std::size_t frame = 0) {
    const std::uint8_t* pixels = picture.frames.at(frame).pixels.get();
    return {pixels, pixels + std::size_t{3} * picture.width * picture.height};
}

// Decodes and expects success with the given size and warning.
Picture decoded(const Bytes& file, int width, int height, const std::string& warning = "") {
    Picture picture;
    const LoadOutcome outcome = decodePicture(file, picture);
    EXPECT_TRUE(outcome.ok()) << outcome.reason;
    EXPECT_EQ(outcome.warning, warning);
    EXPECT_EQ(picture.width, width);
    EXPECT_EQ(picture.height, height);
    return picture;
}

LoadOutcome outcomeOf(const Bytes& file) {
    Picture picture;
    return decodePicture(file, picture);
}

// A TIFF-structured EXIF block with one entry, the orientation, in either byte order.
Bytes exifWithOrientation(int orientation, bool bigEndian, bool jpegPrefix = false) {
    Bytes tiff = bigEndian ? Bytes{'M',  'M',  0, 42, 0, 0, 0, 8, 0, 1,
                                   0x01, 0x12, 0, 3,  0, 0, 0, 1, 0, std::uint8_t(orientation),
                                   0,    0,    0, 0,  0, 0}
                           : Bytes{'I',
                                   'I',
                                   42,
                                   0,
                                   8,
                                   0,
                                   0,
                                   0,
                                   1,
                                   0,
                                   0x12,
                                   0x01,
                                   3,
                                   0,
                                   1,
                                   0,
                                   0,
                                   0,
                                   std::uint8_t(orientation),
                                   0,
                                   0,
                                   0,
                                   0,
                                   0,
                                   0,
                                   0};
    if (jpegPrefix) tiff.insert(tiff.begin(), {'E', 'x', 'i', 'f', 0, 0});
    return tiff;
}

struct FreeContext {
    void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};

struct PngSpec {
    int width = 0, height = 0;
    int bitDepth = 8;
    int colorType = SPNG_COLOR_TYPE_TRUECOLOR;
    Bytes rows;         // as PNG stores them: top row first, 16-bit samples big-endian
    double gamma = 0;   // 0: no gamma chunk
    bool srgb = false;  // an sRGB chunk
    Bytes exif;         // empty: no eXIf chunk
};

Bytes writePng(PngSpec spec) {
    std::unique_ptr<spng_ctx, FreeContext> context(spng_ctx_new(SPNG_CTX_ENCODER));
    spng_ctx* png = context.get();
    spng_set_option(png, SPNG_ENCODE_TO_BUFFER, 1);
    spng_ihdr header{};
    header.width = static_cast<std::uint32_t>(spec.width);
    header.height = static_cast<std::uint32_t>(spec.height);
    header.bit_depth = static_cast<std::uint8_t>(spec.bitDepth);
    header.color_type = static_cast<std::uint8_t>(spec.colorType);
    EXPECT_EQ(spng_set_ihdr(png, &header), 0);
    if (spec.gamma > 0) {
        EXPECT_EQ(spng_set_gama(png, spec.gamma), 0);
    }
    if (spec.srgb) {
        EXPECT_EQ(spng_set_srgb(png, 0), 0);
    }
    spng_exif exif{spec.exif.size(), reinterpret_cast<char*>(spec.exif.data())};
    if (!spec.exif.empty()) {
        EXPECT_EQ(spng_set_exif(png, &exif), 0);
    }
    EXPECT_EQ(spng_encode_image(png, spec.rows.data(), spec.rows.size(), SPNG_FMT_PNG,
                                SPNG_ENCODE_FINALIZE),
              0);
    std::size_t length = 0;
    int error = 0;
    void* buffer = spng_get_png_buffer(png, &length, &error);
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    Bytes file(bytes, bytes + length);
    std::free(buffer);
    return file;
}

// Six pixels a to f, top row first:  a b c / d e f.
const Bytes kA = {10, 0, 0}, kB = {20, 0, 0}, kC = {30, 0, 0}, kD = {40, 0, 0}, kE = {50, 0, 0},
            kF = {60, 0, 0};

// Bytes of a picture given top row first, stored bottom row first.
Bytes bottomFirst(std::initializer_list<std::initializer_list<Bytes>> rowsTopFirst) {
    std::vector<Bytes> rows;
    for (const auto& row : rowsTopFirst) {
        Bytes bytes;
        for (const Bytes& pixel : row) bytes.insert(bytes.end(), pixel.begin(), pixel.end());
        rows.push_back(bytes);
    }
    Bytes all;
    for (auto row = rows.rbegin(); row != rows.rend(); ++row)
        all.insert(all.end(), row->begin(), row->end());
    return all;
}

Bytes sixPixelsTopFirst() {
    Bytes rows;
    for (const Bytes* pixel : {&kA, &kB, &kC, &kD, &kE, &kF})
        rows.insert(rows.end(), pixel->begin(), pixel->end());
    return rows;
}

// A smooth picture, which JPEG keeps within a few levels.
Bytes smoothRgb(int width, int height) {
    Bytes rgb;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            rgb.insert(rgb.end(), {std::uint8_t(40 + x * 2), std::uint8_t(200 - y * 2),
                                   std::uint8_t(90 + x + y)});
    return rgb;
}

int largestDifference(const std::uint8_t* a, const std::uint8_t* b, std::size_t count) {
    int largest = 0;
    for (std::size_t i = 0; i < count; ++i) largest = std::max(largest, std::abs(a[i] - b[i]));
    return largest;
}

Bytes::iterator findMarker(Bytes& jpeg, std::uint8_t code) {
    const std::uint8_t marker[] = {0xFF, code};
    return std::search(jpeg.begin(), jpeg.end(), marker, marker + 2);
}

// The first byte of the entropy-coded data after the scan header.
std::size_t scanDataStart(Bytes& jpeg) {
    const auto sos = findMarker(jpeg, 0xDA);
    return static_cast<std::size_t>(sos - jpeg.begin()) + 2 + (sos[2] << 8 | sos[3]);
}

}  // namespace

TEST(PictureViewingTest, EveryOrientationTagTurnsAPngAsViewersShowIt) {
    const std::pair<int, Bytes> cases[] = {
        {1, bottomFirst({{kA, kB, kC}, {kD, kE, kF}})},
        {2, bottomFirst({{kC, kB, kA}, {kF, kE, kD}})},
        {3, bottomFirst({{kF, kE, kD}, {kC, kB, kA}})},
        {4, bottomFirst({{kD, kE, kF}, {kA, kB, kC}})},
        {5, bottomFirst({{kA, kD}, {kB, kE}, {kC, kF}})},
        {6, bottomFirst({{kD, kA}, {kE, kB}, {kF, kC}})},
        {7, bottomFirst({{kF, kC}, {kE, kB}, {kD, kA}})},
        {8, bottomFirst({{kC, kF}, {kB, kE}, {kA, kD}})},
    };
    for (const auto& [orientation, expected] : cases) {
        for (const bool bigEndian : {false, true}) {
            const PngSpec spec{3,
                               2,
                               8,
                               SPNG_COLOR_TYPE_TRUECOLOR,
                               sixPixelsTopFirst(),
                               0,
                               false,
                               exifWithOrientation(orientation, bigEndian)};
            const bool turned = orientation >= 5;
            const Picture picture = decoded(writePng(spec), turned ? 2 : 3, turned ? 3 : 2);
            EXPECT_EQ(framePixels(picture), expected) << "orientation " << orientation;
        }
    }
}

TEST(PictureViewingTest, JpegAndWebpTurnByTheirExifBlocks) {
    // A phone's portrait photo: stored on its side, red on the left and blue on the right,
    // to be turned a quarter clockwise: red on top, blue below.
    constexpr int kWidth = 32, kHeight = 16;
    Bytes rgb;
    for (int i = 0; i < kWidth * kHeight; ++i) {
        const bool left = i % kWidth < kWidth / 2;
        rgb.insert(rgb.end(), {std::uint8_t(left ? 220 : 20), 20, std::uint8_t(left ? 20 : 220)});
    }
    Bytes jpeg = encodeJpeg(kWidth, kHeight, rgb.data(), 95);
    const Bytes exif = exifWithOrientation(6, true, true);
    Bytes app1 = {0xFF, 0xE1, std::uint8_t((exif.size() + 2) >> 8), std::uint8_t(exif.size() + 2)};
    app1.insert(app1.end(), exif.begin(), exif.end());
    jpeg.insert(jpeg.begin() + 2, app1.begin(), app1.end());
    const Picture portrait = decoded(jpeg, kHeight, kWidth);
    const std::uint8_t* top = portrait.frames[0].pixels.get() + 3 * kHeight * (kWidth - 2);
    const std::uint8_t* bottom = portrait.frames[0].pixels.get() + 3 * kHeight * 2;
    EXPECT_GT(top[0], 180);
    EXPECT_LT(top[2], 60);
    EXPECT_LT(bottom[0], 60);
    EXPECT_GT(bottom[2], 180);

    // WebP keeps the block without JPEG's prefix; a quarter anticlockwise.
    const Bytes storedBottomFirst = bottomFirst({{kA, kB, kC}, {kD, kE, kF}});
    const Bytes lossless = encodeWebpLossless(3, 2, 3, storedBottomFirst.data());
    const WebPData image{lossless.data(), lossless.size()};
    WebPMux* mux = WebPMuxCreate(&image, 1);
    ASSERT_NE(mux, nullptr);
    const Bytes webpExif = exifWithOrientation(8, false);
    const WebPData exifData{webpExif.data(), webpExif.size()};
    ASSERT_EQ(WebPMuxSetChunk(mux, "EXIF", &exifData, 1), WEBP_MUX_OK);
    WebPData assembled{};
    ASSERT_EQ(WebPMuxAssemble(mux, &assembled), WEBP_MUX_OK);
    const Bytes webp(assembled.bytes, assembled.bytes + assembled.size);
    WebPDataClear(&assembled);
    WebPMuxDelete(mux);
    EXPECT_EQ(framePixels(decoded(webp, 2, 3)), bottomFirst({{kC, kF}, {kB, kE}, {kA, kD}}));
}

TEST(PictureViewingTest, ExifOrientationReadsOnlyWithinItsBlock) {
    EXPECT_EQ(exifOrientation(exifWithOrientation(6, false, true)), Orientation::quarterClockwise);
    const Bytes whole = exifWithOrientation(3, true);
    EXPECT_EQ(exifOrientation(whole), Orientation::halfTurn);
    // Cut anywhere before the value, the block has no orientation; the sanitizers see any read
    // past the cut.
    for (std::size_t length = 0; length < 20; ++length) {
        const std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + length);
        EXPECT_EQ(exifOrientation(cut), Orientation::asStored) << length;
    }
    Bytes outOfRange = whole;
    outOfRange[19] = 9;
    EXPECT_EQ(exifOrientation(outOfRange), Orientation::asStored);
    Bytes farDirectory = whole;
    farDirectory[4] = 0xFF;  // the first directory's offset points far past the block
    EXPECT_EQ(exifOrientation(farDirectory), Orientation::asStored);
}

TEST(PictureViewingTest, PngGammaIsAppliedUnlessAnSrgbChunkSaysOtherwise) {
    // Gamma 1 (linear samples) shown on a display of gamma 2.2: 64 shows as 136, 200 as 228.
    PngSpec linear{2, 1, 8, SPNG_COLOR_TYPE_GRAYSCALE, {64, 200}, 1.0, false, {}};
    const Bytes brighter = {136, 136, 136, 228, 228, 228};
    EXPECT_EQ(framePixels(decoded(writePng(linear), 2, 1)), brighter);
    // Gamma 1/2.2, that of most files, leaves the samples as they are.
    PngSpec usual = linear;
    usual.gamma = 0.45455;
    EXPECT_EQ(framePixels(decoded(writePng(usual), 2, 1)), (Bytes{64, 64, 64, 200, 200, 200}));
    PngSpec srgb = linear;
    srgb.srgb = true;
    EXPECT_EQ(framePixels(decoded(writePng(srgb), 2, 1)), (Bytes{64, 64, 64, 200, 200, 200}));
    // 16-bit samples keep the dark levels that 8 bits would lose: 0x0080 of 65535 is below
    // one 8-bit level, and shows as 15 at gamma 1.
    const std::uint16_t deepSamples[] = {0x0080, 0x4000};
    Bytes deepRows(sizeof deepSamples);
    std::memcpy(deepRows.data(), deepSamples, sizeof deepSamples);
    PngSpec deep{2, 1, 16, SPNG_COLOR_TYPE_GRAYSCALE, deepRows, 1.0, false, {}};
    EXPECT_EQ(framePixels(decoded(writePng(deep), 2, 1)), (Bytes{15, 15, 15, 136, 136, 136}));
    // Transparency is composited over black after the gamma: half-covered 200 shows as 114.
    PngSpec withAlpha{1, 1, 8, SPNG_COLOR_TYPE_GRAYSCALE_ALPHA, {200, 128}, 1.0, false, {}};
    EXPECT_EQ(framePixels(decoded(writePng(withAlpha), 1, 1)), (Bytes{114, 114, 114}));
}

TEST(PictureViewingTest, DamagedJpegDataIsShownWithAWarning) {
    constexpr int kWidth = 64, kHeight = 64;
    const Bytes rgb = smoothRgb(kWidth, kHeight);
    const Bytes whole = encodeJpeg(kWidth, kHeight, rgb.data(), 95);
    const std::size_t rowBytes = 3 * kWidth;
    // Top rows decode as in the whole file; they are the last rows of the bottom-first buffer.
    const auto topRowsMatch = [&](const Picture& picture, int rows) {
        const std::size_t at = rowBytes * (kHeight - rows);
        return largestDifference(picture.frames[0].pixels.get() + at, rgb.data() + at,
                                 rowBytes * rows) <= 8;
    };

    Bytes scanned = whole;
    const std::size_t scanStart = scanDataStart(scanned);
    const Bytes cut(whole.begin(),
                    whole.begin() + static_cast<std::ptrdiff_t>(
                                        scanStart + (whole.size() - scanStart) * 6 / 10));
    const Picture shortened =
        decoded(cut, kWidth, kHeight, "truncated JPEG file, shown as far as it goes");
    EXPECT_TRUE(topRowsMatch(shortened, 16));
    const Bytes noEnd(whole.begin(), whole.end() - 2);
    EXPECT_TRUE(topRowsMatch(
        decoded(noEnd, kWidth, kHeight, "truncated JPEG file, shown as far as it goes"), 64));

    // A marker in the middle of the coded data ends it early.
    Bytes marked = whole;
    const std::size_t start = scanDataStart(marked);
    marked[start + (marked.size() - start) / 2] = 0xFF;
    marked[start + (marked.size() - start) / 2 + 1] = 0xD9;
    const Picture early =
        decoded(marked, kWidth, kHeight, "damaged JPEG data (premature end of data segment)");
    EXPECT_TRUE(topRowsMatch(early, 16));

    // Stray bytes between the start marker and the next are skipped, as viewers skip them.
    Bytes stray = whole;
    stray.insert(stray.begin() + 2, {0x00, 0x17});
    EXPECT_EQ(framePixels(decoded(stray, kWidth, kHeight)), framePixels(decoded(whole, 64, 64)));

    // Cut inside the header, nothing can be shown.
    const Bytes header(whole.begin(), whole.begin() + 100);
    EXPECT_EQ(outcomeOf(header).status, LoadStatus::truncated);
    EXPECT_EQ(outcomeOf(header).reason, "truncated JPEG file");
}

TEST(PictureViewingTest, UnsupportedAndCorruptJpegsAreToldApart) {
    const Bytes rgb = smoothRgb(16, 16);
    const Bytes baseline = encodeJpeg(16, 16, rgb.data(), 90);
    Bytes twelveBit = baseline;
    findMarker(twelveBit, 0xC0)[4] = 12;  // the frame header's sample precision
    EXPECT_EQ(outcomeOf(twelveBit).status, LoadStatus::unsupported);
    EXPECT_EQ(outcomeOf(twelveBit).reason, "unsupported JPEG (12-bit samples)");
    Bytes lossless = baseline;
    findMarker(lossless, 0xC0)[1] = 0xC3;
    EXPECT_EQ(outcomeOf(lossless).status, LoadStatus::unsupported);
    EXPECT_EQ(outcomeOf(lossless).reason, "unsupported JPEG (lossless coding)");

    Bytes badLength = baseline;
    findMarker(badLength, 0xC0)[3] = 3;  // a frame header too short for its fields
    const LoadOutcome corrupt = outcomeOf(badLength);
    EXPECT_EQ(corrupt.status, LoadStatus::corrupt);
    EXPECT_EQ(corrupt.reason.rfind("corrupt JPEG data (", 0), 0u) << corrupt.reason;
    EXPECT_EQ(corrupt.reason.find("Corrupt"), std::string::npos) << corrupt.reason;
}

TEST(PictureViewingTest, PngCutBeforeItsImageDataIsTruncatedAndOneWithoutAnyIsCorrupt) {
    const Bytes rgb = smoothRgb(8, 8);
    const Bytes png = encodePng(8, 8, 3, rgb.data());
    const Bytes idat = {'I', 'D', 'A', 'T'};
    const auto idatType = std::search(png.begin(), png.end(), idat.begin(), idat.end());
    ASSERT_NE(idatType, png.end());
    const Bytes beforeImage(png.begin(), idatType - 4);
    EXPECT_EQ(outcomeOf(beforeImage).status, LoadStatus::truncated);
    EXPECT_EQ(outcomeOf(beforeImage).reason, "truncated PNG file");

    // The image data chunk taken out: the end chunk follows the header.
    const std::size_t idatLength =
        idatType[-4] << 24 | idatType[-3] << 16 | idatType[-2] << 8 | idatType[-1];
    Bytes noImage(png.begin(), idatType - 4);
    noImage.insert(noImage.end(), idatType + 4 + static_cast<std::ptrdiff_t>(idatLength) + 4,
                   png.end());
    EXPECT_EQ(outcomeOf(noImage).status, LoadStatus::corrupt);
    EXPECT_EQ(outcomeOf(noImage).reason, "corrupt PNG data (no image data)");
}

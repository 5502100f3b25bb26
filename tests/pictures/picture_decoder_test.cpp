// decodePicture over files written by the formats' own libraries: the pixels each format
// decodes to, animation frames and delays, and the reason given for each kind of bad file.
#include "pictures/picture_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <cstdlib>

#include "pictures/bmp_encoder.h"
#include "pictures/picture_encoders.h"
#include "tests/bmp/bmp_fixtures.h"

namespace {

std::vector<std::uint8_t> framePixels(const Picture& picture, std::size_t frame = 0) {
    const std::uint8_t* pixels = picture.frames.at(frame).pixels.get();
    return {pixels, pixels + std::size_t{3} * picture.width * picture.height};
}

// Decodes and expects success with the given size.
Picture decoded(const std::vector<std::uint8_t>& file, int width, int height) {
    Picture picture;
    const LoadOutcome outcome = decodePicture(file, picture);
    EXPECT_TRUE(outcome.ok()) << outcome.reason;
    EXPECT_EQ(picture.width, width);
    EXPECT_EQ(picture.height, height);
    return picture;
}

LoadOutcome failure(const std::vector<std::uint8_t>& file, const PictureLimits& limits = {}) {
    Picture picture;
    return decodePicture(file, picture, limits);
}

std::vector<std::uint8_t> firstHalf(const std::vector<std::uint8_t>& file) {
    return {file.begin(), file.begin() + static_cast<std::ptrdiff_t>(file.size() / 2)};
}

// A smooth picture, which JPEG keeps within a few levels at high quality.
std::vector<std::uint8_t> smoothRgb(int width, int height) {
    std::vector<std::uint8_t> rgb;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            rgb.push_back(static_cast<std::uint8_t>(40 + x * 4));
            rgb.push_back(static_cast<std::uint8_t>(200 - y * 3));
            rgb.push_back(static_cast<std::uint8_t>(90 + (x + y) * 2));
        }
    return rgb;
}

constexpr std::array<std::uint8_t, 2> kStartOfScan = {0xFF, 0xDA};

int largestDifference(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
    int largest = 0;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        largest = std::max(largest, std::abs(a[i] - b[i]));
    return largest;
}

}  // namespace

TEST(PictureDecoderTest, PngDecodesToItsRgbRowsBottomFirst) {
    const auto rgb = fixtures::patternRgb(5, 3);
    const Picture picture = decoded(encodePng(5, 3, 3, rgb.data()), 5, 3);
    ASSERT_EQ(picture.frames.size(), 1u);
    EXPECT_EQ(picture.frames[0].delayMs, 0);
    EXPECT_EQ(framePixels(picture), rgb);
}

TEST(PictureDecoderTest, TransparencyIsCompositedOverBlackInPngAndWebp) {
    // Opaque red, half-transparent green, fully transparent white.
    const std::vector<std::uint8_t> rgba = {255, 0, 0, 255, 0, 200, 0, 128, 255, 255, 255, 0};
    const std::vector<std::uint8_t> expected = {255, 0, 0, 0, 100, 0, 0, 0, 0};
    EXPECT_EQ(framePixels(decoded(encodePng(3, 1, 4, rgba.data()), 3, 1)), expected);
    const auto webp = framePixels(decoded(encodeWebpLossless(3, 1, 4, rgba.data()), 3, 1));
    EXPECT_LE(largestDifference(webp, expected), 1);
}

TEST(PictureDecoderTest, JpegDecodesCloseToItsPixelsBottomFirst) {
    const auto rgb = smoothRgb(32, 24);
    const Picture picture = decoded(encodeJpeg(32, 24, rgb.data(), 100), 32, 24);
    EXPECT_LE(largestDifference(framePixels(picture), rgb), 6);
}

// Asked for at most a quarter of its size, a JPEG decodes at a quarter: each pixel close to
// the mean of the 4 x 4 it stands for, and the file's size kept beside.
TEST(PictureDecoderTest, JpegDecodesSmallerWhenItsUseAllows) {
    const auto rgb = smoothRgb(64, 48);
    PictureLimits limits;
    limits.largestReduction = [](int width, int height) {
        return width == 64 && height == 48 ? 5 : 1;
    };
    Picture picture;
    ASSERT_TRUE(decodePicture(encodeJpeg(64, 48, rgb.data(), 100), picture, limits).ok());
    ASSERT_EQ(picture.width, 16);
    ASSERT_EQ(picture.height, 12);
    EXPECT_EQ(picture.fileWidth, 64);
    EXPECT_EQ(picture.fileHeight, 48);
    std::vector<std::uint8_t> means;
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x)
            for (int c = 0; c < 3; ++c) {
                int sum = 0;
                for (int dy = 0; dy < 4; ++dy)
                    for (int dx = 0; dx < 4; ++dx)
                        sum += rgb[std::size_t(((y * 4 + dy) * 64 + x * 4 + dx) * 3 + c)];
                means.push_back(std::uint8_t((sum + 8) / 16));
            }
    EXPECT_LE(largestDifference(framePixels(picture), means), 6);
}

// Damage that stops the library part way is shown as far as it decodes, as viewers show it:
// the rows of a one-scan file before the damage (here all of them, the damage in the marker
// after its data), the scans of a progressive one before its damaged scan.
TEST(PictureDecoderTest, JpegDamageThatStopsTheLibraryShowsWhatCameBefore) {
    const auto rgb = smoothRgb(32, 24);
    std::vector<std::uint8_t> baseline = encodeJpeg(32, 24, rgb.data(), 100);
    baseline.insert(baseline.end() - 2, {0xFF, 0xC8, 0x00, 0x02});  // before the end marker
    Picture picture;
    LoadOutcome outcome = decodePicture(baseline, picture);
    ASSERT_TRUE(outcome.ok()) << outcome.reason;
    EXPECT_EQ(outcome.warning.rfind("damaged JPEG data (", 0), 0u) << outcome.warning;
    EXPECT_LE(largestDifference(framePixels(picture), rgb), 6);

    std::vector<std::uint8_t> progressive = encodeJpeg(32, 24, rgb.data(), 100, true);
    const auto lastScan = std::find_end(progressive.begin(), progressive.end(),
                                        kStartOfScan.begin(), kStartOfScan.end());
    ASSERT_NE(lastScan, progressive.end());
    const std::size_t spectrum = std::size_t(lastScan - progressive.begin()) + 5 + 2 * lastScan[4];
    progressive[spectrum] = 63;  // the scan's band now ends before it starts
    progressive[spectrum + 1] = 1;
    outcome = decodePicture(progressive, picture);
    ASSERT_TRUE(outcome.ok()) << outcome.reason;
    EXPECT_EQ(outcome.warning.rfind("damaged JPEG data (", 0), 0u) << outcome.warning;
    EXPECT_EQ(outcome.warning.find(", shown as far as it decodes"),
              outcome.warning.size() - std::strlen(", shown as far as it decodes"));
    // All but the last scan's refinement.
    EXPECT_LE(largestDifference(framePixels(picture), rgb), 12);
}

TEST(PictureDecoderTest, WebpLosslessDecodesToItsPixels) {
    const auto rgb = fixtures::patternRgb(7, 4);
    EXPECT_EQ(framePixels(decoded(encodeWebpLossless(7, 4, 3, rgb.data()), 7, 4)), rgb);
}

TEST(PictureDecoderTest, BmpStillGoesThroughTheBitmapDecoder) {
    const auto rgb = fixtures::patternRgb(3, 2);
    EXPECT_EQ(framePixels(decoded(encodeBmp24(3, 2, rgb.data()), 3, 2)), rgb);
}

TEST(PictureDecoderTest, StillGifDecodesItsPaletteColours) {
    GifSpec gif{3, 2, {{10, 20, 30}, {200, 100, 0}, {0, 0, 255}}, {}};
    gif.frames.push_back({0, 0, 3, 2, {0, 1, 2, 2, 1, 0}});  // top row first
    const Picture picture = decoded(encodeGif(gif), 3, 2);
    ASSERT_EQ(picture.frames.size(), 1u);
    EXPECT_EQ(picture.frames[0].delayMs, 0);
    const std::vector<std::uint8_t> expected = {0,  0,  255, 200, 100, 0, 10, 20, 30,  // bottom row
                                                10, 20, 30,  200, 100, 0, 0,  0,  255};  // top row
    EXPECT_EQ(framePixels(picture), expected);
}

// Four frames on a 4 x 2 screen (palette: 0 black, 1 red, 2 green, 3 blue):
//   1. red everywhere, kept (disposal 1), 100 ms;
//   2. a 2 x 1 green patch at (1, 0), index 0 transparent over its left pixel, then cleared to
//      the background (disposal 2), 10 ms;
//   3. a blue pixel at (3, 1), then the canvas restored (disposal 3), 250 ms;
//   4. an interlaced 1 x 2 green column at (0, 0), 30 ms.
TEST(PictureDecoderTest, AnimatedGifComposesFramesWithTheirDelays) {
    GifSpec gif{4, 2, {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}}, {}};
    gif.frames.push_back({0, 0, 4, 2, std::vector<std::uint8_t>(8, 1), 10, 1});
    gif.frames.push_back({1, 0, 2, 1, {0, 2}, 1, 2, 0});
    gif.frames.push_back({3, 1, 1, 1, {3}, 25, 3});
    gif.frames.push_back({0, 0, 1, 2, {2, 2}, 3, 1, -1, true});
    const Picture picture = decoded(encodeGif(gif), 4, 2);
    ASSERT_EQ(picture.frames.size(), 4u);
    EXPECT_EQ(picture.frames[0].delayMs, 100);
    EXPECT_EQ(picture.frames[1].delayMs, 100);  // under 20 ms: the common default
    EXPECT_EQ(picture.frames[2].delayMs, 250);
    EXPECT_EQ(picture.frames[3].delayMs, 30);

    const std::vector<std::uint8_t> R = {255, 0, 0}, G = {0, 255, 0}, B = {0, 0, 255},
                                    K = {0, 0, 0};
    // Bottom row first, four pixels a row.
    const auto rows = [](std::initializer_list<std::vector<std::uint8_t>> pixels) {
        std::vector<std::uint8_t> bytes;
        for (const auto& pixel : pixels) bytes.insert(bytes.end(), pixel.begin(), pixel.end());
        return bytes;
    };
    EXPECT_EQ(framePixels(picture, 0), rows({R, R, R, R, R, R, R, R}));
    EXPECT_EQ(framePixels(picture, 1), rows({R, R, R, R, R, R, G, R}));
    // Frame 2's patch was cleared to black before frame 3 was drawn.
    EXPECT_EQ(framePixels(picture, 2), rows({R, R, R, B, R, K, K, R}));
    // Frame 3 was undone, so frame 4 draws over the canvas as frame 2 left it.
    EXPECT_EQ(framePixels(picture, 3), rows({G, R, R, R, G, K, K, R}));
}

TEST(PictureDecoderTest, AnimatedWebpKeepsItsFramesAndDurations) {
    const std::vector<std::uint8_t> red = {255, 0, 0, 255, 255, 0, 0, 255};
    const std::vector<std::uint8_t> blueOverHalf = {0, 0, 255, 255, 0, 0, 255, 0};
    const Picture picture =
        decoded(encodeAnimatedWebp(2, 1, {{red, 80}, {blueOverHalf, 120}, {red, 200}}), 2, 1);
    ASSERT_EQ(picture.frames.size(), 3u);
    EXPECT_EQ(picture.frames[0].delayMs, 80);
    EXPECT_EQ(picture.frames[1].delayMs, 120);
    EXPECT_EQ(picture.frames[2].delayMs, 200);
    EXPECT_EQ(framePixels(picture, 0), (std::vector<std::uint8_t>{255, 0, 0, 255, 0, 0}));
    EXPECT_EQ(framePixels(picture, 1), (std::vector<std::uint8_t>{0, 0, 255, 0, 0, 0}));
}

TEST(PictureDecoderTest, HeadersClaimingTooManyPixelsAreRejectedBeforeDecoding) {
    // A picture this size cannot be decoded from these few bytes: a decoder that tried would
    // report the file truncated (or run out of memory), not too large.
    const auto rgb = fixtures::patternRgb(2, 2);
    auto png = encodePng(2, 2, 3, rgb.data());
    fixtures::setU32(png, 16, 0xA0860100);  // IHDR width 100000, big-endian
    fixtures::setU32(png, 20, 0xA0860100);
    // The header's checksum (CRC-32 over chunk type and data) must match the new sizes, or
    // the header is refused as damaged instead.
    std::uint32_t crc = 0xFFFFFFFF;
    for (std::size_t i = 12; i < 29; ++i) {
        crc ^= png[i];
        for (int bit = 0; bit < 8; ++bit) crc = crc >> 1 ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    crc ^= 0xFFFFFFFF;
    const std::uint8_t crcBytes[] = {std::uint8_t(crc >> 24), std::uint8_t(crc >> 16),
                                     std::uint8_t(crc >> 8), std::uint8_t(crc)};
    std::copy(crcBytes, crcBytes + 4, png.begin() + 29);
    const LoadOutcome pngOutcome = failure(png);
    EXPECT_EQ(pngOutcome.status, LoadStatus::tooLarge);
    EXPECT_EQ(pngOutcome.reason,
              "too large: 100000 x 100000 pixels, more than the 134217728 allowed");

    auto jpeg = encodeJpeg(2, 2, rgb.data(), 90);
    // The start-of-frame segment: FF C0, length, precision, height, width (big-endian).
    const std::uint8_t startOfFrame[] = {0xFF, 0xC0};
    const auto sof = std::search(jpeg.begin(), jpeg.end(), startOfFrame, startOfFrame + 2);
    ASSERT_NE(sof, jpeg.end());
    sof[5] = 0xFD, sof[6] = 0xE8, sof[7] = 0xFD, sof[8] = 0xE8;  // 65000 x 65000
    EXPECT_EQ(failure(jpeg).status, LoadStatus::tooLarge);
}

TEST(PictureDecoderTest, AnAnimationsFramesCountTogetherAgainstThePixelLimit) {
    GifSpec gif{10, 10, {{0, 0, 0}, {255, 255, 255}}, {}};
    for (int i = 0; i < 3; ++i)
        gif.frames.push_back({0, 0, 10, 10, std::vector<std::uint8_t>(100, 1), 10});
    const auto file = encodeGif(gif);
    EXPECT_TRUE(failure(file, {300, 10}).ok());
    const LoadOutcome outcome = failure(file, {299, 10});
    EXPECT_EQ(outcome.status, LoadStatus::tooLarge);
    EXPECT_EQ(outcome.reason,
              "too large: 10 x 10 pixels in 3 frames, more than the 299 pixels allowed");
    EXPECT_EQ(failure(file, {1000, 2}).reason, "too large: 3 frames, more than the 2 allowed");
}

// A cut-short JPEG is shown as far as it goes instead (picture_viewing_test.cpp).
TEST(PictureDecoderTest, TruncatedFilesOfEveryFormatSaySo) {
    const auto rgb = smoothRgb(40, 30);
    GifSpec gif{40, 30, {{0, 0, 0}, {255, 255, 255}}, {}};
    gif.frames.push_back({0, 0, 40, 30, std::vector<std::uint8_t>(1200, 1)});
    for (std::size_t i = 0; i < 1200; i += 7) gif.frames[0].indices[i] = 0;
    const std::pair<std::vector<std::uint8_t>, const char*> cases[] = {
        {encodePng(40, 30, 3, rgb.data()), "truncated PNG file"},
        {encodeGif(gif), "truncated GIF file"},
        {encodeWebpLossless(40, 30, 3, rgb.data()), "truncated WebP file"},
        {encodeBmp24(40, 30, rgb.data()), "truncated BMP file"},
    };
    for (const auto& [file, reason] : cases) {
        const LoadOutcome outcome = failure(firstHalf(file));
        EXPECT_EQ(outcome.status, LoadStatus::truncated) << reason;
        EXPECT_EQ(outcome.reason, reason);
        // Even the end marker alone missing counts: the file is not whole.
        const std::vector<std::uint8_t> lastByteCut(file.begin(), file.end() - 1);
        EXPECT_EQ(failure(lastByteCut).reason, reason);
    }
}

TEST(PictureDecoderTest, DamagedDataAndUnknownFormatsAreNamed) {
    const auto rgb = smoothRgb(40, 30);
    auto png = encodePng(40, 30, 3, rgb.data());
    png[png.size() / 2] ^= 0x55;  // inside the image data: its checksum no longer matches
    const LoadOutcome pngOutcome = failure(png);
    EXPECT_EQ(pngOutcome.status, LoadStatus::corrupt);
    EXPECT_EQ(pngOutcome.reason.rfind("corrupt PNG data (", 0), 0u) << pngOutcome.reason;

    // A JPEG whose damage stops the library before its first scan has nothing to show.
    auto jpeg = encodeJpeg(40, 30, rgb.data(), 90);
    const std::array<std::uint8_t, 2> huffmanTable = {0xFF, 0xC4};
    const auto table =
        std::search(jpeg.begin(), jpeg.end(), huffmanTable.begin(), huffmanTable.end());
    ASSERT_NE(table, jpeg.end());
    std::fill(table + 5, table + 21, std::uint8_t{0xFF});  // more codes than a table holds
    EXPECT_EQ(failure(jpeg).status, LoadStatus::corrupt) << failure(jpeg).reason;

    const std::vector<std::uint8_t> text = {'h', 'e', 'l', 'l', 'o', '\n'};
    const LoadOutcome unknown = failure(text);
    EXPECT_EQ(unknown.status, LoadStatus::unknownFormat);
    EXPECT_EQ(unknown.reason, "unknown picture format (not BMP, PNG, JPEG, GIF or WebP)");
}

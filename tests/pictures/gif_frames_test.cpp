// GIF frames as viewers show them: sub-images without a delay building one frame, looping
// files without any delay, empty sub-images, frames whose data ends early, and code tables
// that fill without a clear code.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "pictures/picture_decoder.h"
#include "pictures/picture_encoders.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes framePixels(const Picture& picture, std::size_t frame = 0) {
    const std::uint8_t* pixels = picture.frames.at(frame).pixels.get();
    return {pixels, pixels + std::size_t{3} * picture.width * picture.height};
}

Picture decoded(const Bytes& file, const std::string& warning = "") {
    Picture picture;
    const LoadOutcome outcome = decodePicture(file, picture);
    EXPECT_TRUE(outcome.ok()) << outcome.reason;
    EXPECT_EQ(outcome.warning, warning);
    return picture;
}

const std::vector<std::array<std::uint8_t, 3>> kPalette = {
    {0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};

// The RGB of palette indices, rows given top first, stored bottom first.
Bytes colours(int width, const Bytes& indicesTopFirst) {
    Bytes rgb;
    const auto height = static_cast<int>(indicesTopFirst.size()) / width;
    for (int y = height - 1; y >= 0; --y)
        for (int x = 0; x < width; ++x) {
            const auto& colour = kPalette[indicesTopFirst[std::size_t(y * width + x)]];
            rgb.insert(rgb.end(), colour.begin(), colour.end());
        }
    return rgb;
}

// GIF codes of indices with one clear code, at the start: once the table holds 4096 codes the
// writer goes on with 12-bit codes and adds none, which the format allows.
Bytes codesWithoutLaterClear(const Bytes& indices, int minCodeSize) {
    const int clear = 1 << minCodeSize;
    int next = clear + 2, width = minCodeSize + 1, bitCount = 0;
    std::uint32_t bits = 0;
    Bytes bytes;
    const auto put = [&](int code) {
        bits |= std::uint32_t(code) << bitCount;
        for (bitCount += width; bitCount >= 8; bitCount -= 8, bits >>= 8)
            bytes.push_back(std::uint8_t(bits));
    };
    std::map<std::pair<int, int>, int> table;
    put(clear);
    int prefix = indices[0];
    for (std::size_t i = 1; i < indices.size(); ++i) {
        const auto found = table.find({prefix, indices[i]});
        if (found != table.end()) {
            prefix = found->second;
            continue;
        }
        put(prefix);
        if (next < 4096) {
            table[{prefix, indices[i]}] = next++;
            if (next > (1 << width) && width < 12) ++width;
        }
        prefix = indices[i];
    }
    put(prefix);
    put(clear + 1);  // end of data
    if (bitCount > 0) bytes.push_back(std::uint8_t(bits));
    return bytes;
}

// A one-frame GIF of the four-colour palette with the given codes as its image data.
Bytes gifWithCodes(int width, int height, const Bytes& codes) {
    const auto w = std::uint8_t(width), wHigh = std::uint8_t(width >> 8), h = std::uint8_t(height),
               hHigh = std::uint8_t(height >> 8);
    Bytes file = {'G', 'I', 'F', '8', '9', 'a', w, wHigh, h, hHigh, 0xF1, 0, 0};
    for (const auto& colour : kPalette) file.insert(file.end(), colour.begin(), colour.end());
    file.insert(file.end(), {0x2C, 0, 0, 0, 0, w, wHigh, h, hHigh, 0, 2});
    for (std::size_t at = 0; at < codes.size(); at += 255) {
        const std::size_t count = std::min<std::size_t>(255, codes.size() - at);
        file.push_back(std::uint8_t(count));
        file.insert(file.end(), codes.begin() + at, codes.begin() + at + count);
    }
    file.insert(file.end(), {0, 0x3B});
    return file;
}

Bytes noisyIndices(std::size_t count) {
    Bytes indices;
    std::uint32_t state = 1;
    for (std::size_t i = 0; i < count; ++i) {
        state = state * 1103515245 + 12345;
        indices.push_back(std::uint8_t(state >> 16 & 3));
    }
    return indices;
}

}  // namespace

TEST(GifFramesTest, SubImagesWithoutADelayBuildOneFrame) {
    // A still picture of two tiles: shown whole, never one tile at a time.
    GifSpec tiles{4, 1, kPalette, {}};
    tiles.loops = false;
    tiles.frames.push_back({0, 0, 2, 1, {1, 2}});
    tiles.frames.push_back({2, 0, 2, 1, {3, 1}});
    const Picture still = decoded(encodeGif(tiles));
    ASSERT_EQ(still.frames.size(), 1u);
    EXPECT_EQ(still.frames[0].delayMs, 0);
    EXPECT_EQ(framePixels(still), colours(4, {1, 2, 3, 1}));

    // An animation whose frames are each drawn in two parts, the second with the delay.
    GifSpec parts{4, 1, kPalette, {}};
    parts.frames.push_back({0, 0, 2, 1, {1, 1}});
    parts.frames.push_back({2, 0, 2, 1, {1, 1}, 50});
    parts.frames.push_back({0, 0, 2, 1, {2, 2}});
    parts.frames.push_back({2, 0, 2, 1, {3, 3}, 30});
    const Picture animation = decoded(encodeGif(parts));
    ASSERT_EQ(animation.frames.size(), 2u);
    EXPECT_EQ(animation.frames[0].delayMs, 500);
    EXPECT_EQ(animation.frames[1].delayMs, 300);
    EXPECT_EQ(framePixels(animation, 0), colours(4, {1, 1, 1, 1}));
    EXPECT_EQ(framePixels(animation, 1), colours(4, {2, 2, 3, 3}));
}

TEST(GifFramesTest, ALoopingFileWithoutAnyDelayPlaysEverySubImage) {
    GifSpec spec{2, 1, kPalette, {}};
    for (std::uint8_t colour = 1; colour <= 3; ++colour)
        spec.frames.push_back({0, 0, 2, 1, {colour, colour}});
    const Picture picture = decoded(encodeGif(spec));
    ASSERT_EQ(picture.frames.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(picture.frames[i].delayMs, 100);
        EXPECT_EQ(framePixels(picture, i),
                  colours(2, {Bytes::value_type(i + 1), Bytes::value_type(i + 1)}));
    }
}

TEST(GifFramesTest, EmptySubImagesAndEmptyPicturesAreToldApart) {
    GifSpec spec{3, 1, kPalette, {}};
    spec.loops = false;
    spec.frames.push_back({0, 0, 3, 1, {1, 2, 3}});
    spec.frames.push_back({1, 0, 2, 0, {}});  // no rows: its data is skipped
    spec.frames.push_back({0, 0, 1, 1, {2}});
    Bytes file = encodeGif(spec);
    // giflib writes no data blocks for no pixels; a file has at least their terminator.
    const Bytes emptyDescriptor = {0x2C, 1, 0, 0, 0, 2, 0, 0, 0, 0, 2};
    const auto empty =
        std::search(file.begin(), file.end(), emptyDescriptor.begin(), emptyDescriptor.end());
    ASSERT_NE(empty, file.end());
    file.insert(empty + static_cast<std::ptrdiff_t>(emptyDescriptor.size()), 0);
    EXPECT_EQ(framePixels(decoded(file)), colours(3, {2, 2, 3}));

    // A screen and a sub-image of no height; giflib writes no such file, so one is patched.
    GifSpec flat{3, 1, kPalette, {}};
    flat.frames.push_back({0, 0, 3, 1, {1, 2, 3}});
    Bytes flatFile = encodeGif(flat);
    const Bytes descriptor = {0x2C, 0, 0, 0, 0, 3, 0, 1, 0};
    const auto sub =
        std::search(flatFile.begin(), flatFile.end(), descriptor.begin(), descriptor.end());
    ASSERT_NE(sub, flatFile.end());
    flatFile[8] = 0;
    sub[7] = 0;
    Picture picture;
    const LoadOutcome outcome = decodePicture(flatFile, picture);
    EXPECT_EQ(outcome.status, LoadStatus::corrupt);
    EXPECT_EQ(outcome.reason, "corrupt: the picture is 3 x 0 pixels");
}

TEST(GifFramesTest, ACodeTableThatFillsWithoutAClearCodeDecodes) {
    // 40000 noisy pixels of four colours fill the 4096 codes many times over.
    const Bytes indices = noisyIndices(200 * 200);
    const Picture picture = decoded(gifWithCodes(200, 200, codesWithoutLaterClear(indices, 2)));
    ASSERT_EQ(picture.width, 200);
    EXPECT_EQ(framePixels(picture), colours(200, indices));
}

// A minimum code size of 11 (clear code 2048: the table fills after 2046 codes and the writer
// goes on without a clear code) is refused by giflib but shown by browsers, and here.
TEST(GifFramesTest, AMinimumCodeSizeAboveEightDecodesWithItsFullTable) {
    const Bytes indices = noisyIndices(200 * 200);
    Bytes file = gifWithCodes(200, 200, codesWithoutLaterClear(indices, 11));
    file[13 + 3 * kPalette.size() + 10] = 11;  // the code size after the image descriptor
    const Picture picture = decoded(file);
    ASSERT_EQ(picture.width, 200);
    EXPECT_EQ(framePixels(picture), colours(200, indices));
}

TEST(GifFramesTest, AFrameWhoseDataEndsEarlyIsShownAsFarAsItGoes) {
    // Codes for the first two of four rows, then the end code.
    const Bytes indices = noisyIndices(16);
    const Bytes firstRows(indices.begin(), indices.begin() + 8);
    const Picture picture = decoded(gifWithCodes(4, 4, codesWithoutLaterClear(firstRows, 2)),
                                    "damaged GIF data (a frame ends before its last pixel)");
    Bytes expected = firstRows;
    expected.resize(16, 0);  // the rest stays unlit
    EXPECT_EQ(framePixels(picture), colours(4, expected));
}

// Writers of the picture formats the program reads besides BMP, through the same libraries:
// the review mode writes PNG screenshots, and tests and the sample-picture tool write every
// format. Each returns the file's bytes, or no bytes when the library fails.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

// pixels: width * height * channels bytes (3: R G B, 4: R G B A), bottom row first.
std::vector<std::uint8_t> encodePng(int width, int height, int channels,
                                    const std::uint8_t* pixels);

// rgb: width * height * 3 bytes, bottom row first. quality 1 to 100; progressive: in scans of
// increasing detail, as libjpeg's simple progression writes them.
std::vector<std::uint8_t> encodeJpeg(int width, int height, const std::uint8_t* rgb, int quality,
                                     bool progressive = false);

struct GifFrameSpec {
    int left = 0, top = 0, width = 0, height = 0;  // on the logical screen
    std::vector<std::uint8_t> indices;             // width * height, TOP row first, as GIF stores
    int delayCentiseconds = 0;
    int disposal = 0;           // 0 unspecified, 1 keep, 2 clear to background, 3 restore previous
    int transparentIndex = -1;  // -1 for none
    bool interlaced = false;
};

struct GifSpec {
    int width = 0, height = 0;
    std::vector<std::array<std::uint8_t, 3>> palette;  // global colour table, 2 to 256 entries
    std::vector<GifFrameSpec> frames;
    bool loops = true;  // with more than one frame, whether the file asks to loop
};

// A GIF89a file; more than one frame makes it loop forever unless loops is false.
std::vector<std::uint8_t> encodeGif(const GifSpec& spec);

// pixels as for encodePng; lossless, so the decoded pixels are the given ones.
std::vector<std::uint8_t> encodeWebpLossless(int width, int height, int channels,
                                             const std::uint8_t* pixels);

struct WebpFrameSpec {
    std::vector<std::uint8_t> rgba;  // width * height * 4, bottom row first
    int durationMs = 0;
};

// A lossless animated WebP whose frames all cover the whole canvas.
std::vector<std::uint8_t> encodeAnimatedWebp(int width, int height,
                                             const std::vector<WebpFrameSpec>& frames);

// A decoded picture file of any supported format, still or animated, in the shape textures
// take: tightly packed RGB rows, bottom row first, as RgbImage. Transparent pixels are
// composited over black, which is what an unlit LED shows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bmp/pixel_buffer.h"
#include "files/load_outcome.h"

struct PictureFrame {
    PixelBuffer pixels;  // width * height * 3 bytes, R G B, bottom row first
    int delayMs = 0;     // how long the frame stays up; 0 in a still picture
};

struct Picture {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<PictureFrame> frames;  // one for a still picture, in showing order otherwise
    // The file's own size, when its decoder made the pixels smaller (a JPEG at 1/2, 1/4 or
    // 1/8, see PictureLimits::largestReduction); 0 when the pixels have that size.
    std::int32_t fileWidth = 0;
    std::int32_t fileHeight = 0;

    bool animated() const { return frames.size() > 1; }
};

// The same budget as the BMP loader's: 2^27 pixels is a 16384 x 8192 picture, 384 MiB of RGB,
// as large as the biggest texture common GL drivers take. An animation's frames count
// together, since each of them is kept decoded.
constexpr std::uint64_t kMaxPicturePixelCount = std::uint64_t{1} << 27;

// An animation's frames are shown from one texture, so only their records count here: the
// pixel budget bounds their memory, this the bookkeeping of many tiny frames. 20000 frames run
// over eleven minutes at 30 a second.
constexpr int kMaxPictureFrameCount = 20000;

// An animation frame shown for less than this is taken as the common 100 ms, as web browsers
// do: such delays are mostly written by tools that meant "no delay given".
constexpr int kShortestFrameDelayMs = 20;
constexpr int kDefaultFrameDelayMs = 100;

struct PictureLimits {
    std::uint64_t maxPixelCount = kMaxPicturePixelCount;  // all frames together
    int maxFrameCount = kMaxPictureFrameCount;
    // Asked with a file's size (as stored, before any EXIF turn) by a decoder that can make
    // its pixels smaller as it decodes (JPEG): the largest reduction, 1, 2, 4 or 8, that the
    // picture's use allows. Null: the file's size.
    int (*largestReduction)(int width, int height) = nullptr;
};

// "too large: W x H pixels in N frames, more than the M allowed", or ok when within limits.
LoadOutcome checkPictureSize(std::uint64_t width, std::uint64_t height, std::uint64_t frameCount,
                             const PictureLimits& limits);

// The frame delay to use for a delay given in the file.
int frameDelayMs(int fileDelayMs);

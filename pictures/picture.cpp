// The size checks every decoder makes before allocating its picture.
#include "pictures/picture.h"

#include <cstdio>

LoadOutcome checkPictureSize(std::uint64_t width, std::uint64_t height, std::uint64_t frameCount,
                             const PictureLimits& limits) {
    char text[160];
    if (width == 0 || height == 0) {
        std::snprintf(text, sizeof text, "corrupt: the picture is %llu x %llu pixels",
                      static_cast<unsigned long long>(width),
                      static_cast<unsigned long long>(height));
        return loadFailure(LoadStatus::corrupt, text);
    }
    if (frameCount > static_cast<std::uint64_t>(limits.maxFrameCount)) {
        std::snprintf(text, sizeof text, "too large: %llu frames, more than the %d allowed",
                      static_cast<unsigned long long>(frameCount), limits.maxFrameCount);
        return loadFailure(LoadStatus::tooLarge, text);
    }
    // Sides come from 32-bit header fields at most, so width * height cannot overflow, and a
    // frame count within its limit keeps the product far below 2^64.
    if (width > UINT32_MAX || height > UINT32_MAX ||
        width * height * frameCount > limits.maxPixelCount) {
        if (frameCount > 1) {
            std::snprintf(text, sizeof text,
                          "too large: %llu x %llu pixels in %llu frames, more than the %llu "
                          "pixels allowed",
                          static_cast<unsigned long long>(width),
                          static_cast<unsigned long long>(height),
                          static_cast<unsigned long long>(frameCount),
                          static_cast<unsigned long long>(limits.maxPixelCount));
        } else {
            std::snprintf(
                text, sizeof text, "too large: %llu x %llu pixels, more than the %llu allowed",
                static_cast<unsigned long long>(width), static_cast<unsigned long long>(height),
                static_cast<unsigned long long>(limits.maxPixelCount));
        }
        return loadFailure(LoadStatus::tooLarge, text);
    }
    return {};
}

int frameDelayMs(int fileDelayMs) {
    return fileDelayMs < kShortestFrameDelayMs ? kDefaultFrameDelayMs : fileDelayMs;
}

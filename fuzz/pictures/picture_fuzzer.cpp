// libFuzzer target for the picture decoding glue: any bytes as a whole file, through format
// detection, each format's decoder with its frame composition and reduced decoding, and the
// area filter. A decoded picture must keep its promises (a size within the limits, every
// frame's pixels there, delays only in animations), and every byte is read so the sanitizers
// see a short buffer. The build and run commands are in docs/benchmarks/pictures.md.
#include <cstdint>
#include <cstdlib>

#include "pictures/picture_decoder.h"
#include "pictures/picture_scale.h"

namespace {

// Small limits keep each input fast; larger pictures only take the same paths longer.
constexpr PictureLimits kFuzzLimits{std::uint64_t{1} << 20, 64};

// The reduction a decoder may make, taken from the input (see LLVMFuzzerTestOneInput).
int inputReduction = 1;
int largestReduction(int, int) {
    return inputReduction;
}

void readEveryByte(const Picture& picture) {
    const std::size_t byteCount = std::size_t{3} * picture.width * picture.height;
    volatile unsigned sum = 0;
    for (const PictureFrame& frame : picture.frames) {
        if (!frame.pixels) std::abort();
        for (std::size_t i = 0; i < byteCount; ++i) sum = sum + frame.pixels[i];
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Picture picture;
    PictureLimits limits = kFuzzLimits;
    inputReduction = size > 0 ? 1 << (data[size - 1] >> 6) : 1;
    limits.largestReduction = largestReduction;
    const LoadOutcome outcome = decodePicture({data, size}, picture, limits);
    if (!outcome.ok()) {
        if (outcome.reason.empty() || !picture.frames.empty()) std::abort();
        return 0;
    }
    const std::uint64_t frameCount = picture.frames.size();
    if (picture.width <= 0 || picture.height <= 0 || frameCount == 0 ||
        frameCount > static_cast<std::uint64_t>(kFuzzLimits.maxFrameCount) ||
        std::uint64_t{static_cast<std::uint32_t>(picture.width)} *
                static_cast<std::uint32_t>(picture.height) * frameCount >
            kFuzzLimits.maxPixelCount) {
        std::abort();
    }
    for (const PictureFrame& frame : picture.frames) {
        if (picture.animated() ? frame.delayMs < kShortestFrameDelayMs : frame.delayMs != 0) {
            std::abort();
        }
    }
    // A picture decoded smaller than its file is never larger than it.
    if (picture.fileWidth != 0 &&
        (picture.fileWidth < picture.width || picture.fileHeight < picture.height))
        std::abort();
    readEveryByte(picture);

    // A texture limit taken from the input, so the filter meets every kind of ratio.
    const int maxSide = 1 + data[size - 1] % 61;
    if (!fitPicture(picture, maxSide)) return 0;
    if (picture.width > maxSide || picture.height > maxSide || picture.width < 1 ||
        picture.height < 1) {
        std::abort();
    }
    readEveryByte(picture);
    return 0;
}

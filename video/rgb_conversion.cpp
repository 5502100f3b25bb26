// RgbConversion through libswscale. Rows go out bottom first by handing the converter the last
// row and a negative stride, so no second pass flips them. The converter's vector loops store
// whole blocks, up to a few bytes past the end of a row: tight rows whose length is not a
// multiple of the block would have the row before overwritten and the last one run past the
// buffer, so such frames are converted into padded rows and copied.
#include "video/rgb_conversion.h"

#include <cstring>

extern "C" {
#include <libavutil/frame.h>
#include <libswscale/swscale.h>
}

namespace {

// The widest store of the converter's vector loops, in bytes.
constexpr int kStoreBlock = 64;

}  // namespace

RgbConversion::~RgbConversion() {
    sws_freeContext(context_);
}

bool RgbConversion::convert(const AVFrame& frame, std::uint8_t* rgb, int width, int height) {
    // Same size: a bilinear filter is a plain colour conversion. Shrinking: the area filter,
    // as for pictures larger than a texture.
    const bool shrinking = width < frame.width || height < frame.height;
    context_ = sws_getCachedContext(
        context_, frame.width, frame.height, static_cast<AVPixelFormat>(frame.format), width,
        height, AV_PIX_FMT_RGB24, shrinking ? SWS_AREA : SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (context_ == nullptr) return false;
    const int stride = width * 3;
    if (stride % kStoreBlock == 0 && reinterpret_cast<std::uintptr_t>(rgb) % kStoreBlock == 0) {
        std::uint8_t* rows[4] = {rgb + static_cast<std::ptrdiff_t>(height - 1) * stride};
        const int strides[4] = {-stride};
        return sws_scale(context_, frame.data, frame.linesize, 0, frame.height, rows, strides) ==
               height;
    }
    const int paddedStride = (stride + kStoreBlock - 1) / kStoreBlock * kStoreBlock;
    paddedRows_.resize(std::size_t(paddedStride) * height + kStoreBlock);
    std::uint8_t* rows[4] = {paddedRows_.data() +
                             static_cast<std::ptrdiff_t>(height - 1) * paddedStride};
    const int strides[4] = {-paddedStride};
    if (sws_scale(context_, frame.data, frame.linesize, 0, frame.height, rows, strides) != height)
        return false;
    for (int row = 0; row < height; ++row)
        std::memcpy(rgb + std::size_t(row) * stride,
                    paddedRows_.data() + std::size_t(row) * paddedStride, stride);
    return true;
}

// RgbConversion through libswscale. Rows go out bottom first by handing the converter the last
// row and a negative stride, so no second pass flips them.
#include "video/rgb_conversion.h"

extern "C" {
#include <libavutil/frame.h>
#include <libswscale/swscale.h>
}

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
    std::uint8_t* rows[4] = {rgb + static_cast<std::ptrdiff_t>(height - 1) * stride};
    const int strides[4] = {-stride};
    return sws_scale(context_, frame.data, frame.linesize, 0, frame.height, rows, strides) ==
           height;
}

// RgbConversion through libswscale. Rows go out bottom first by handing the converter the last
// row and a negative stride, so no second pass flips them. The converter's vector loops store
// whole blocks, up to a few bytes past the end of a row: tight rows whose length is not a
// multiple of the block would have the row before overwritten and the last one run past the
// buffer, so such frames are converted into padded rows and copied.
#include "video/rgb_conversion.h"

#include <algorithm>
#include <cstring>

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

#include "video/colour_details.h"

namespace {

// The widest store of the converter's vector loops, in bytes.
constexpr int kStoreBlock = 64;

// Source rows converted at a time: a multiple of every chroma subsampling, and a band of 4K
// RGBA small enough to stay in a core's cache for what is done with it next.
constexpr int kBandRows = 16;

// Frames whose planes are not all rows of pixels (a palette, bits packed across rows) go
// through whole, and so do frames that are scaled: the scaler's own slices are not safe
// with every ratio, while a plain colour conversion takes rows as they come.
int bandRowsOf(const AVPixFmtDescriptor* descriptor, int height, bool scaled) {
    const bool rows = !scaled && descriptor != nullptr &&
                      !(descriptor->flags & (AV_PIX_FMT_FLAG_PAL | AV_PIX_FMT_FLAG_BITSTREAM |
                                             AV_PIX_FMT_FLAG_HWACCEL)) &&
                      (1 << descriptor->log2_chroma_h) <= kBandRows;
    return rows ? kBandRows : std::max(height, 1);
}

// The converter takes a band's planes from the band's first row; chroma planes (1 and 2) have
// fewer rows.
void bandPlanes(const AVFrame& frame, const AVPixFmtDescriptor& descriptor, int planeCount,
                int band, const std::uint8_t* planes[4]) {
    for (int plane = 0; plane < 4; ++plane) {
        planes[plane] = frame.data[plane];
        if (plane >= planeCount || frame.data[plane] == nullptr) continue;
        const int shift = (plane == 1 || plane == 2) ? descriptor.log2_chroma_h : 0;
        planes[plane] += static_cast<std::ptrdiff_t>(band >> shift) * frame.linesize[plane];
    }
}

// Four bytes a pixel are RGBA: opaque, or a video's own alpha, which the billboard never reads.
AVPixelFormat outputFormat(int channels) {
    return channels == 4 ? AV_PIX_FMT_RGBA : AV_PIX_FMT_RGB24;
}

}  // namespace

// The colours as players show them (colourDetailsOf), into full-range RGB: the converter's
// default would be standard definition's matrix and video range for every stream. A converter
// made anew (`rebuilt`: a size or format changed) takes them again.
void RgbConversion::applyColourDetails(const AVFrame& frame, const AVPixFmtDescriptor* descriptor,
                                       bool rebuilt) {
    if (descriptor == nullptr || (descriptor->flags & AV_PIX_FMT_FLAG_RGB)) return;
    const ColourDetails details = colourDetailsOf(frame);
    const int fullRange = details.fullRange ? 1 : 0;
    if (!rebuilt && details.matrix == detailsMatrix_ && fullRange == detailsRange_) return;
    sws_setColorspaceDetails(context_, sws_getCoefficients(details.matrix), fullRange,
                             sws_getCoefficients(SWS_CS_DEFAULT), 1, 0, 1 << 16, 1 << 16);
    detailsMatrix_ = details.matrix;
    detailsRange_ = fullRange;
}

RgbConversion::~RgbConversion() {
    sws_freeContext(context_);
}

// The frame goes through in bands of source rows, and `rowsDone` hears of the rows each band
// finished while they are still in the processor's cache.
bool RgbConversion::convert(const AVFrame& frame, std::uint8_t* rgb, int width, int height,
                            int channels, const ConvertedRows& rowsDone) {
    // Same size: a bilinear filter is a plain colour conversion. Shrinking: the area filter,
    // as for pictures larger than a texture.
    const bool shrinking = width < frame.width || height < frame.height;
    const std::array<int, 5> shape = {frame.width, frame.height, frame.format, width * 8 + channels,
                                      height};
    const bool rebuilt = shape != contextShape_;
    contextShape_ = shape;
    context_ = sws_getCachedContext(context_, frame.width, frame.height,
                                    static_cast<AVPixelFormat>(frame.format), width, height,
                                    outputFormat(channels), shrinking ? SWS_AREA : SWS_BILINEAR,
                                    nullptr, nullptr, nullptr);
    if (context_ == nullptr) return false;
    const AVPixFmtDescriptor* descriptor =
        av_pix_fmt_desc_get(static_cast<AVPixelFormat>(frame.format));
    applyColourDetails(frame, descriptor, rebuilt);
    const int stride = width * channels;
    const bool tight =
        stride % kStoreBlock == 0 && reinterpret_cast<std::uintptr_t>(rgb) % kStoreBlock == 0;
    const int outStride = tight ? stride : (stride + kStoreBlock - 1) / kStoreBlock * kStoreBlock;
    if (!tight) paddedRows_.resize(std::size_t(outStride) * height + kStoreBlock);
    std::uint8_t* out = tight ? rgb : paddedRows_.data();
    std::uint8_t* rows[4] = {out + static_cast<std::ptrdiff_t>(height - 1) * outStride};
    const int strides[4] = {-outStride};
    const bool scaled = width != frame.width || height != frame.height;
    const int bandHeight = bandRowsOf(descriptor, frame.height, scaled);
    const int planeCount = av_pix_fmt_count_planes(static_cast<AVPixelFormat>(frame.format));
    int written = 0;  // output rows so far, from the top of the picture
    for (int band = 0; band < frame.height; band += bandHeight) {
        const int bandRows = std::min(bandHeight, frame.height - band);
        const std::uint8_t* planes[4] = {};
        if (band == 0) {
            std::copy(frame.data, frame.data + 4, planes);
        } else {
            bandPlanes(frame, *descriptor, planeCount, band, planes);
        }
        const int made = sws_scale(context_, planes, frame.linesize, band, bandRows, rows, strides);
        if (made < 0 || written + made > height) return false;
        // Rows are stored bottom first: the band's rows lie just below those written before.
        const int first = height - written - made;
        if (!tight) {
            for (int row = first; row < first + made; ++row)
                std::memcpy(rgb + std::size_t(row) * stride,
                            paddedRows_.data() + std::size_t(row) * outStride, stride);
        }
        written += made;
        if (made > 0 && rowsDone) rowsDone(first, made);
    }
    return written == height;
}

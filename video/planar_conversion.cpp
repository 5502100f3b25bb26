// PlanarConversion: a 4:2:0 frame's three planes copied bottom row first into a frame kept
// as planes, in bands, each band's first mipmap level worked out while it is in the cache.
#include "video/planar_conversion.h"

#include <algorithm>
#include <cstring>

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

#include "frames/mipmap_chain.h"
#include "video/colour_details.h"

namespace {

// Luma rows copied at a time: a band of a 4K plane and its chroma stay in a core's cache for
// their mipmap level.
constexpr int kBandRows = 16;

bool isPlainFourTwoZero(int format) {
    return format == AV_PIX_FMT_YUV420P || format == AV_PIX_FMT_YUVJ420P;
}

// Copies the three planes bottom row first into their places, each plane's level 1 worked out
// from the band just copied.
void copyPlanes(const AVFrame& frame, std::uint8_t* out, const PlanarFrameLayout& layout) {
    const auto levelsOf = [&](int plane) {
        return MipmapChainWriter(out + layout.offset[plane], layout.width[plane],
                                 layout.height[plane], out + layout.mipmaps[plane], 1);
    };
    std::array<MipmapChainWriter, kPlaneCount> levels = {levelsOf(0), levelsOf(1), levelsOf(2)};
    const int height = layout.height[0];
    for (int band = 0; band < height; band += kBandRows) {
        const int bandEnd = std::min(band + kBandRows, height);
        for (int plane = 0; plane < kPlaneCount; ++plane) {
            // Chroma bands are half as high, the last one rounded up with the plane.
            const int first = plane == 0 ? band : band / 2;
            const int end = plane == 0 ? bandEnd : (bandEnd + 1) / 2;
            const int planeHeight = layout.height[plane];
            const std::size_t rowBytes = std::size_t(layout.width[plane]);
            std::uint8_t* const start = out + layout.offset[plane];
            for (int row = first; row < end; ++row)
                std::memcpy(start + (planeHeight - 1 - row) * rowBytes,
                            frame.data[plane] + std::ptrdiff_t(row) * frame.linesize[plane],
                            rowBytes);
            if (end > first) levels[plane].rowsDone(planeHeight - end, end - first);
        }
    }
    for (MipmapChainWriter& chain : levels) chain.finish();
}

}  // namespace

PlanarConversion::~PlanarConversion() {
    sws_freeContext(context_);
    av_frame_free(&scaled_);
}

bool PlanarConversion::suits(int format) {
    const AVPixFmtDescriptor* descriptor = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(format));
    return descriptor != nullptr &&
           !(descriptor->flags & (AV_PIX_FMT_FLAG_RGB | AV_PIX_FMT_FLAG_PAL |
                                  AV_PIX_FMT_FLAG_BITSTREAM | AV_PIX_FMT_FLAG_HWACCEL)) &&
           descriptor->nb_components >= 3 && descriptor->log2_chroma_w == 1 &&
           descriptor->log2_chroma_h == 1;
}

// The frame in plain 8-bit 4:2:0 at the size drawn, its matrix and range kept as they are (a
// frame of RGB gets standard definition's matrix at full range), and the details it has then;
// null when it cannot be. The details reach the converter when they or it change.
const AVFrame* PlanarConversion::scaled(const AVFrame& frame, int width, int height,
                                        ColourDetails& details) {
    const bool shrinking = width < frame.width || height < frame.height;
    const std::array<int, 5> shape = {frame.width, frame.height, frame.format, width, height};
    const bool rebuilt = shape != contextShape_;
    contextShape_ = shape;
    context_ = sws_getCachedContext(
        context_, frame.width, frame.height, static_cast<AVPixelFormat>(frame.format), width,
        height, AV_PIX_FMT_YUV420P, shrinking ? SWS_AREA : SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (context_ == nullptr) return nullptr;
    if (scaled_ == nullptr || scaled_->width != width || scaled_->height != height) {
        av_frame_free(&scaled_);
        scaled_ = av_frame_alloc();
        if (scaled_ == nullptr) return nullptr;
        scaled_->format = AV_PIX_FMT_YUV420P;
        scaled_->width = width;
        scaled_->height = height;
        if (av_frame_get_buffer(scaled_, 64) < 0) {
            av_frame_free(&scaled_);
            return nullptr;
        }
    }
    const AVPixFmtDescriptor* descriptor =
        av_pix_fmt_desc_get(static_cast<AVPixelFormat>(frame.format));
    const bool rgb = descriptor == nullptr || (descriptor->flags & AV_PIX_FMT_FLAG_RGB);
    const ColourDetails asked =
        rgb ? ColourDetails{AVCOL_SPC_SMPTE170M, true} : colourDetailsOf(frame);
    if (rebuilt || asked != askedDetails_) {
        const int range = asked.fullRange ? 1 : 0;
        const int* table = sws_getCoefficients(asked.matrix);
        const bool taken = sws_setColorspaceDetails(context_, table, range, table, range, 0,
                                                    1 << 16, 1 << 16) >= 0;
        askedDetails_ = asked;
        givenDetails_ = taken ? asked : ColourDetails{AVCOL_SPC_SMPTE170M, false};  // its defaults
    }
    details = givenDetails_;
    if (sws_scale(context_, frame.data, frame.linesize, 0, frame.height, scaled_->data,
                  scaled_->linesize) != height) {
        return nullptr;
    }
    return scaled_;
}

const YuvColours& PlanarConversion::coloursOf(const ColourDetails& details) {
    if (details != coloursDetails_) {
        colours_ = yuvColoursOf(details);
        coloursDetails_ = details;
    }
    return colours_;
}

bool PlanarConversion::convert(const AVFrame& frame, std::uint8_t* out, int width, int height,
                               YuvColours& colours) {
    const AVFrame* planes = &frame;
    ColourDetails details;
    if (!isPlainFourTwoZero(frame.format) || frame.width != width || frame.height != height) {
        planes = scaled(frame, width, height, details);
        if (planes == nullptr) return false;
    } else {
        details = colourDetailsOf(frame);
    }
    for (int plane = 0; plane < kPlaneCount; ++plane)
        if (planes->data[plane] == nullptr) return false;
    copyPlanes(*planes, out, planarFrameLayout(width, height));
    colours = coloursOf(details);
    return true;
}

// WebP through libwebp: the container is read first with the demuxer (size, frame count, and
// whether the file is whole) so nothing is allocated for a picture over the limits. A still
// picture decodes straight into bottom-first RGB; an animation is composed frame by frame by
// libwebp's animation decoder. Alpha comes premultiplied, which is composited over black.
// An EXIF chunk's orientation turns the picture.
#include <webp/decode.h>
#include <webp/demux.h>

#include <memory>

#include "pictures/picture_decoders.h"
#include "pictures/picture_orientation.h"
#include "pictures/picture_rows.h"

namespace {

struct DeleteDemuxer {
    void operator()(WebPDemuxer* demuxer) const { WebPDemuxDelete(demuxer); }
};
struct DeleteAnimDecoder {
    void operator()(WebPAnimDecoder* decoder) const { WebPAnimDecoderDelete(decoder); }
};

LoadOutcome webpFailure(VP8StatusCode status) {
    switch (status) {
        case VP8_STATUS_NOT_ENOUGH_DATA:
            return loadFailure(LoadStatus::truncated, "truncated WebP file");
        case VP8_STATUS_OUT_OF_MEMORY:
            return loadFailure(LoadStatus::outOfMemory, "out of memory");
        case VP8_STATUS_UNSUPPORTED_FEATURE:
            return loadFailure(LoadStatus::corrupt, "corrupt WebP data (unsupported feature)");
        default:
            return loadFailure(LoadStatus::corrupt, "corrupt WebP data");
    }
}

LoadOutcome decodeStillWebp(std::span<const std::uint8_t> file, std::uint32_t width,
                            std::uint32_t height, Picture& picture) {
    WebPDecoderConfig config;
    if (!WebPInitDecoderConfig(&config)) return webpFailure(VP8_STATUS_INVALID_PARAM);
    VP8StatusCode status = WebPGetFeatures(file.data(), file.size(), &config.input);
    if (status != VP8_STATUS_OK) return webpFailure(status);
    // The bitstream's own size must be the container's, or the buffer below would not fit.
    if (static_cast<std::uint32_t>(config.input.width) != width ||
        static_cast<std::uint32_t>(config.input.height) != height) {
        return loadFailure(LoadStatus::corrupt, "corrupt WebP data (size mismatch)");
    }
    const bool alpha = config.input.has_alpha != 0;
    const std::size_t pixelCount = std::size_t{width} * height;
    PixelBuffer pixels = allocatePixelBuffer(3 * pixelCount);
    PixelBuffer rgba = allocatePixelBuffer(alpha ? 4 * pixelCount : 0);
    if (!pixels || !rgba) return loadFailure(LoadStatus::outOfMemory, "out of memory");

    config.options.flip = 1;  // bottom row first
    config.output.colorspace = alpha ? MODE_rgbA : MODE_RGB;
    config.output.is_external_memory = 1;
    config.output.u.RGBA.rgba = alpha ? rgba.get() : pixels.get();
    config.output.u.RGBA.stride = static_cast<int>((alpha ? 4 : 3) * width);
    config.output.u.RGBA.size = (alpha ? 4 : 3) * pixelCount;
    status = WebPDecode(file.data(), file.size(), &config);
    WebPFreeDecBuffer(&config.output);
    if (status != VP8_STATUS_OK) return webpFailure(status);
    if (alpha) dropAlpha(rgba.get(), pixels.get(), pixelCount);

    picture.width = static_cast<std::int32_t>(width);
    picture.height = static_cast<std::int32_t>(height);
    picture.frames.clear();
    picture.frames.push_back({std::move(pixels), 0});
    return {};
}

LoadOutcome decodeAnimatedWebp(const WebPData& data, std::uint32_t width, std::uint32_t height,
                               Picture& picture) {
    WebPAnimDecoderOptions options;
    if (!WebPAnimDecoderOptionsInit(&options)) return webpFailure(VP8_STATUS_INVALID_PARAM);
    options.color_mode = MODE_rgbA;
    options.use_threads = 0;
    std::unique_ptr<WebPAnimDecoder, DeleteAnimDecoder> decoder(
        WebPAnimDecoderNew(&data, &options));
    if (!decoder) return loadFailure(LoadStatus::corrupt, "corrupt WebP data");

    const std::size_t rowBytes = std::size_t{3} * width;
    std::vector<PictureFrame> frames;
    int previousEnd = 0;
    while (WebPAnimDecoderHasMoreFrames(decoder.get())) {
        std::uint8_t* canvas = nullptr;  // RGBA, top row first, the size of the picture
        int end = 0;                     // when the frame stops showing, in ms from the start
        if (!WebPAnimDecoderGetNext(decoder.get(), &canvas, &end)) {
            return loadFailure(LoadStatus::corrupt, "corrupt WebP data (animation frame)");
        }
        PixelBuffer pixels = allocatePixelBuffer(rowBytes * height);
        if (!pixels) return loadFailure(LoadStatus::outOfMemory, "out of memory");
        for (std::uint32_t y = 0; y < height; ++y) {
            dropAlpha(canvas + std::size_t{4} * width * y,
                      bottomFirstRow(pixels.get(), rowBytes, height, y), width);
        }
        frames.push_back({std::move(pixels), frameDelayMs(end - previousEnd)});
        previousEnd = end;
    }
    if (frames.empty()) return loadFailure(LoadStatus::corrupt, "corrupt WebP data (no frame)");
    if (frames.size() == 1) frames[0].delayMs = 0;
    picture.width = static_cast<std::int32_t>(width);
    picture.height = static_cast<std::int32_t>(height);
    picture.frames = std::move(frames);
    return {};
}

}  // namespace

LoadOutcome decodeWebpPicture(std::span<const std::uint8_t> file, const PictureLimits& limits,
                              Picture& picture) {
    const WebPData data{file.data(), file.size()};
    WebPDemuxState state = WEBP_DEMUX_PARSING_HEADER;
    std::unique_ptr<WebPDemuxer, DeleteDemuxer> demuxer(WebPDemuxPartial(&data, &state));
    if (state == WEBP_DEMUX_PARSE_ERROR || (!demuxer && state == WEBP_DEMUX_DONE)) {
        return loadFailure(LoadStatus::corrupt, "corrupt WebP data (container)");
    }
    if (state != WEBP_DEMUX_DONE) return webpFailure(VP8_STATUS_NOT_ENOUGH_DATA);

    const std::uint32_t width = WebPDemuxGetI(demuxer.get(), WEBP_FF_CANVAS_WIDTH);
    const std::uint32_t height = WebPDemuxGetI(demuxer.get(), WEBP_FF_CANVAS_HEIGHT);
    const std::uint32_t frameCount = WebPDemuxGetI(demuxer.get(), WEBP_FF_FRAME_COUNT);
    const bool animated =
        (WebPDemuxGetI(demuxer.get(), WEBP_FF_FORMAT_FLAGS) & ANIMATION_FLAG) != 0;
    if (frameCount == 0) return loadFailure(LoadStatus::corrupt, "corrupt WebP data (no frame)");
    LoadOutcome size = checkPictureSize(width, height, frameCount, limits);
    if (!size.ok()) return size;
    Picture decoded;
    LoadOutcome outcome = animated ? decodeAnimatedWebp(data, width, height, decoded)
                                   : decodeStillWebp(file, width, height, decoded);
    if (!outcome.ok()) return outcome;
    WebPChunkIterator exif{};
    if (WebPDemuxGetChunk(demuxer.get(), "EXIF", 1, &exif)) {
        outcome = orientPictureByExif(decoded, {exif.chunk.bytes, exif.chunk.size});
        WebPDemuxReleaseChunkIterator(&exif);
        if (!outcome.ok()) return outcome;
    }
    picture = std::move(decoded);
    return {};
}

// The WebP writers through libwebp: lossless stills and animations, rows turned top first.
#include <webp/encode.h>
#include <webp/mux.h>

#include <algorithm>
#include <memory>

#include "pictures/picture_encoders.h"

namespace {

std::vector<std::uint8_t> topFirst(int width, int height, int channels,
                                   const std::uint8_t* pixels) {
    const std::size_t rowBytes = std::size_t(width) * channels;
    std::vector<std::uint8_t> rows(rowBytes * height);
    for (int y = 0; y < height; ++y) {
        std::copy_n(pixels + rowBytes * (height - 1 - y), rowBytes, rows.data() + rowBytes * y);
    }
    return rows;
}

struct DeleteAnimEncoder {
    void operator()(WebPAnimEncoder* encoder) const { WebPAnimEncoderDelete(encoder); }
};

}  // namespace

std::vector<std::uint8_t> encodeWebpLossless(int width, int height, int channels,
                                             const std::uint8_t* pixels) {
    if (width <= 0 || height <= 0 || (channels != 3 && channels != 4)) return {};
    const std::vector<std::uint8_t> rows = topFirst(width, height, channels, pixels);
    std::uint8_t* output = nullptr;
    const std::size_t length =
        channels == 4 ? WebPEncodeLosslessRGBA(rows.data(), width, height, width * 4, &output)
                      : WebPEncodeLosslessRGB(rows.data(), width, height, width * 3, &output);
    std::vector<std::uint8_t> file(output, output + length);
    WebPFree(output);
    return file;
}

std::vector<std::uint8_t> encodeAnimatedWebp(int width, int height,
                                             const std::vector<WebpFrameSpec>& frames) {
    if (width <= 0 || height <= 0) return {};
    WebPAnimEncoderOptions options;
    WebPConfig config;
    if (!WebPAnimEncoderOptionsInit(&options) || !WebPConfigInit(&config)) return {};
    options.allow_mixed = 0;
    options.kmin = 0;  // every frame may be a key frame: keeps the file simple, not small
    options.kmax = 1;
    config.lossless = 1;
    std::unique_ptr<WebPAnimEncoder, DeleteAnimEncoder> encoder(
        WebPAnimEncoderNew(width, height, &options));
    if (!encoder) return {};
    int timestamp = 0;
    for (const WebpFrameSpec& frame : frames) {
        if (frame.rgba.size() != std::size_t(width) * height * 4) return {};
        std::vector<std::uint8_t> rows = topFirst(width, height, 4, frame.rgba.data());
        WebPPicture picture;
        if (!WebPPictureInit(&picture)) return {};
        picture.use_argb = 1;
        picture.width = width;
        picture.height = height;
        const bool added = WebPPictureImportRGBA(&picture, rows.data(), width * 4) &&
                           WebPAnimEncoderAdd(encoder.get(), &picture, timestamp, &config);
        WebPPictureFree(&picture);
        if (!added) return {};
        timestamp += frame.durationMs;
    }
    WebPData data;
    WebPDataInit(&data);
    if (!WebPAnimEncoderAdd(encoder.get(), nullptr, timestamp, nullptr) ||
        !WebPAnimEncoderAssemble(encoder.get(), &data)) {
        return {};
    }
    std::vector<std::uint8_t> file(data.bytes, data.bytes + data.size);
    WebPDataClear(&data);
    return file;
}

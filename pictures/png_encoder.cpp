// encodePng through libspng, rows handed over top first from the bottom-first buffer.
#include <spng.h>

#include <cstdlib>
#include <memory>

#include "pictures/picture_encoders.h"

namespace {

struct FreeContext {
    void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};

}  // namespace

std::vector<std::uint8_t> encodePng(int width, int height, int channels,
                                    const std::uint8_t* pixels) {
    if (width <= 0 || height <= 0 || (channels != 3 && channels != 4)) return {};
    std::unique_ptr<spng_ctx, FreeContext> context(spng_ctx_new(SPNG_CTX_ENCODER));
    if (!context) return {};
    spng_ctx* png = context.get();
    spng_set_option(png, SPNG_ENCODE_TO_BUFFER, 1);
    spng_ihdr header{};
    header.width = static_cast<std::uint32_t>(width);
    header.height = static_cast<std::uint32_t>(height);
    header.bit_depth = 8;
    header.color_type = channels == 4 ? SPNG_COLOR_TYPE_TRUECOLOR_ALPHA : SPNG_COLOR_TYPE_TRUECOLOR;
    if (spng_set_ihdr(png, &header) != 0) return {};
    if (spng_encode_image(png, nullptr, 0, SPNG_FMT_PNG,
                          SPNG_ENCODE_PROGRESSIVE | SPNG_ENCODE_FINALIZE) != 0) {
        return {};
    }
    const std::size_t rowBytes = std::size_t(width) * channels;
    for (int y = height - 1; y >= 0; --y) {
        const int error = spng_encode_row(png, pixels + rowBytes * y, rowBytes);
        if (error != 0 && error != SPNG_EOI) return {};
    }
    std::size_t length = 0;
    int error = 0;
    void* buffer = spng_get_png_buffer(png, &length, &error);
    if (buffer == nullptr) return {};
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    std::vector<std::uint8_t> file(bytes, bytes + length);
    std::free(buffer);
    return file;
}

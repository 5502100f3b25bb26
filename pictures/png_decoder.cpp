// PNG through libspng: rows decoded one at a time straight into their bottom-first place, as
// 8-bit RGB for opaque pictures, or as RGBA composited over black when the picture has alpha.
#include <spng.h>

#include <algorithm>
#include <memory>

#include "pictures/picture_decoders.h"
#include "pictures/picture_rows.h"

namespace {

// Text chunks and the like are skipped, but each one is buffered first: these bound what a
// file of tiny IDAT and huge ancillary chunks makes the decoder hold.
constexpr std::size_t kMaxChunkBytes = std::size_t{1} << 24;
constexpr std::size_t kMaxCachedChunkBytes = std::size_t{1} << 26;

struct FreeContext {
    void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};

PictureOutcome pngFailure(int error) {
    // The data ran out: the buffer ended before the image or a chunk did.
    if (error == SPNG_IO_EOF || error == SPNG_EOF || error == SPNG_EIDAT_TOO_SHORT) {
        return pictureFailure(PictureStatus::truncated, "truncated PNG file");
    }
    if (error == SPNG_EMEM) return pictureFailure(PictureStatus::outOfMemory, "out of memory");
    return pictureFailure(PictureStatus::corrupt,
                          std::string("corrupt PNG data (") + spng_strerror(error) + ")");
}

bool hasAlpha(spng_ctx* context, const spng_ihdr& header) {
    if (header.color_type == SPNG_COLOR_TYPE_GRAYSCALE_ALPHA ||
        header.color_type == SPNG_COLOR_TYPE_TRUECOLOR_ALPHA) {
        return true;
    }
    spng_trns transparency{};
    return spng_get_trns(context, &transparency) == 0;
}

// The decoder stops at the end chunk's type and never reads its checksum, the file's last
// four bytes, so whether they are there is checked here.
bool endChunkWhole(std::span<const std::uint8_t> file) {
    // Searched from the back: only data some tools append after the end chunk lies behind it.
    static constexpr std::uint8_t kEndTypeReversed[] = {'D', 'N', 'E', 'I'};
    const auto type = std::search(file.rbegin(), file.rend(), std::begin(kEndTypeReversed),
                                  std::end(kEndTypeReversed));
    // type points at the type's last byte; its checksum must follow it whole.
    return type != file.rend() && type - file.rbegin() >= 4;
}

}  // namespace

PictureOutcome decodePngPicture(std::span<const std::uint8_t> file, const PictureLimits& limits,
                                Picture& picture) {
    // Every chunk's CRC already guards the compressed data; the stream's own Adler-32 over the
    // inflated bytes would only cost time.
    std::unique_ptr<spng_ctx, FreeContext> context(spng_ctx_new(SPNG_CTX_IGNORE_ADLER32));
    if (!context) return pictureFailure(PictureStatus::outOfMemory, "out of memory");
    spng_ctx* png = context.get();
    spng_set_crc_action(png, SPNG_CRC_ERROR, SPNG_CRC_DISCARD);
    spng_set_chunk_limits(png, kMaxChunkBytes, kMaxCachedChunkBytes);
    spng_set_png_buffer(png, file.data(), file.size());

    spng_ihdr header{};
    if (int error = spng_get_ihdr(png, &header)) return pngFailure(error);
    PictureOutcome size = checkPictureSize(header.width, header.height, 1, limits);
    if (!size.ok()) return size;

    const bool alpha = hasAlpha(png, header);
    const int format = alpha ? SPNG_FMT_RGBA8 : SPNG_FMT_RGB8;
    const std::uint32_t width = header.width, height = header.height;
    const std::size_t rowBytes = std::size_t{3} * width;
    PixelBuffer pixels = allocatePixelBuffer(rowBytes * height);
    // Non-interlaced RGBA needs one row; interlaced RGBA is deinterlaced across passes, so it
    // keeps every row until the last pass.
    const bool interlaced = header.interlace_method != SPNG_INTERLACE_NONE;
    const std::size_t rgbaRows = !alpha ? 0 : interlaced ? height : 1;
    PixelBuffer rgba = allocatePixelBuffer(std::size_t{4} * width * rgbaRows);
    if (!pixels || !rgba) return pictureFailure(PictureStatus::outOfMemory, "out of memory");

    if (int error = spng_decode_image(png, nullptr, 0, format,
                                      SPNG_DECODE_TRNS | SPNG_DECODE_PROGRESSIVE)) {
        return pngFailure(error);
    }
    const std::size_t decodedRowBytes = alpha ? std::size_t{4} * width : rowBytes;
    for (;;) {
        spng_row_info row{};
        if (int error = spng_get_row_info(png, &row)) {
            if (error == SPNG_EOI) break;
            return pngFailure(error);
        }
        std::uint8_t* target = !alpha ? bottomFirstRow(pixels.get(), rowBytes, height, row.row_num)
                               : interlaced ? rgba.get() + decodedRowBytes * row.row_num
                                            : rgba.get();
        const int error = spng_decode_row(png, target, decodedRowBytes);
        if (error != 0 && error != SPNG_EOI) return pngFailure(error);
        if (alpha && !interlaced) {
            compositeOverBlack(target, bottomFirstRow(pixels.get(), rowBytes, height, row.row_num),
                               width);
        }
        if (error == SPNG_EOI) break;
    }
    // The chunks after the image, up to the end chunk: a file cut short there is still cut.
    if (int error = spng_decode_chunks(png)) return pngFailure(error);
    if (!endChunkWhole(file)) return pngFailure(SPNG_EOF);
    if (alpha && interlaced) {
        for (std::uint32_t y = 0; y < height; ++y) {
            compositeOverBlack(rgba.get() + decodedRowBytes * y,
                               bottomFirstRow(pixels.get(), rowBytes, height, y), width);
        }
    }
    picture.width = static_cast<std::int32_t>(width);
    picture.height = static_cast<std::int32_t>(height);
    picture.frames.clear();
    picture.frames.push_back({std::move(pixels), 0});
    return {};
}

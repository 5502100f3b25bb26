// PNG through libspng: rows decoded one at a time straight into their bottom-first place, as
// 8-bit RGB for opaque pictures, or as RGBA composited over black when the picture has alpha;
// a gamma chunk that no sRGB or ICC chunk overrides is applied from 16-bit RGBA. The eXIf
// chunk's orientation turns the picture.
#include <spng.h>

#include <algorithm>
#include <memory>

#include "pictures/picture_decoders.h"
#include "pictures/picture_orientation.h"
#include "pictures/picture_rows.h"
#include "pictures/png_gamma.h"

namespace {

// Text chunks and the like are skipped, but each one is buffered first: these bound what a
// file of tiny IDAT and huge ancillary chunks makes the decoder hold.
constexpr std::size_t kMaxChunkBytes = std::size_t{1} << 24;
constexpr std::size_t kMaxCachedChunkBytes = std::size_t{1} << 26;

struct FreeContext {
    void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};

LoadOutcome pngFailure(int error) {
    // The data ran out: the buffer ended before the image or a chunk did.
    if (error == SPNG_IO_EOF || error == SPNG_EOF || error == SPNG_EIDAT_TOO_SHORT) {
        return loadFailure(LoadStatus::truncated, "truncated PNG file");
    }
    if (error == SPNG_EMEM) return loadFailure(LoadStatus::outOfMemory, "out of memory");
    return loadFailure(LoadStatus::corrupt,
                       std::string("corrupt PNG data (") + spng_strerror(error) + ")");
}

// What the chunks before the image data ask of the decode. Reading them is where a file cut
// before its image data, or without any, is found.
struct PngChunks {
    bool alpha = false;
    double exponent = 1;  // from stored samples to shown levels
};

// 0, or the error of reading the chunks; a chunk that is not there is no error.
int readChunksBeforeImage(spng_ctx* png, const spng_ihdr& header, PngChunks& chunks) {
    const auto absentIsFine = [](int error) { return error == SPNG_ECHUNKAVAIL ? 0 : error; };
    spng_trns transparency{};
    const int trns = spng_get_trns(png, &transparency);
    if (int error = absentIsFine(trns)) return error;
    chunks.alpha = trns == 0 || header.color_type == SPNG_COLOR_TYPE_GRAYSCALE_ALPHA ||
                   header.color_type == SPNG_COLOR_TYPE_TRUECOLOR_ALPHA;
    std::uint8_t intent = 0;
    spng_iccp profile{};
    double gamma = 0;
    const int srgb = spng_get_srgb(png, &intent), iccp = spng_get_iccp(png, &profile),
              gama = spng_get_gama(png, &gamma);
    for (int error : {srgb, iccp, gama})
        if (absentIsFine(error)) return error;
    if (gama == 0 && srgb != 0 && iccp != 0) chunks.exponent = pngDisplayExponent(gamma);
    return 0;
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

// Whether any chunk from the header on is image data. The decoder reports a file without any
// as a chunk out of place, the end chunk where image data belongs.
bool hasImageDataChunk(std::span<const std::uint8_t> file) {
    static constexpr std::uint8_t kImageDataType[] = {'I', 'D', 'A', 'T'};
    constexpr std::size_t kSignatureBytes = 8, kChunkFrameBytes = 12;
    for (std::size_t at = kSignatureBytes; file.size() - at >= kChunkFrameBytes;) {
        const std::uint32_t length =
            std::uint32_t{file[at]} << 24 | file[at + 1] << 16 | file[at + 2] << 8 | file[at + 3];
        if (std::equal(std::begin(kImageDataType), std::end(kImageDataType), file.begin() + at + 4))
            return true;
        if (length > file.size() - at - kChunkFrameBytes) return false;
        at += kChunkFrameBytes + length;
    }
    return false;
}

}  // namespace

LoadOutcome decodePngPicture(std::span<const std::uint8_t> file, const PictureLimits& limits,
                             Picture& picture) {
    // Every chunk's CRC already guards the compressed data; the stream's own Adler-32 over the
    // inflated bytes would only cost time.
    std::unique_ptr<spng_ctx, FreeContext> context(spng_ctx_new(SPNG_CTX_IGNORE_ADLER32));
    if (!context) return loadFailure(LoadStatus::outOfMemory, "out of memory");
    spng_ctx* png = context.get();
    spng_set_crc_action(png, SPNG_CRC_ERROR, SPNG_CRC_DISCARD);
    spng_set_chunk_limits(png, kMaxChunkBytes, kMaxCachedChunkBytes);
    spng_set_png_buffer(png, file.data(), file.size());

    spng_ihdr header{};
    if (int error = spng_get_ihdr(png, &header)) return pngFailure(error);
    LoadOutcome size = checkPictureSize(header.width, header.height, 1, limits);
    if (!size.ok()) return size;
    PngChunks chunks;
    if (int error = readChunksBeforeImage(png, header, chunks)) {
        if (error == SPNG_ECHUNK_POS && !hasImageDataChunk(file)) {
            return loadFailure(LoadStatus::corrupt, "corrupt PNG data (no image data)");
        }
        return pngFailure(error);
    }

    const bool alpha = chunks.alpha;
    const bool gamma = !showsAsStored(chunks.exponent);
    const int format = gamma ? SPNG_FMT_RGBA16 : alpha ? SPNG_FMT_RGBA8 : SPNG_FMT_RGB8;
    const std::uint32_t width = header.width, height = header.height;
    const std::size_t rowBytes = std::size_t{3} * width;
    PixelBuffer pixels = allocatePixelBuffer(rowBytes * height);
    // Rows that need converting are decoded beside the picture: one at a time, or every row
    // of an interlaced picture, which is deinterlaced across passes and complete only after
    // the last one.
    const bool converted = alpha || gamma;
    const bool interlaced = header.interlace_method != SPNG_INTERLACE_NONE;
    const std::size_t decodedRowBytes = (gamma ? 8 : alpha ? 4 : 3) * std::size_t{width};
    const std::size_t decodedRows = !converted ? 0 : interlaced ? height : 1;
    PixelBuffer decodedRowsBuffer = allocatePixelBuffer(decodedRowBytes * decodedRows);
    if (!pixels || !decodedRowsBuffer) {
        return loadFailure(LoadStatus::outOfMemory, "out of memory");
    }
    const std::vector<std::uint8_t> levels =
        gamma ? gammaLevels(chunks.exponent) : std::vector<std::uint8_t>();
    const auto convertRow = [&](const std::uint8_t* decoded, std::uint32_t y) {
        std::uint8_t* row = bottomFirstRow(pixels.get(), rowBytes, height, y);
        if (gamma) {
            gammaRowOverBlack(reinterpret_cast<const std::uint16_t*>(decoded), levels, row, width);
        } else {
            compositeOverBlack(decoded, row, width);
        }
    };

    if (int error = spng_decode_image(png, nullptr, 0, format,
                                      SPNG_DECODE_TRNS | SPNG_DECODE_PROGRESSIVE)) {
        return pngFailure(error);
    }
    for (;;) {
        spng_row_info row{};
        if (int error = spng_get_row_info(png, &row)) {
            if (error == SPNG_EOI) break;
            return pngFailure(error);
        }
        std::uint8_t* target =
            !converted   ? bottomFirstRow(pixels.get(), rowBytes, height, row.row_num)
            : interlaced ? decodedRowsBuffer.get() + decodedRowBytes * row.row_num
                         : decodedRowsBuffer.get();
        const int error = spng_decode_row(png, target, decodedRowBytes);
        if (error != 0 && error != SPNG_EOI) return pngFailure(error);
        if (converted && !interlaced) convertRow(target, row.row_num);
        if (error == SPNG_EOI) break;
    }
    // The chunks after the image, up to the end chunk: a file cut short there is still cut.
    if (int error = spng_decode_chunks(png)) return pngFailure(error);
    if (!endChunkWhole(file)) return pngFailure(SPNG_EOF);
    if (converted && interlaced) {
        for (std::uint32_t y = 0; y < height; ++y)
            convertRow(decodedRowsBuffer.get() + decodedRowBytes * y, y);
    }
    Picture decoded;
    decoded.width = static_cast<std::int32_t>(width);
    decoded.height = static_cast<std::int32_t>(height);
    decoded.frames.push_back({std::move(pixels), 0});
    spng_exif exif{};
    if (spng_get_exif(png, &exif) == 0) {
        const LoadOutcome turned = orientPictureByExif(
            decoded, {reinterpret_cast<const std::uint8_t*>(exif.data), exif.length});
        if (!turned.ok()) return turned;
    }
    picture = std::move(decoded);
    return {};
}

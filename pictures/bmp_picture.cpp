// BMP files through the program's own decoder, with the header's size checked against the
// picture limits first and a short file told apart from damaged data.
#include <cstdlib>

#include "image/dib_decoder.h"
#include "image/picture_decoders.h"

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;

std::uint32_t u16At(std::span<const std::uint8_t> file, std::size_t at) {
    return file[at] | file[at + 1] << 8;
}
std::uint32_t u32At(std::span<const std::uint8_t> file, std::size_t at) {
    return u16At(file, at) | u16At(file, at + 2) << 16;
}

// The few header fields the checks need; `known` is false when the header is cut short or of a
// kind the decoder does not read, which the decoder itself then reports.
struct BmpSizes {
    bool known = false;
    std::uint64_t width = 0, rows = 0;
    std::uint32_t bitsPerPixel = 0, compression = 0;
    std::uint64_t pixelOffset = 0;  // 0 for a packed bitmap
};

BmpSizes readBmpSizes(std::span<const std::uint8_t> file) {
    BmpSizes sizes;
    const bool fileHeader = file.size() >= 2 && file[0] == 'B' && file[1] == 'M';
    const std::size_t at = fileHeader ? kFileHeaderSize : 0;
    if (file.size() < at + 4) return sizes;
    const std::uint32_t headerSize = u32At(file, at);
    if (headerSize == kCoreHeaderSize && file.size() >= at + kCoreHeaderSize) {
        sizes.width = u16At(file, at + 4);
        sizes.rows = u16At(file, at + 6);
        sizes.bitsPerPixel = u16At(file, at + 10);
    } else if (headerSize == kInfoHeaderSize && file.size() >= at + kInfoHeaderSize) {
        const auto width = static_cast<std::int32_t>(u32At(file, at + 4));
        const auto height = static_cast<std::int32_t>(u32At(file, at + 8));
        sizes.width = width < 0 ? 0 : static_cast<std::uint64_t>(width);
        sizes.rows = height < 0 ? 0 - static_cast<std::uint64_t>(static_cast<std::int64_t>(height))
                                : static_cast<std::uint64_t>(height);
        sizes.bitsPerPixel = u16At(file, at + 14);
        sizes.compression = u32At(file, at + 16);
    } else {
        return sizes;
    }
    sizes.pixelOffset = fileHeader ? u32At(file, 10) : 0;
    sizes.known = true;
    return sizes;
}

// An uncompressed file with a file header says where its rows start, so a short one shows.
bool rowsCutShort(std::span<const std::uint8_t> file, const BmpSizes& sizes) {
    if (sizes.compression != kDibUncompressed || sizes.pixelOffset == 0) return false;
    const std::uint64_t rowBytes = (sizes.width * sizes.bitsPerPixel + 31) / 32 * 4;
    const std::uint64_t lastRowBytes = (sizes.width * sizes.bitsPerPixel + 7) / 8;
    return file.size() < sizes.pixelOffset + rowBytes * (sizes.rows - 1) + lastRowBytes;
}

}  // namespace

PictureOutcome decodeBmpPicture(std::span<const std::uint8_t> file, const PictureLimits& limits,
                                Picture& picture) {
    const BmpSizes sizes = readBmpSizes(file);
    if (!sizes.known && file.size() < kFileHeaderSize + kInfoHeaderSize) {
        return pictureFailure(PictureStatus::truncated, "truncated BMP file");
    }
    if (sizes.known) {
        PictureOutcome size = checkPictureSize(sizes.width, sizes.rows, 1, limits);
        if (!size.ok()) return size;
    }
    DibStatus status = DibStatus::ok;
    RgbImage* image = decodeDib(file, status);
    if (image == nullptr) {
        if (status == DibStatus::outOfMemory) {
            return pictureFailure(PictureStatus::outOfMemory, "out of memory");
        }
        if (sizes.known && rowsCutShort(file, sizes)) {
            return pictureFailure(PictureStatus::truncated, "truncated BMP file");
        }
        if (status == DibStatus::unknownFormat) {
            return pictureFailure(PictureStatus::corrupt,
                                  "unsupported BMP header (12- and 40-byte headers are read)");
        }
        return pictureFailure(PictureStatus::corrupt, "corrupt or unsupported BMP data");
    }
    picture.width = image->width;
    picture.height = image->height;
    picture.frames.clear();
    picture.frames.push_back({PixelBuffer(image->pixels), 0});
    std::free(image);  // the record only: its pixels now belong to the frame
    return {};
}

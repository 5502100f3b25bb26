// Format signatures: each format opens with a fixed byte pattern.
#include "pictures/picture_format.h"

#include <algorithm>
#include <array>

#include "bmp/dib_header.h"

namespace {

bool startsWith(std::span<const std::uint8_t> file, std::size_t at,
                std::span<const std::uint8_t> pattern) {
    return file.size() >= at + pattern.size() &&
           std::equal(pattern.begin(), pattern.end(), file.begin() + at);
}

constexpr std::array<std::uint8_t, 8> kPngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// The start-of-image marker; libjpeg skips stray bytes before the next marker, as viewers do.
constexpr std::array<std::uint8_t, 2> kJpegSignature = {0xFF, 0xD8};
constexpr std::array<std::uint8_t, 6> kGif87Signature = {'G', 'I', 'F', '8', '7', 'a'};
constexpr std::array<std::uint8_t, 6> kGif89Signature = {'G', 'I', 'F', '8', '9', 'a'};
constexpr std::array<std::uint8_t, 4> kRiffSignature = {'R', 'I', 'F', 'F'};
constexpr std::array<std::uint8_t, 4> kWebpSignature = {'W', 'E', 'B', 'P'};
constexpr std::array<std::uint8_t, 2> kBmpSignature = {'B', 'M'};

// A packed bitmap has no file header and opens with its bitmap header's size; the BMP loader
// reads the 12- and 40-byte ones.
bool isPackedBitmap(std::span<const std::uint8_t> file) {
    if (file.size() < 4) return false;
    const std::uint32_t headerSize =
        file[0] | file[1] << 8 | file[2] << 16 | static_cast<std::uint32_t>(file[3]) << 24;
    return headerSize == kDibCoreHeaderSize || headerSize == kDibInfoHeaderSize;
}

}  // namespace

PictureFormat detectPictureFormat(std::span<const std::uint8_t> file) {
    if (startsWith(file, 0, kPngSignature)) return PictureFormat::png;
    if (startsWith(file, 0, kJpegSignature)) return PictureFormat::jpeg;
    if (startsWith(file, 0, kGif87Signature) || startsWith(file, 0, kGif89Signature))
        return PictureFormat::gif;
    if (startsWith(file, 0, kRiffSignature) && startsWith(file, 8, kWebpSignature))
        return PictureFormat::webp;
    if (startsWith(file, 0, kBmpSignature) || isPackedBitmap(file)) return PictureFormat::bmp;
    return PictureFormat::unknown;
}

const char* pictureFormatName(PictureFormat format) {
    switch (format) {
        case PictureFormat::bmp:
            return "BMP";
        case PictureFormat::png:
            return "PNG";
        case PictureFormat::jpeg:
            return "JPEG";
        case PictureFormat::gif:
            return "GIF";
        case PictureFormat::webp:
            return "WebP";
        case PictureFormat::unknown:
            break;
    }
    return "unknown";
}

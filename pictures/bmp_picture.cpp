// BMP files through the program's own decoder, with the header's size checked against the
// picture limits first and a short file told apart from damaged data. The headers are read by
// the decoder's own reader, so both ways into the decoder see a file alike; only their words
// for a failure differ.
#include <cstdlib>

#include "bmp/dib_decoder.h"
#include "pictures/picture_decoders.h"

static_assert(kMaxPicturePixelCount == kMaxDibPixelCount,
              "a BMP picture has the same pixel budget as any other");

namespace {

// The sides the header claims; a negative width counts as none, a negative height as rows
// stored top row first.
std::uint64_t claimedWidth(const DibInfoHeader& header) {
    return header.width < 0 ? 0 : static_cast<std::uint64_t>(header.width);
}
std::uint64_t claimedRows(const DibInfoHeader& header) {
    return static_cast<std::uint64_t>(std::llabs(static_cast<std::int64_t>(header.height)));
}

// An uncompressed file with a file header says where its rows start, so a short one shows.
bool rowsCutShort(std::span<const std::uint8_t> file, const DibHeaders& headers) {
    const DibInfoHeader& header = headers.header;
    if (header.compression != kDibUncompressed || headers.pixelOffset == 0) return false;
    const std::uint64_t bits = claimedWidth(header) * header.bitsPerPixel;
    const std::uint64_t rowBytes = (bits + 31) / 32 * 4;
    const std::uint64_t lastRowBytes = (bits + 7) / 8;
    return file.size() < headers.pixelOffset + rowBytes * (claimedRows(header) - 1) + lastRowBytes;
}

}  // namespace

LoadOutcome decodeBmpPicture(std::span<const std::uint8_t> file, const PictureLimits& limits,
                             Picture& picture) {
    // Headers cut short or of a kind the decoder does not read are left to the decoder to
    // report.
    DibHeaders headers;
    const bool known = readDibHeaders(file, headers) == DibStatus::ok;
    if (!known && file.size() < std::size_t{kDibFileHeaderSize} + kDibInfoHeaderSize) {
        return loadFailure(LoadStatus::truncated, "truncated BMP file");
    }
    if (known) {
        LoadOutcome size =
            checkPictureSize(claimedWidth(headers.header), claimedRows(headers.header), 1, limits);
        if (!size.ok()) return size;
    }
    DibStatus status = DibStatus::ok;
    RgbImage* image = decodeDib(file, status);
    if (image == nullptr) {
        if (status == DibStatus::outOfMemory) {
            return loadFailure(LoadStatus::outOfMemory, "out of memory");
        }
        if (known && rowsCutShort(file, headers)) {
            return loadFailure(LoadStatus::truncated, "truncated BMP file");
        }
        if (status == DibStatus::unknownFormat) {
            return loadFailure(LoadStatus::corrupt,
                               "unsupported BMP header (12- and 40-byte headers are read)");
        }
        return loadFailure(LoadStatus::corrupt, "corrupt or unsupported BMP data");
    }
    picture.width = image->width;
    picture.height = image->height;
    picture.frames.clear();
    picture.frames.push_back({PixelBuffer(image->pixels), 0});
    std::free(image);  // the record only: its pixels now belong to the frame
    return {};
}

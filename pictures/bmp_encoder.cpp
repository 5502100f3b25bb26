// Writes uncompressed bottom-up BMP files: a 14-byte "BM" file header, a 12- or 40-byte bitmap
// header, the colour table for palette depths, then rows padded to four bytes.
#include "pictures/bmp_encoder.h"

#include "bmp/dib_header.h"

namespace {

// Rows are written whole into memory, so an encoded file stays below this size; it also keeps
// every header field, which holds 32 bits, exact.
constexpr std::uint64_t kMaxEncodedBytes = std::uint64_t{1} << 31;

void putU16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void putU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    putU16(out, value & 0xFFFF);
    putU16(out, value >> 16);
}

std::uint32_t headerSize(DibHeader header) {
    return header == DibHeader::core12 ? kDibCoreHeaderSize : kDibInfoHeaderSize;
}

std::uint64_t rowStride(int width, int bitsPerPixel) {
    return (static_cast<std::uint64_t>(width) * bitsPerPixel + 31) / 32 * 4;
}

bool sizeFits(int width, int height, DibHeader header) {
    if (width <= 0 || height <= 0) return false;
    // The core header stores width and height in 16 bits.
    return header == DibHeader::info40 || (width <= 0xFFFF && height <= 0xFFFF);
}

// File header and bitmap header; the caller appends the colour table and the rows.
std::vector<std::uint8_t> beginFile(int width, int height, int bitsPerPixel, DibHeader header,
                                    std::uint32_t tableEntries, std::uint32_t colorsUsed) {
    const std::uint32_t entrySize = header == DibHeader::core12 ? 3 : 4;
    const std::uint32_t pixelOffset =
        kDibFileHeaderSize + headerSize(header) + entrySize * tableEntries;
    const std::uint64_t imageSize = rowStride(width, bitsPerPixel) * height;
    std::vector<std::uint8_t> out;
    out.reserve(pixelOffset + imageSize);
    out.push_back('B');
    out.push_back('M');
    putU32(out, static_cast<std::uint32_t>(pixelOffset + imageSize));
    putU32(out, 0);  // reserved
    putU32(out, pixelOffset);
    putU32(out, headerSize(header));
    if (header == DibHeader::core12) {
        putU16(out, static_cast<std::uint32_t>(width));
        putU16(out, static_cast<std::uint32_t>(height));
        putU16(out, 1);
        putU16(out, static_cast<std::uint32_t>(bitsPerPixel));
        return out;
    }
    putU32(out, static_cast<std::uint32_t>(width));
    putU32(out, static_cast<std::uint32_t>(height));
    putU16(out, 1);
    putU16(out, static_cast<std::uint32_t>(bitsPerPixel));
    putU32(out, 0);  // uncompressed
    putU32(out, static_cast<std::uint32_t>(imageSize));
    putU32(out, 2835);  // 72 dots per inch, both ways
    putU32(out, 2835);
    putU32(out, colorsUsed);
    putU32(out, 0);  // all colours important
    return out;
}

}  // namespace

std::vector<std::uint8_t> encodeBmp24(int width, int height, const std::uint8_t* rgb,
                                      DibHeader header) {
    if (!sizeFits(width, height, header) || rgb == nullptr) return {};
    const std::uint64_t stride = rowStride(width, 24);
    if (stride * height + 64 > kMaxEncodedBytes) return {};
    std::vector<std::uint8_t> out = beginFile(width, height, 24, header, 0, 0);
    const std::size_t rowStart = out.size();
    out.resize(rowStart + stride * height, 0);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* source = rgb + static_cast<std::size_t>(y) * width * 3;
        std::uint8_t* target = out.data() + rowStart + y * stride;
        for (int x = 0; x < width; ++x, source += 3, target += 3) {
            target[0] = source[2];
            target[1] = source[1];
            target[2] = source[0];
        }
    }
    return out;
}

std::vector<std::uint8_t> encodeBmpIndexed(const IndexedPicture& picture, int bitsPerPixel,
                                           DibHeader header) {
    const int width = picture.width, height = picture.height;
    if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8) return {};
    if (!sizeFits(width, height, header)) return {};
    const std::uint32_t maxColors = 1u << bitsPerPixel;
    if (picture.palette.size() > maxColors) return {};
    if (picture.indices.size() != static_cast<std::uint64_t>(width) * height) return {};
    const std::uint64_t stride = rowStride(width, bitsPerPixel);
    if (stride * height + 2048 > kMaxEncodedBytes) return {};

    // An empty palette cannot be said with colours-used (0 means 2^bits), so it is written full.
    const bool fullTable = header == DibHeader::core12 || picture.palette.empty();
    const auto tableEntries =
        fullTable ? maxColors : static_cast<std::uint32_t>(picture.palette.size());
    std::vector<std::uint8_t> out =
        beginFile(width, height, bitsPerPixel, header, tableEntries, fullTable ? 0 : tableEntries);
    for (std::uint32_t i = 0; i < tableEntries; ++i) {
        std::array<std::uint8_t, 3> color{0, 0, 0};
        if (i < picture.palette.size()) color = picture.palette[i];
        out.push_back(color[2]);
        out.push_back(color[1]);
        out.push_back(color[0]);
        if (header == DibHeader::info40) out.push_back(0);
    }

    const std::size_t rowStart = out.size();
    out.resize(rowStart + stride * height, 0);
    const int pixelsPerByte = 8 / bitsPerPixel;
    const unsigned mask = (1u << bitsPerPixel) - 1;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* source = picture.indices.data() + static_cast<std::size_t>(y) * width;
        std::uint8_t* target = out.data() + rowStart + y * stride;
        for (int x = 0; x < width; ++x) {
            // The leftmost pixel sits in the highest bits of its byte.
            const int shift = (pixelsPerByte - 1 - x % pixelsPerByte) * bitsPerPixel;
            target[x / pixelsPerByte] |= static_cast<std::uint8_t>((source[x] & mask) << shift);
        }
    }
    return out;
}

void setU16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void setU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    setU16(bytes, at, value & 0xFFFF);
    setU16(bytes, at + 2, value >> 16);
}

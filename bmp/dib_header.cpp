// Header reading and normalisation. All offsets are checked with 64-bit arithmetic against the
// file's size before any byte is read, so no field can lead a read outside the file.
#include "bmp/dib_header.h"

#include <cstdlib>

namespace {

std::uint16_t u16At(const std::uint8_t* at) {
    return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}

std::uint32_t u32At(const std::uint8_t* at) {
    return at[0] | at[1] << 8 | at[2] << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

bool isSupportedDepth(std::uint16_t bitsPerPixel) {
    switch (bitsPerPixel) {
        case 1:
        case 4:
        case 8:
        case 16:
        case 24:
        case 32:
            return true;
        default:
            return false;
    }
}

// Uncompressed data comes in every depth; each run-length scheme has its own depth. Bit-field
// masks (3) are not carried into the normalised header, so they have no sound path here.
bool isSupportedCompression(const DibInfoHeader& header) {
    switch (header.compression) {
        case kDibUncompressed:
            return true;
        case kDibRle8:
            return header.bitsPerPixel == 8;
        case kDibRle4:
            return header.bitsPerPixel == 4;
        default:
            return false;
    }
}

void readCoreHeader(const std::uint8_t* at, DibInfoHeader& header) {
    header.width = u16At(at + 4);
    header.height = u16At(at + 6);
    header.planes = u16At(at + 8);
    header.bitsPerPixel = u16At(at + 10);
}

void readInfoHeader(const std::uint8_t* at, DibInfoHeader& header) {
    header.width = static_cast<std::int32_t>(u32At(at + 4));
    header.height = static_cast<std::int32_t>(u32At(at + 8));
    header.planes = u16At(at + 12);
    header.bitsPerPixel = u16At(at + 14);
    header.compression = u32At(at + 16);
    header.imageSize = u32At(at + 20);
    header.xPelsPerMeter = static_cast<std::int32_t>(u32At(at + 24));
    header.yPelsPerMeter = static_cast<std::int32_t>(u32At(at + 28));
    header.colorsUsed = u32At(at + 32);
    header.colorsImportant = u32At(at + 36);
}

}  // namespace

const char* dibStatusText(DibStatus status) {
    switch (status) {
        case DibStatus::ok:
            return "";
        case DibStatus::unknownFormat:
            return "Unknown DIB file format.";
        case DibStatus::outOfMemory:
            return "Out of memory.";
        case DibStatus::conversionError:
            break;
    }
    return "Image file conversion error.";
}

DibStatus readDibHeaders(std::span<const std::uint8_t> file, DibHeaders& headers) {
    headers = DibHeaders{};
    const std::uint64_t fileSize = file.size();
    headers.hasFileHeader = fileSize >= 2 && file[0] == 'B' && file[1] == 'M';
    const std::uint64_t headerStart = headers.hasFileHeader ? kDibFileHeaderSize : 0;
    if (fileSize < headerStart + 4) return DibStatus::conversionError;
    const std::uint8_t* headerBytes = file.data() + headerStart;
    const std::uint32_t headerSize = u32At(headerBytes);
    if (headerSize != kDibCoreHeaderSize && headerSize != kDibInfoHeaderSize) {
        return DibStatus::unknownFormat;
    }
    if (fileSize < headerStart + headerSize) return DibStatus::conversionError;

    headers.core = headerSize == kDibCoreHeaderSize;
    if (headers.core) {
        readCoreHeader(headerBytes, headers.header);
    } else {
        readInfoHeader(headerBytes, headers.header);
    }
    if (headers.hasFileHeader) headers.pixelOffset = u32At(file.data() + 10);
    return DibStatus::ok;
}

DibStatus readDibLayout(std::span<const std::uint8_t> file, DibLayout& layout) {
    layout = DibLayout{};
    DibHeaders headers;
    if (const DibStatus read = readDibHeaders(file, headers); read != DibStatus::ok) return read;
    const std::uint64_t fileSize = file.size();
    const bool hasFileHeader = headers.hasFileHeader;
    const std::uint64_t headerStart = hasFileHeader ? kDibFileHeaderSize : 0;
    const bool core = headers.core;
    const std::uint32_t headerSize = core ? kDibCoreHeaderSize : kDibInfoHeaderSize;

    DibInfoHeader& header = layout.header;
    header = headers.header;
    const std::uint32_t fileImageSize = header.imageSize;

    if (!isSupportedDepth(header.bitsPerPixel) || !isSupportedCompression(header)) {
        return DibStatus::conversionError;
    }
    if (header.width <= 0 || header.height == 0) return DibStatus::conversionError;
    layout.topDown = header.height < 0;
    const std::uint64_t rows = std::llabs(static_cast<std::int64_t>(header.height));
    // Run-length data is defined bottom-up only.
    if (layout.topDown && header.compression != kDibUncompressed) {
        return DibStatus::conversionError;
    }
    if (static_cast<std::uint64_t>(header.width) * rows > kMaxDibPixelCount) {
        return DibStatus::conversionError;
    }
    layout.rows = static_cast<std::int32_t>(rows);

    // Colour count: a 16-bit value from colours-used, else the depth's full table.
    const std::uint32_t depthColors = header.bitsPerPixel <= 8 ? 1u << header.bitsPerPixel : 0;
    if (header.colorsUsed > 0xFFFF) return DibStatus::conversionError;
    if (depthColors != 0 && header.colorsUsed > depthColors) return DibStatus::conversionError;
    layout.colorCount =
        static_cast<std::uint16_t>(header.colorsUsed != 0 ? header.colorsUsed : depthColors);

    const std::uint64_t entrySize = core ? 3 : 4;
    const std::uint64_t tableStart = headerStart + headerSize;
    const std::uint64_t tableEnd = tableStart + entrySize * layout.colorCount;
    // Higher depths carry at most an optional table the conversion never reads.
    if (depthColors != 0) {
        if (tableEnd > fileSize) return DibStatus::conversionError;
        for (std::uint32_t i = 0; i < layout.colorCount; ++i) {
            const std::uint8_t* entry = file.data() + tableStart + i * entrySize;
            layout.palette[i] = {entry[2], entry[1], entry[0]};
        }
    }

    if (core) {
        header.colorsImportant = layout.colorCount;
    }
    if (header.colorsUsed == 0) header.colorsUsed = layout.colorCount;
    const std::uint64_t rowBytes = (std::uint64_t{header.bitsPerPixel} * header.width + 7) / 8;
    if (header.imageSize == 0) header.imageSize = static_cast<std::uint32_t>(rowBytes * rows);
    layout.rowStride = static_cast<std::uint32_t>((rowBytes + 3) / 4 * 4);

    const std::uint64_t pixelStart = hasFileHeader ? headers.pixelOffset : tableEnd;
    if (pixelStart > fileSize) return DibStatus::conversionError;
    std::uint64_t available = fileSize - pixelStart;
    if (header.compression == kDibUncompressed) {
        const std::uint64_t needed = (rows - 1) * layout.rowStride + rowBytes;
        if (needed > available) return DibStatus::conversionError;
    } else if (fileImageSize != 0 && fileImageSize < available) {
        available = fileImageSize;  // the stream's own length, as the file states it
    }
    layout.pixelData =
        file.subspan(static_cast<std::size_t>(pixelStart), static_cast<std::size_t>(available));
    return DibStatus::ok;
}

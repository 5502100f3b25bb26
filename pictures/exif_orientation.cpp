// exifOrientation: the TIFF header, then the first image directory's entries, each checked
// against the block's end before it is read.
#include "pictures/exif_orientation.h"

#include <algorithm>

namespace {

constexpr std::uint16_t kOrientationTag = 0x0112;
constexpr std::uint16_t kShortType = 3;
constexpr std::size_t kEntryBytes = 12;

struct TiffReader {
    std::span<const std::uint8_t> bytes;
    bool bigEndian = false;

    bool has(std::size_t at, std::size_t count) const {
        return at <= bytes.size() && count <= bytes.size() - at;
    }
    std::uint16_t u16(std::size_t at) const {
        return bigEndian ? std::uint16_t(bytes[at] << 8 | bytes[at + 1])
                         : std::uint16_t(bytes[at] | bytes[at + 1] << 8);
    }
    std::uint32_t u32(std::size_t at) const {
        const std::uint32_t high = u16(at), low = u16(at + 2);
        return bigEndian ? high << 16 | low : low << 16 | high;
    }
};

}  // namespace

Orientation exifOrientation(std::span<const std::uint8_t> exif) {
    static constexpr std::uint8_t kExifPrefix[] = {'E', 'x', 'i', 'f', 0, 0};
    if (exif.size() >= sizeof kExifPrefix &&
        std::equal(std::begin(kExifPrefix), std::end(kExifPrefix), exif.begin())) {
        exif = exif.subspan(sizeof kExifPrefix);
    }
    TiffReader tiff{exif};
    if (!tiff.has(0, 8)) return Orientation::asStored;
    if (exif[0] == 'M' && exif[1] == 'M') {
        tiff.bigEndian = true;
    } else if (!(exif[0] == 'I' && exif[1] == 'I')) {
        return Orientation::asStored;
    }
    if (tiff.u16(2) != 42) return Orientation::asStored;
    const std::size_t directory = tiff.u32(4);
    if (!tiff.has(directory, 2)) return Orientation::asStored;
    const std::size_t entryCount = tiff.u16(directory);
    for (std::size_t i = 0; i < entryCount; ++i) {
        const std::size_t entry = directory + 2 + i * kEntryBytes;
        if (!tiff.has(entry, kEntryBytes)) break;
        if (tiff.u16(entry) != kOrientationTag) continue;
        if (tiff.u16(entry + 2) != kShortType || tiff.u32(entry + 4) != 1) break;
        const std::uint16_t value = tiff.u16(entry + 8);
        if (value < 1 || value > 8) break;
        return static_cast<Orientation>(value);
    }
    return Orientation::asStored;
}

// Writes the BMP conformance pictures of the decoder's corpus: every header layout, depth and
// compression the loader reads, and the damage it must refuse (newer headers, bit-field masks,
// tables and pixel data past the end, sizes out of range, broken run-length streams).
//   bmp_conformance_pictures write FOLDER    writes them (named "conformance-*.bmp")
//   bmp_conformance_pictures check FOLDER    exit status 1 unless FOLDER holds them bit for bit
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/generated_corpus.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void put16(Bytes& out, unsigned value) {
    out.push_back(value & 0xff);
    out.push_back((value >> 8) & 0xff);
}
void put32(Bytes& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back((value >> shift) & 0xff);
}

// The fields a picture is built from; sizes are what the file claims, not what it holds.
struct Picture {
    std::uint32_t headerSize = 40;  // 12 core, 40 info, larger ones padded with zeros
    std::int32_t width = 4;
    std::int32_t height = 3;
    unsigned planes = 1;
    unsigned bits = 24;
    std::uint32_t compression = 0;
    std::uint32_t imageSize = 0;
    std::uint32_t colorsUsed = 0;
    unsigned tableEntries = 0;  // colour table entries actually stored
    bool fileHeader = true;
    std::int64_t pixelOffset = -1;  // -1: right after the colour table
    Bytes pixels;                   // empty: uncompressed rows of a pattern
};

// Rows of pattern pixels at the picture's depth, each padded to 4 bytes; a few bytes for a size
// no file could hold.
Bytes patternRows(const Picture& picture) {
    if (picture.width <= 0 || picture.width > 64 || picture.height < -64 || picture.height > 64) {
        return Bytes(16, 1);
    }
    const std::uint64_t rowBytes = (std::uint64_t{picture.bits} * picture.width + 31) / 32 * 4;
    const std::int32_t rows = picture.height < 0 ? -picture.height : picture.height;
    Bytes out;
    for (std::int32_t y = 0; y < rows; ++y) {
        for (std::uint64_t i = 0; i < rowBytes; ++i) out.push_back((y * 37 + i * 11 + 5) & 0xff);
    }
    return out;
}

Bytes encode(const Picture& picture) {
    const unsigned entrySize = picture.headerSize == 12 ? 3 : 4;
    Bytes header;
    put32(header, picture.headerSize);
    if (picture.headerSize == 12) {
        put16(header, static_cast<std::uint16_t>(picture.width));
        put16(header, static_cast<std::uint16_t>(picture.height));
        put16(header, picture.planes);
        put16(header, picture.bits);
    } else {
        put32(header, static_cast<std::uint32_t>(picture.width));
        put32(header, static_cast<std::uint32_t>(picture.height));
        put16(header, picture.planes);
        put16(header, picture.bits);
        put32(header, picture.compression);
        put32(header, picture.imageSize);
        put32(header, 2835);
        put32(header, 2835);
        put32(header, picture.colorsUsed);
        put32(header, 0);
        header.resize(picture.headerSize, 0);
    }
    for (unsigned i = 0; i < picture.tableEntries; ++i) {
        header.push_back((i * 40) & 0xff);  // blue
        header.push_back((255 - i * 3) & 0xff);
        header.push_back((i * 90) & 0xff);  // red
        if (entrySize == 4) header.push_back(0);
    }
    const Bytes pixels = picture.pixels.empty() ? patternRows(picture) : picture.pixels;
    Bytes out;
    if (picture.fileHeader) {
        const std::uint32_t offset = picture.pixelOffset >= 0
                                         ? static_cast<std::uint32_t>(picture.pixelOffset)
                                         : static_cast<std::uint32_t>(14 + header.size());
        out = {'B', 'M'};
        put32(out, static_cast<std::uint32_t>(14 + header.size() + pixels.size()));
        put32(out, 0);
        put32(out, offset);
    }
    out.insert(out.end(), header.begin(), header.end());
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

Picture indexed(unsigned bits, std::uint32_t headerSize = 40) {
    Picture picture;
    picture.headerSize = headerSize;
    picture.width = 7;
    picture.bits = bits;
    picture.tableEntries = 1u << bits;
    return picture;
}

Picture rle(unsigned bits, Bytes stream) {
    Picture picture = indexed(bits);
    picture.width = 6;
    picture.height = 2;
    picture.compression = bits == 8 ? 1 : 2;
    picture.imageSize = static_cast<std::uint32_t>(stream.size());
    picture.pixels = std::move(stream);
    return picture;
}

Bytes truncated(Bytes bytes, std::size_t size) {
    bytes.resize(size);
    return bytes;
}

struct Named {
    std::string name;
    Bytes bytes;
};

std::vector<Named> conformancePictures() {
    std::vector<Named> out;
    auto add = [&](std::string name, Bytes bytes) {
        out.push_back({"conformance-" + name + ".bmp", std::move(bytes)});
    };
    auto with = [](Picture picture, auto change) {
        change(picture);
        return encode(picture);
    };

    // Every depth the loader reads, with both header layouts where the depth allows.
    for (unsigned bits : {1u, 4u, 8u}) {
        add("info-" + std::to_string(bits) + "bit", encode(indexed(bits)));
        add("core-" + std::to_string(bits) + "bit", encode(indexed(bits, 12)));
    }
    for (unsigned bits : {16u, 24u, 32u}) {
        add("info-" + std::to_string(bits) + "bit",
            with(Picture{}, [&](Picture& p) { p.bits = bits; }));
    }
    add("core-24bit", with(Picture{}, [](Picture& p) { p.headerSize = 12; }));
    add("info-24bit-width-3", with(Picture{}, [](Picture& p) { p.width = 3; }));
    add("info-8bit-16-colours", with(indexed(8), [](Picture& p) {
            p.colorsUsed = 16;
            p.tableEntries = 16;
        }));
    add("info-8bit-index-past-table", with(indexed(8), [](Picture& p) {
            p.colorsUsed = 2;
            p.tableEntries = 2;
        }));
    add("info-24bit-image-size-set", with(Picture{}, [](Picture& p) { p.imageSize = 36; }));
    add("packed-info-8bit", with(indexed(8), [](Picture& p) { p.fileHeader = false; }));
    add("packed-core-24bit", with(Picture{}, [](Picture& p) {
            p.fileHeader = false;
            p.headerSize = 12;
        }));
    add("top-down-24bit", with(Picture{}, [](Picture& p) { p.height = -3; }));
    add("top-down-4bit", with(indexed(4), [](Picture& p) { p.height = -3; }));
    add("gap-before-pixels", with(Picture{}, [](Picture& p) {
            p.pixelOffset = 14 + 40 + 8;
            p.pixels = Bytes(8, 0xee);
            const Bytes rows = patternRows(p);
            p.pixels.insert(p.pixels.end(), rows.begin(), rows.end());
        }));

    // Run-length streams: runs, absolute runs with padding, line ends, a move, the end marker.
    add("rle8", encode(rle(8, {3, 1, 3, 2, 0, 0, 0, 3, 4, 5, 6, 0, 1, 7, 0, 1})));
    add("rle8-delta", encode(rle(8, {2, 9, 0, 2, 2, 1, 2, 8, 0, 1})));
    add("rle8-no-end-marker", encode(rle(8, {6, 1, 0, 0, 6, 2, 0, 0})));
    add("rle4", encode(rle(4, {6, 0x12, 0, 0, 0, 5, 0x34, 0x56, 0x70, 0, 1, 0x89, 0, 1})));
    add("rle4-delta", encode(rle(4, {0, 2, 5, 1, 1, 0xab, 0, 1})));

    // Headers the loader does not know: newer and other layouts, and sizes no layout has.
    for (std::uint32_t size : {64u, 108u, 124u}) {
        add("header-size-" + std::to_string(size),
            with(Picture{}, [&](Picture& p) { p.headerSize = size; }));
    }
    for (std::uint32_t size : {0u, 16u, 0xffffffffu}) {
        Bytes bytes = encode(Picture{});
        for (int i = 0; i < 4; ++i) bytes[14 + i] = (size >> (8 * i)) & 0xff;
        add("header-size-" + std::to_string(size), bytes);
    }

    // Depths, planes and compressions without a sound path.
    for (unsigned bits : {0u, 2u, 7u, 48u, 64u}) {
        add("depth-" + std::to_string(bits), with(Picture{}, [&](Picture& p) { p.bits = bits; }));
    }
    add("planes-0", with(Picture{}, [](Picture& p) { p.planes = 0; }));
    add("planes-3", with(Picture{}, [](Picture& p) { p.planes = 3; }));
    add("bit-fields-16bit", with(Picture{}, [](Picture& p) {
            p.bits = 16;
            p.compression = 3;
        }));
    add("bit-fields-32bit", with(Picture{}, [](Picture& p) {
            p.bits = 32;
            p.compression = 3;
        }));
    add("compression-jpeg", with(Picture{}, [](Picture& p) { p.compression = 4; }));
    add("compression-png", with(Picture{}, [](Picture& p) { p.compression = 5; }));
    add("rle8-on-4bit", with(indexed(4), [](Picture& p) { p.compression = 1; }));
    add("rle4-on-24bit", with(Picture{}, [](Picture& p) { p.compression = 2; }));
    add("rle8-top-down", with(rle(8, {6, 1, 0, 0, 6, 2, 0, 1}), [](Picture& p) { p.height = -2; }));

    // Sizes out of range.
    add("width-0", with(Picture{}, [](Picture& p) { p.width = 0; }));
    add("height-0", with(Picture{}, [](Picture& p) { p.height = 0; }));
    add("width-negative", with(Picture{}, [](Picture& p) { p.width = -4; }));
    add("height-most-negative", with(Picture{}, [](Picture& p) {
            p.height = INT32_MIN;
            p.pixels = Bytes(16, 1);
        }));
    add("width-huge", with(Picture{}, [](Picture& p) {
            p.width = INT32_MAX;
            p.pixels = Bytes(16, 1);
        }));
    add("core-65535-square", with(Picture{}, [](Picture& p) {
            p.headerSize = 12;
            p.width = 65535;
            p.height = 65535;
            p.pixels = Bytes(16, 1);
        }));
    add("rle8-claims-huge-size", with(rle(8, {0, 1}), [](Picture& p) {
            p.width = 1 << 20;
            p.height = 1 << 20;
        }));

    // Colour tables that the depth or the file cannot back.
    add("colours-used-300", with(indexed(8), [](Picture& p) { p.colorsUsed = 300; }));
    add("colours-used-3-on-1bit", with(indexed(1), [](Picture& p) {
            p.colorsUsed = 3;
            p.tableEntries = 3;
        }));
    add("colours-used-huge", with(indexed(8), [](Picture& p) { p.colorsUsed = 0xffffffffu; }));
    add("table-past-end", truncated(encode(indexed(8)), 14 + 40 + 100));

    // Pixel data that the file does not hold.
    const Bytes whole = encode(Picture{});
    add("rows-cut-short", truncated(whole, whole.size() - 5));
    const Bytes narrow = with(Picture{}, [](Picture& p) { p.width = 3; });
    add("last-row-padding-missing", truncated(narrow, narrow.size() - 3));
    add("no-pixel-data", truncated(whole, 14 + 40));
    add("offset-past-end", with(Picture{}, [](Picture& p) { p.pixelOffset = 100000; }));
    add("offset-0", with(Picture{}, [](Picture& p) { p.pixelOffset = 0; }));
    add("offset-inside-header", with(Picture{}, [](Picture& p) { p.pixelOffset = 20; }));
    add("offset-huge", with(Picture{}, [](Picture& p) { p.pixelOffset = 0xffffffffu; }));
    add("image-size-past-end",
        with(rle(8, {6, 1, 0, 0, 6, 2, 0, 1}), [](Picture& p) { p.imageSize = 0x7fffffff; }));

    // Headers cut short.
    add("empty", {});
    add("bm-only", {'B', 'M'});
    add("file-header-only", truncated(whole, 14));
    add("info-header-cut", truncated(whole, 14 + 20));
    add("core-header-cut", truncated(with(Picture{}, [](Picture& p) { p.headerSize = 12; }), 20));

    // Broken run-length streams.
    add("rle8-run-past-row", encode(rle(8, {7, 1, 0, 1})));
    add("rle8-absolute-past-row", encode(rle(8, {0, 8, 1, 2, 3, 4, 5, 6, 7, 8, 0, 1})));
    add("rle8-absolute-cut", encode(rle(8, {0, 5, 1, 2})));
    add("rle8-delta-past-image", encode(rle(8, {0, 2, 200, 200, 0, 1})));
    add("rle8-delta-cut", encode(rle(8, {0, 2, 1})));
    add("rle8-lines-past-image", encode(rle(8, {0, 0, 0, 0, 0, 0, 1, 1, 0, 1})));
    add("rle8-odd-length", encode(rle(8, {6, 1, 0})));
    add("rle8-too-few-lines", encode(rle(8, {6, 1, 0, 0})));
    add("rle4-run-past-row", encode(rle(4, {9, 0x12, 0, 1})));
    add("rle4-absolute-cut", encode(rle(4, {0, 7, 0x12})));
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<GeneratedFile> files;
    for (Named& made : conformancePictures())
        files.push_back({std::move(made.name), std::move(made.bytes)});
    return writeOrCheckCorpus(argc, argv, "bmp_conformance_pictures", files);
}

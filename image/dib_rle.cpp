// Run-length streams are pairs of bytes: a count and a value give an encoded run; a zero
// count introduces an escape (end of line, end of bitmap, move, or a literal absolute run).
// A large stream whose first rows are plain is split at row starts into parts decoded on every
// core; the rest is decoded in one pass.
#include "image/dib_rle.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>

#include "image/dib_rle_split.h"
#include "image/dib_rle_writer.h"
#include "image/row_bands.h"

namespace {

constexpr std::uint8_t kEndOfLine = 0;
constexpr std::uint8_t kEndOfBitmap = 1;
constexpr std::uint8_t kDelta = 2;

struct RleCursor {
    std::int64_t x = 0, y = 0;
};

// The cursor only moves forward through the picture (runs right, line ends and moves up), so
// the pixels a stream skips are blacked out as the next run starts, instead of clearing the
// whole output before decoding.
class SkippedPixels {
  public:
    SkippedPixels(std::uint8_t* out, std::size_t start) : out_(out), written_(start) {}
    // Blacks out everything from the last written byte (at first, start) up to offset; offset is
    // where the next run writes, or the end of the output.
    void fillTo(std::size_t offset) {
        if (offset == written_) return;  // the common case: runs follow each other
        std::memset(out_ + written_, 0, offset - written_);
        written_ = offset;
    }
    void wrote(std::size_t end) { written_ = end; }

  private:
    std::uint8_t* out_;
    std::size_t written_;
};

// Decodes a stream, or a part of one, into rows [firstRow, endRow) of out (rows of `width`
// pixels). The part starts with the cursor at the start of firstRow and may not leave those
// rows. Runs may write past their end (see RleRunWriter): the next run or the black fill of
// skipped pixels writes there again, so only the end of the part's rows bounds them.
template <unsigned kBitsPerPixel>
DibStatus decodeRuns(std::span<const std::uint8_t> stream, std::int64_t width,
                     std::int64_t firstRow, std::int64_t endRow,
                     const RleRunWriter<kBitsPerPixel>& writer, std::uint8_t* out) {
    const std::uint8_t* data = stream.data();
    const std::size_t size = stream.size();
    const std::size_t outputEnd = static_cast<std::size_t>(width * endRow * 3);
    SkippedPixels skipped(out, static_cast<std::size_t>(width * firstRow * 3));

    RleCursor at;
    at.y = firstRow;
    std::size_t position = 0;
    auto offsetAt = [&] { return static_cast<std::size_t>((at.y * width + at.x) * 3); };
    // A run of count pixels fits when it stays within the current row of the picture.
    auto runFits = [&](std::int64_t count) { return at.y < endRow && count <= width - at.x; };

    while (size - position >= 2) {
        const std::uint8_t count = data[position];
        const std::uint8_t value = data[position + 1];
        position += 2;
        if (count > 0) {
            if (!runFits(count)) return DibStatus::conversionError;
            const std::size_t offset = offsetAt();
            skipped.fillTo(offset);
            writer.writeRun(value, count, out + offset, outputEnd - offset);
            at.x += count;
            skipped.wrote(offsetAt());
        } else if (value > kDelta) {
            const std::size_t bytes = (value * kBitsPerPixel + 7) / 8;
            const std::size_t paddedBytes = (bytes + 1) & ~std::size_t{1};
            if (!runFits(value) || size - position < paddedBytes) {
                return DibStatus::conversionError;
            }
            const std::size_t offset = offsetAt();
            skipped.fillTo(offset);
            writer.writeLiteral(data + position, value, out + offset, outputEnd - offset,
                                size - position);
            position += paddedBytes;
            at.x += value;
            skipped.wrote(offsetAt());
        } else if (value == kEndOfLine) {
            if (at.y >= endRow) return DibStatus::conversionError;
            at.x = 0;
            ++at.y;
        } else if (value == kEndOfBitmap) {
            skipped.fillTo(outputEnd);
            return DibStatus::ok;
        } else {
            if (size - position < 2) return DibStatus::conversionError;
            at.x += data[position];
            at.y += data[position + 1];
            position += 2;
            if (at.x > width || at.y > endRow) return DibStatus::conversionError;
        }
    }
    // Without an end marker the stream is whole only when its line ends covered every row.
    if (at.y < endRow) return DibStatus::conversionError;
    skipped.fillTo(outputEnd);
    return DibStatus::ok;
}

// Splits the stream at the starts of evenly spread rows and decodes the parts side by side.
// Each part is decoded exactly as one pass would decode those ops, from the same cursor, so
// the pixels and the outcome are the same. Returns false, having written nothing, when the
// stream's first parts are not plain enough to split.
template <unsigned kBitsPerPixel>
bool decodeInParts(const DibLayout& layout, const RleRunWriter<kBitsPerPixel>& writer,
                   unsigned threads, std::uint8_t* out, DibStatus& status) {
    std::array<RleSplit, kMaxRowThreads + 1> splits;
    const unsigned parts = std::min<unsigned>(threads, static_cast<unsigned>(layout.rows));
    for (unsigned part = 1; part < parts; ++part) {
        splits[part - 1].row = rowBand(layout.rows, parts, part).first;
    }
    if (!findRleSplits(layout.pixelData, kBitsPerPixel, {splits.data(), parts - 1})) return false;
    // The parts as a list of starts and ends: part k runs from start k to start k + 1.
    std::array<RleSplit, kMaxRowThreads + 1> starts;
    starts[0] = {};
    for (unsigned part = 1; part < parts; ++part) starts[part] = splits[part - 1];
    starts[parts] = {layout.pixelData.size(), layout.rows};
    std::atomic<bool> decoded{true};
    // Each band of this call is one part.
    runInRowBands(static_cast<std::int32_t>(parts), parts, [&](RowBand band) {
        for (std::int32_t part = band.first; part < band.end; ++part) {
            const RleSplit& start = starts[part];
            const RleSplit& end = starts[part + 1];
            const auto stream =
                layout.pixelData.subspan(start.position, end.position - start.position);
            if (decodeRuns(stream, layout.header.width, start.row, end.row, writer, out) !=
                DibStatus::ok) {
                decoded = false;
            }
        }
    });
    status = decoded ? DibStatus::ok : DibStatus::conversionError;
    return true;
}

template <unsigned kBitsPerPixel>
DibStatus decodeStream(const DibLayout& layout, std::uint8_t* out) {
    const PaletteExpansion palette(kBitsPerPixel, layout.palette);
    const RleRunWriter<kBitsPerPixel> writer(palette);
    const std::size_t outputBytes = std::size_t{3} * layout.header.width * layout.rows;
    const unsigned threads = rowThreadCount(outputBytes, layout.rows);
    DibStatus status = DibStatus::ok;
    if (threads > 1 && decodeInParts(layout, writer, threads, out, status)) return status;
    return decodeRuns(layout.pixelData, layout.header.width, 0, layout.rows, writer, out);
}

}  // namespace

DibStatus decodeDibRle(const DibLayout& layout, std::uint8_t* out) {
    return layout.header.compression == kDibRle4 ? decodeStream<4>(layout, out)
                                                 : decodeStream<8>(layout, out);
}

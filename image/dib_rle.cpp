// Run-length streams are pairs of bytes: a count and a value give an encoded run; a zero
// count introduces an escape (end of line, end of bitmap, move, or a literal absolute run).
#include "image/dib_rle.h"

#include <cstring>

#include "image/dib_rle_writer.h"

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
    explicit SkippedPixels(std::uint8_t* out) : out_(out) {}
    // Blacks out everything from the last written byte up to offset; offset is where the next
    // run writes, or the end of the output.
    void fillTo(std::size_t offset) {
        if (offset == written_) return;  // the common case: runs follow each other
        std::memset(out_ + written_, 0, offset - written_);
        written_ = offset;
    }
    void wrote(std::size_t end) { written_ = end; }

  private:
    std::uint8_t* out_;
    std::size_t written_ = 0;
};

// One pass over any stream. Runs may write past their end (see RleRunWriter): the next run or
// the black fill of skipped pixels writes there again, so only the output's end bounds them.
template <unsigned kBitsPerPixel>
DibStatus decodeRuns(const DibLayout& layout, const RleRunWriter<kBitsPerPixel>& writer,
                     std::uint8_t* out) {
    const std::int64_t width = layout.header.width;
    const std::int64_t rows = layout.rows;
    const std::uint8_t* data = layout.pixelData.data();
    const std::size_t size = layout.pixelData.size();
    const std::size_t outputSize = static_cast<std::size_t>(width * rows * 3);
    SkippedPixels skipped(out);

    RleCursor at;
    std::size_t position = 0;
    auto offsetAt = [&] { return static_cast<std::size_t>((at.y * width + at.x) * 3); };
    // A run of count pixels fits when it stays within the current row of the picture.
    auto runFits = [&](std::int64_t count) { return at.y < rows && count <= width - at.x; };

    while (size - position >= 2) {
        const std::uint8_t count = data[position];
        const std::uint8_t value = data[position + 1];
        position += 2;
        if (count > 0) {
            if (!runFits(count)) return DibStatus::conversionError;
            const std::size_t offset = offsetAt();
            skipped.fillTo(offset);
            writer.writeRun(value, count, out + offset, outputSize - offset);
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
            writer.writeLiteral(data + position, value, out + offset, outputSize - offset,
                                size - position);
            position += paddedBytes;
            at.x += value;
            skipped.wrote(offsetAt());
        } else if (value == kEndOfLine) {
            if (at.y >= rows) return DibStatus::conversionError;
            at.x = 0;
            ++at.y;
        } else if (value == kEndOfBitmap) {
            skipped.fillTo(outputSize);
            return DibStatus::ok;
        } else {
            if (size - position < 2) return DibStatus::conversionError;
            at.x += data[position];
            at.y += data[position + 1];
            position += 2;
            if (at.x > width || at.y > rows) return DibStatus::conversionError;
        }
    }
    // Without an end marker the stream is whole only when its line ends covered every row.
    if (at.y < rows) return DibStatus::conversionError;
    skipped.fillTo(outputSize);
    return DibStatus::ok;
}

template <unsigned kBitsPerPixel>
DibStatus decodeStream(const DibLayout& layout, std::uint8_t* out) {
    const PaletteExpansion palette(kBitsPerPixel, layout.palette);
    const RleRunWriter<kBitsPerPixel> writer(palette);
    return decodeRuns(layout, writer, out);
}

}  // namespace

DibStatus decodeDibRle(const DibLayout& layout, std::uint8_t* out) {
    return layout.header.compression == kDibRle4 ? decodeStream<4>(layout, out)
                                                 : decodeStream<8>(layout, out);
}

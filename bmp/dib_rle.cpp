// Run-length streams are pairs of bytes: a count and a value give an encoded run; a zero
// count introduces an escape (end of line, end of bitmap, move, or a literal absolute run).
#include "bmp/dib_rle.h"

#include "bmp/dib_rle_stream.h"
#include "bmp/dib_simd.h"

namespace {

// One pass over any stream, op by op, handing the common ops to the vector path where there is
// one. Runs may write past their end (see RleRunWriter): the next run or the black fill of
// skipped pixels writes there again, so only the output's end bounds them.
template <unsigned kBitsPerPixel>
DibStatus decodeRuns(const RleStream<kBitsPerPixel>& stream) {
    const std::int64_t width = stream.width;
    const std::int64_t rows = stream.rows;
    const std::uint8_t* data = stream.data;
    const std::size_t size = stream.size;
    const std::size_t outputSize = stream.outputSize;
    std::uint8_t* out = stream.out;
    const bool vector = hasRunLengthVectors();

    RleProgress at;
    std::size_t& position = at.position;
    auto offsetAt = [&] { return static_cast<std::size_t>((at.y * width + at.x) * 3); };
    // A run of count pixels fits when it stays within the current row of the picture.
    auto runFits = [&](std::int64_t count) { return at.y < rows && count <= width - at.x; };

    while (size - position >= 2) {
        if (vector) {
            decodeCommonRleOps(stream, at);
            if (size - position < 2) break;
        }
        const std::uint8_t count = data[position];
        const std::uint8_t value = data[position + 1];
        position += 2;
        if (count > 0) {
            if (!runFits(count)) return DibStatus::conversionError;
            const std::size_t offset = offsetAt();
            at.fillSkipped(out, offset);
            stream.writer.writeRun(value, count, out + offset, outputSize - offset);
            at.x += count;
            at.written = offsetAt();
        } else if (value > kRleDelta) {
            const std::size_t bytes = (value * kBitsPerPixel + 7) / 8;
            const std::size_t paddedBytes = (bytes + 1) & ~std::size_t{1};
            if (!runFits(value) || size - position < paddedBytes) {
                return DibStatus::conversionError;
            }
            const std::size_t offset = offsetAt();
            at.fillSkipped(out, offset);
            stream.writer.writeLiteral(data + position, value, out + offset, outputSize - offset,
                                       size - position);
            position += paddedBytes;
            at.x += value;
            at.written = offsetAt();
        } else if (value == kRleEndOfLine) {
            if (at.y >= rows) return DibStatus::conversionError;
            at.x = 0;
            ++at.y;
        } else if (value == kRleEndOfBitmap) {
            at.fillSkipped(out, outputSize);
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
    at.fillSkipped(out, outputSize);
    return DibStatus::ok;
}

template <unsigned kBitsPerPixel>
DibStatus decodeStream(const DibLayout& layout, std::uint8_t* out) {
    const PaletteExpansion palette(kBitsPerPixel, layout.palette);
    const RleRunWriter<kBitsPerPixel> writer(palette);
    const std::int64_t width = layout.header.width;
    const RleStream<kBitsPerPixel> stream{layout.pixelData.data(),
                                          layout.pixelData.size(),
                                          width,
                                          layout.rows,
                                          out,
                                          static_cast<std::size_t>(width * layout.rows * 3),
                                          palette,
                                          writer};
    return decodeRuns(stream);
}

}  // namespace

DibStatus decodeDibRle(const DibLayout& layout, std::uint8_t* out) {
    return layout.header.compression == kDibRle4 ? decodeStream<4>(layout, out)
                                                 : decodeStream<8>(layout, out);
}

// The common ops of run-length streams with AVX-512 VBMI: literal runs looked up 64 pixels a
// step, short runs eight ops a step, each a single store. The bounds of the stream and of the
// output are checked once per row, not per write: every step may read and write whole vector
// blocks past its op, so the ops near either end are left to the decoder's own loop.
#include "image/dib_byte_lookups.h"
#include "image/dib_rle_stream.h"
#include "image/dib_simd.h"

#if defined(__GNUC__) && defined(__x86_64__)

namespace {

// Output bytes a write may reach past its row's end: a literal run's last 64-pixel step (up to
// 63 pixels, 189 bytes, past the run), or the 4 blocks of 48 bytes from a run's start that
// RleRunWriter writes where it has room for them and its own slack (240 bytes).
constexpr std::size_t kRowSlack = 256;
// Stream bytes an op may read from its start: its 2 bytes and a literal run's whole 64-pixel
// steps (255 pixels read as 256 bytes at 8 bits, 128 at 4).
constexpr std::size_t kOpReach = 2 + 256;
// Runs this short are one 16-byte store of their pattern (5 pixels and a third).
constexpr int kShortRun = 5;
// Ops taken together when all are short runs: the 16 bytes of one vector.
constexpr std::size_t kShortRunOps = 8;

template <unsigned kBitsPerPixel>
struct Planes;
template <>
struct Planes<8> : EightBitPlanes {
    explicit Planes(const std::uint8_t* planes) { loadEightBitPlanes(planes, *this); }
};
template <>
struct Planes<4> : FourBitPlanes {
    explicit Planes(const std::uint8_t* planes) { loadFourBitPlanes(planes, *this); }
};

GLIMMER_BYTE_LOOKUPS inline void lookUpPixels(const EightBitPlanes& planes,
                                              const std::uint8_t* source, std::uint8_t* out) {
    lookUpEightBitPixels(planes, source, out);
}

GLIMMER_BYTE_LOOKUPS inline void lookUpPixels(const FourBitPlanes& planes,
                                              const std::uint8_t* source, std::uint8_t* out) {
    lookUpFourBitPixels(planes, source, out);
}

// The sum of eight ops' counts when all of them are runs of 1 to kShortRun pixels, else 0.
GLIMMER_BYTE_LOOKUPS inline std::int64_t shortRunsLength(const std::uint8_t* ops) {
    const __m128i words = _mm_loadu_si128(reinterpret_cast<const __m128i*>(ops));
    const __m128i counts = _mm_and_si128(words, _mm_set1_epi16(0xFF));
    const __m128i inRange = _mm_and_si128(_mm_cmpgt_epi16(counts, _mm_setzero_si128()),
                                          _mm_cmplt_epi16(counts, _mm_set1_epi16(kShortRun + 1)));
    if (_mm_movemask_epi8(inRange) != 0xFFFF) return 0;
    const __m128i sums = _mm_sad_epu8(counts, _mm_setzero_si128());
    return _mm_cvtsi128_si64(sums) + _mm_extract_epi64(sums, 1);
}

template <unsigned kBitsPerPixel>
GLIMMER_BYTE_LOOKUPS void decodeWithLookups(const RleStream<kBitsPerPixel>& stream,
                                            RleProgress& progress) {
    const std::int64_t width = stream.width;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    // The rows whose every write stays inside the output; every op that starts at or before
    // lastOp has all the bytes it reads.
    const std::size_t lastRowEnd =
        stream.outputSize < kRowSlack ? 0 : stream.outputSize - kRowSlack;
    if (stream.size < kOpReach || progress.y >= stream.rows) return;
    const std::size_t lastOp = stream.size - kOpReach;
    RleProgress at = progress;
    std::size_t rowStart = static_cast<std::size_t>(at.y) * rowBytes;
    if (rowStart + rowBytes > lastRowEnd) return;

    const std::uint8_t* data = stream.data;
    std::uint8_t* out = stream.out;
    const Planes<kBitsPerPixel> planes(stream.palette.tables().planes);
    while (at.position <= lastOp) {
        const std::uint8_t count = data[at.position];
        const std::uint8_t value = data[at.position + 1];
        if (count != 0) {
            if (count <= kShortRun) {
                const std::int64_t length = shortRunsLength(data + at.position);
                if (length != 0 && length <= width - at.x) {
                    std::uint8_t* write = out + rowStart + 3 * at.x;
                    at.fillSkipped(out, static_cast<std::size_t>(write - out));
                    for (std::size_t op = 0; op < kShortRunOps; ++op) {
                        const std::uint8_t* run = data + at.position + 2 * op;
                        _mm_storeu_si128(reinterpret_cast<__m128i*>(write),
                                         _mm_loadu_si128(reinterpret_cast<const __m128i*>(
                                             stream.writer.pattern(run[1]))));
                        write += 3 * run[0];
                    }
                    at.x += length;
                    at.written = rowStart + 3 * at.x;
                    at.position += 2 * kShortRunOps;
                    continue;
                }
            }
            if (count > width - at.x) break;
            const std::size_t offset = rowStart + 3 * at.x;
            at.fillSkipped(out, offset);
            stream.writer.writeRun(value, count, out + offset, stream.outputSize - offset);
            at.x += count;
            at.written = offset + 3 * count;
            at.position += 2;
        } else if (value > kRleDelta) {
            if (value > width - at.x) break;
            const std::size_t offset = rowStart + 3 * at.x;
            at.fillSkipped(out, offset);
            const std::uint8_t* source = data + at.position + 2;
            std::uint8_t* write = out + offset;
            for (unsigned done = 0; done < value; done += 64) {
                lookUpPixels(planes, source, write);
                source += 64 * kBitsPerPixel / 8;
                write += 192;
            }
            const std::size_t bytes = (value * kBitsPerPixel + 7) / 8;
            at.position += 2 + ((bytes + 1) & ~std::size_t{1});
            at.x += value;
            at.written = offset + 3 * value;
        } else if (value == kRleEndOfLine) {
            at.position += 2;
            at.x = 0;
            ++at.y;
            rowStart += rowBytes;
            if (at.y >= stream.rows || rowStart + rowBytes > lastRowEnd) break;
        } else {
            break;
        }
    }
    progress = at;
}

}  // namespace

template <unsigned kBitsPerPixel>
void decodeCommonRleOps(const RleStream<kBitsPerPixel>& stream, RleProgress& progress) {
    if (hasBytePaletteLookups()) decodeWithLookups(stream, progress);
}

#else

template <unsigned kBitsPerPixel>
void decodeCommonRleOps(const RleStream<kBitsPerPixel>&, RleProgress&) {}

#endif

template void decodeCommonRleOps<4>(const RleStream<4>&, RleProgress&);
template void decodeCommonRleOps<8>(const RleStream<8>&, RleProgress&);

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

// The first 16 bytes of each value's run: all of a short run, in a table 16 bytes a value.
struct ShortRunPatterns {
    template <unsigned kBitsPerPixel>
    explicit ShortRunPatterns(const RleRunWriter<kBitsPerPixel>& writer) {
        for (unsigned value = 0; value < 256; ++value)
            std::memcpy(bytes[value], writer.pattern(static_cast<std::uint8_t>(value)), 16);
    }
    alignas(16) std::uint8_t bytes[256][16];
};

// The pixels of 16 (or 8) ops if all of them are runs of 1 to kShortRun pixels, else 0.
GLIMMER_BYTE_LOOKUPS inline std::int64_t shortRunsLength16(const std::uint8_t* ops) {
    const __m256i words = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(ops));
    const __m256i counts = _mm256_and_si256(words, _mm256_set1_epi16(0xFF));
    const __m256i inRange =
        _mm256_and_si256(_mm256_cmpgt_epi16(counts, _mm256_setzero_si256()),
                         _mm256_cmpgt_epi16(_mm256_set1_epi16(kShortRun + 1), counts));
    if (_mm256_movemask_epi8(inRange) != -1) return 0;
    const __m256i sums = _mm256_sad_epu8(counts, _mm256_setzero_si256());
    const __m128i halves =
        _mm_add_epi64(_mm256_castsi256_si128(sums), _mm256_extracti128_si256(sums, 1));
    return _mm_cvtsi128_si64(halves) + _mm_extract_epi64(halves, 1);
}

GLIMMER_BYTE_LOOKUPS inline std::int64_t shortRunsLength8(const std::uint8_t* ops) {
    const __m128i words = _mm_loadu_si128(reinterpret_cast<const __m128i*>(ops));
    const __m128i counts = _mm_and_si128(words, _mm_set1_epi16(0xFF));
    const __m128i inRange = _mm_and_si128(_mm_cmpgt_epi16(counts, _mm_setzero_si128()),
                                          _mm_cmplt_epi16(counts, _mm_set1_epi16(kShortRun + 1)));
    if (_mm_movemask_epi8(inRange) != 0xFFFF) return 0;
    const __m128i sums = _mm_sad_epu8(counts, _mm_setzero_si128());
    return _mm_cvtsi128_si64(sums) + _mm_extract_epi64(sums, 1);
}

// Where each byte of 64 pixels of a run comes from in its first 6 bytes (2 pixels, which at 4
// bits differ), for each third of the 192 bytes.
struct RunSpread {
    std::uint8_t byte[3][64];
};

constexpr RunSpread makeRunSpread() {
    RunSpread spread{};
    for (unsigned third = 0; third < 3; ++third) {
        for (unsigned byte = 0; byte < 64; ++byte)
            spread.byte[third][byte] = static_cast<std::uint8_t>((64 * third + byte) % 6);
    }
    return spread;
}

constexpr RunSpread kRunSpread = makeRunSpread();

// 64 pixels of a run whose pattern starts at pattern: three 64-byte stores.
GLIMMER_BYTE_LOOKUPS inline void writeLongRun(const std::uint8_t* pattern, std::uint8_t* out) {
    long long pair;
    std::memcpy(&pair, pattern, 8);
    const __m512i pixels = _mm512_set1_epi64(pair);
    for (int third = 0; third < 3; ++third) {
        _mm512_storeu_si512(out + 64 * third,
                            _mm512_maskz_permutexvar_epi8(
                                kAllLanes, _mm512_loadu_si512(kRunSpread.byte[third]), pixels));
    }
}

// Writes kOps short runs (whose ops the caller checked) from out on, one store each: each
// run's next one overwrites what its store wrote past it.
template <std::size_t kOps>
GLIMMER_BYTE_LOOKUPS inline void writeShortRuns(const std::uint8_t* ops,
                                                const ShortRunPatterns& patterns,
                                                std::uint8_t* out) {
    for (std::size_t op = 0; op < kOps; ++op) {
        const std::size_t count = ops[2 * op], value = ops[2 * op + 1];
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out),
                         _mm_load_si128(reinterpret_cast<const __m128i*>(patterns.bytes[value])));
        out += 3 * count;
    }
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
    const ShortRunPatterns shortRuns(stream.writer);
    while (at.position <= lastOp) {
        const std::uint8_t count = data[at.position];
        const std::uint8_t value = data[at.position + 1];
        if (count != 0) {
            const std::size_t offset = rowStart + 3 * at.x;
            at.fillSkipped(out, offset);
            // Short runs come in long series (dithering): 16 or 8 ops a step.
            if (count <= kShortRun) {
                std::int64_t length = shortRunsLength16(data + at.position);
                std::size_t ops = 16;
                if (length == 0 || length > width - at.x) {
                    length = shortRunsLength8(data + at.position);
                    ops = 8;
                }
                if (length != 0 && length <= width - at.x) {
                    if (ops == 16) {
                        writeShortRuns<16>(data + at.position, shortRuns, out + offset);
                    } else {
                        writeShortRuns<8>(data + at.position, shortRuns, out + offset);
                    }
                    at.x += length;
                    at.written = rowStart + 3 * at.x;
                    at.position += 2 * ops;
                    continue;
                }
            }
            if (count > width - at.x) break;
            if (count <= 64) {
                writeLongRun(stream.writer.pattern(value), out + offset);
            } else {
                stream.writer.writeRun(value, count, out + offset, stream.outputSize - offset);
            }
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

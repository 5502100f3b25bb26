// The common ops of run-length streams with AVX-512: literal runs looked up 64 pixels a step,
// series of short runs spread out and compressed into one step of 64 pixels, longer runs as
// three 64-byte stores. The bounds of the stream and of the output are checked once per row,
// not per write: every step may read and write whole vector blocks past its op, so the ops
// near either end are left to the decoder's own loop.
#include "image/dib_byte_lookups.h"
#include "image/dib_rle_stream.h"
#include "image/dib_simd.h"

#if defined(__GNUC__) && defined(__x86_64__)

// The byte look-ups, and the byte compression (VBMI2) of short runs.
#define GLIMMER_RUN_VECTORS __attribute__((target("avx512f,avx512bw,avx512vbmi,avx512vbmi2")))

namespace {

// Output bytes a write may reach past its row's end: a step of 64 pixels (192 bytes) from a
// run's start, or a literal run's last step (up to 63 pixels, 189 bytes, past the run), or
// RleRunWriter's blocks, which it writes only with its own slack (240 bytes) before the end.
constexpr std::size_t kRowSlack = 256;
// Stream bytes an op may read from its start: its 2 bytes and a literal run's whole 64-pixel
// steps (255 pixels read as 256 bytes at 8 bits, 128 at 4); 64 for a series of short runs.
constexpr std::size_t kOpReach = 2 + 256;
// A series of short runs is taken as one step from this many ops on; fewer are cheaper alone.
constexpr unsigned kShortSeries = 4;

template <unsigned kBitsPerPixel>
struct Planes;

template <>
struct Planes<8> : EightBitPlanes {
    GLIMMER_RUN_VECTORS explicit Planes(const std::uint8_t* planes) {
        loadEightBitPlanes(planes, *this);
    }
    GLIMMER_RUN_VECTORS void lookUp(__m512i index, std::uint8_t* out) const {
        lookUpEightBitIndices(*this, index, out);
    }
    GLIMMER_RUN_VECTORS void lookUp(const std::uint8_t* source, std::uint8_t* out) const {
        lookUpEightBitPixels(*this, source, out);
    }
};

template <>
struct Planes<4> : FourBitPlanes {
    GLIMMER_RUN_VECTORS explicit Planes(const std::uint8_t* planes) {
        loadFourBitPlanes(planes, *this);
    }
    GLIMMER_RUN_VECTORS void lookUp(__m512i index, std::uint8_t* out) const {
        lookUpFourBitIndices(*this, index, out);
    }
    GLIMMER_RUN_VECTORS void lookUp(const std::uint8_t* source, std::uint8_t* out) const {
        lookUpFourBitPixels(*this, source, out);
    }
};

// Runs of at most kSlot pixels, 64 / kSlot ops, each given kSlot of 64 lanes: for each lane,
// where its op's count and value lie among the ops' bytes, and the lane's place in the run.
template <unsigned kSlot>
struct ShortRunSpread {
    static constexpr unsigned kOps = 64 / kSlot;
    std::uint8_t count[64], value[64], place[64];
};

template <unsigned kSlot>
constexpr ShortRunSpread<kSlot> makeShortRunSpread() {
    ShortRunSpread<kSlot> spread{};
    for (unsigned lane = 0; lane < 64; ++lane) {
        const unsigned op = lane / kSlot;
        const bool inSlot = op < spread.kOps;
        spread.count[lane] = static_cast<std::uint8_t>(inSlot ? 2 * op : 0);
        spread.value[lane] = static_cast<std::uint8_t>(inSlot ? 2 * op + 1 : 0);
        // Lanes past the last slot get a place no run reaches.
        spread.place[lane] = static_cast<std::uint8_t>(inSlot ? lane % kSlot : 255);
    }
    return spread;
}

template <unsigned kSlot>
constexpr ShortRunSpread<kSlot> kShortRunSpread = makeShortRunSpread<kSlot>();

// How many of the next 64 / kSlot ops, from the first, are runs of 1 to kSlot pixels.
template <unsigned kSlot>
GLIMMER_RUN_VECTORS inline unsigned countShortRuns(const std::uint8_t* ops) {
    const __m512i counts = _mm512_and_si512(_mm512_loadu_si512(ops), _mm512_set1_epi16(0xFF));
    const __mmask32 outside = _mm512_cmpge_epu16_mask(
        _mm512_sub_epi16(counts, _mm512_set1_epi16(1)), _mm512_set1_epi16(kSlot));
    const unsigned leading = static_cast<unsigned>(__builtin_ctz(outside | 0x80000000u));
    return leading < ShortRunSpread<kSlot>::kOps ? leading : ShortRunSpread<kSlot>::kOps;
}

// The palette indices of the pixels of the first ops runs of at most kSlot pixels, in the
// first lanes; pixels is their number. Each op's value is spread over its kSlot lanes, of
// which the first count are kept.
template <unsigned kSlot, unsigned kBitsPerPixel>
GLIMMER_RUN_VECTORS inline __m512i expandShortRuns(const std::uint8_t* ops, unsigned opCount,
                                                   std::uint64_t& pixels) {
    const ShortRunSpread<kSlot>& spread = kShortRunSpread<kSlot>;
    const __m512i words = _mm512_loadu_si512(ops);
    const __m512i counts =
        _mm512_maskz_permutexvar_epi8(kAllLanes, _mm512_loadu_si512(spread.count), words);
    __m512i values =
        _mm512_maskz_permutexvar_epi8(kAllLanes, _mm512_loadu_si512(spread.value), words);
    const __m512i place = _mm512_loadu_si512(spread.place);
    if constexpr (kBitsPerPixel == 4) {
        // The high half of the value for a run's even pixels, the low half for its odd ones.
        const __mmask64 odd = _mm512_test_epi8_mask(place, _mm512_set1_epi8(1));
        const __m512i half = _mm512_set1_epi8(15);
        values = _mm512_mask_blend_epi8(odd, _mm512_and_si512(_mm512_srli_epi16(values, 4), half),
                                        _mm512_and_si512(values, half));
    }
    const unsigned lanes = opCount * kSlot;
    const __mmask64 taken = lanes >= 64 ? kAllLanes : (__mmask64{1} << lanes) - 1;
    const __mmask64 keep = _mm512_mask_cmplt_epu8_mask(taken, place, counts);
    pixels = static_cast<std::uint64_t>(__builtin_popcountll(keep));
    return _mm512_maskz_compress_epi8(keep, values);
}

// Where each byte of 64 pixels of a run comes from in the first 6 bytes of its pattern (2
// pixels, which at 4 bits differ), for each third of the 192 bytes.
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
GLIMMER_RUN_VECTORS inline void writeRunStep(const std::uint8_t* pattern, std::uint8_t* out) {
    long long pair;
    std::memcpy(&pair, pattern, 8);
    const __m512i pixels = _mm512_set1_epi64(pair);
    for (int third = 0; third < 3; ++third) {
        _mm512_storeu_si512(out + 64 * third,
                            _mm512_maskz_permutexvar_epi8(
                                kAllLanes, _mm512_loadu_si512(kRunSpread.byte[third]), pixels));
    }
}

// Writes the series of short runs that starts at the next op when it is long enough and fits
// the row, and returns whether it did.
template <unsigned kSlot, unsigned kBitsPerPixel>
GLIMMER_RUN_VECTORS bool writeShortSeries(const RleStream<kBitsPerPixel>& stream,
                                          const Planes<kBitsPerPixel>& planes, RleProgress& at,
                                          std::size_t rowStart) {
    const std::uint8_t* ops = stream.data + at.position;
    const unsigned series = countShortRuns<kSlot>(ops);
    if (series < kShortSeries) return false;
    std::uint64_t pixels;
    const __m512i indices = expandShortRuns<kSlot, kBitsPerPixel>(ops, series, pixels);
    if (static_cast<std::int64_t>(pixels) > stream.width - at.x) return false;
    const std::size_t offset = rowStart + 3 * static_cast<std::size_t>(at.x);
    at.fillSkipped(stream.out, offset);
    planes.lookUp(indices, stream.out + offset);
    at.position += 2 * series;
    at.x += static_cast<std::int64_t>(pixels);
    at.written = offset + 3 * pixels;
    return true;
}

template <unsigned kBitsPerPixel>
GLIMMER_RUN_VECTORS void decodeWithVectors(const RleStream<kBitsPerPixel>& stream,
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
            // Short runs come in long series (dithering): runs of up to 3 pixels 21 ops a
            // step, else of up to 4 pixels 16 ops a step.
            if (count <= 4 && (writeShortSeries<3>(stream, planes, at, rowStart) ||
                               writeShortSeries<4>(stream, planes, at, rowStart))) {
                continue;
            }
            if (count > width - at.x) break;
            const std::size_t offset = rowStart + 3 * at.x;
            at.fillSkipped(out, offset);
            if (count <= 64) {
                writeRunStep(stream.writer.pattern(value), out + offset);
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
                planes.lookUp(source, write);
                source += 64 * kBitsPerPixel / 8;
                write += 192;
            }
            const std::size_t bytes = (value * kBitsPerPixel + 7) / 8;
            at.position += 2 + ((bytes + 1) & ~std::size_t{1});
            at.x += value;
            at.written = offset + 3 * value;
        } else if (value == kRleEndOfLine || value == kRleDelta) {
            // A line end, or a move right and up that stays inside the picture (else the
            // decoder's loop reports it); either may leave the rows with room to write.
            std::int64_t x = 0, y = at.y + 1;
            if (value == kRleDelta) {
                x = at.x + data[at.position + 2];
                y = at.y + data[at.position + 3];
                if (x > width || y > stream.rows) break;
            }
            at.position += value == kRleDelta ? 4 : 2;
            at.x = x;
            at.y = y;
            rowStart = static_cast<std::size_t>(y) * rowBytes;
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
    if (hasRunLengthVectors()) decodeWithVectors(stream, progress);
}

#else

template <unsigned kBitsPerPixel>
void decodeCommonRleOps(const RleStream<kBitsPerPixel>&, RleProgress&) {}

#endif

template void decodeCommonRleOps<4>(const RleStream<4>&, RleProgress&);
template void decodeCommonRleOps<8>(const RleStream<8>&, RleProgress&);

// The common ops of run-length streams with AVX-512. Ops are decoded into palette indices, one
// byte per pixel of the row, runs and literal runs alike through one branch-free path (series
// of short runs spread out and compressed 64 pixels a step); each finished stretch of a row is
// then looked up into RGB 64 pixels a step, a step per op of the next row. Ops follow each
// other through a window of the stream worked out ahead in vectors, where each pair of bytes
// gives the size of the op that would start there. The bounds of the stream and of the output
// are checked once per row and per op, not per write: every step may read and write whole
// vector blocks past its op, so the ops near either end are left to the decoder's own loop.
#include <algorithm>
#include <memory>
#include <new>

#include "bmp/dib_byte_lookups.h"
#include "bmp/dib_rle_stream.h"
#include "bmp/dib_simd.h"

#if defined(__GNUC__) && defined(__x86_64__)

// The byte look-ups, and the byte compression (VBMI2) of short runs.
#define GLIMMER_RUN_VECTORS __attribute__((target("avx512f,avx512bw,avx512vbmi,avx512vbmi2")))

namespace {

// Output bytes a look-up may write past its row's end: a stretch's last step of 64 pixels
// (192 bytes) may start 1 pixel before it.
constexpr std::size_t kRowSlack = 256;
// Stream bytes an op may read from its start: its 2 bytes and 64 bytes per 64 pixels of a
// literal run (255 pixels in 256 bytes at 8 bits, 160 at 4); 64 for a series of short runs.
constexpr std::size_t kOpReach = 2 + 256;
// A series of short runs is taken as one step from this many ops on; fewer are cheaper alone.
constexpr unsigned kShortSeries = 4;
// Index bytes past a row's end that an op's 64-byte stores, and the look-ups, may reach.
constexpr std::int64_t kRowIndexSlack = 64;

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
};

template <>
struct Planes<4> : FourBitPlanes {
    GLIMMER_RUN_VECTORS explicit Planes(const std::uint8_t* planes) {
        loadFourBitPlanes(planes, *this);
    }
    GLIMMER_RUN_VECTORS void lookUp(__m512i index, std::uint8_t* out) const {
        lookUpFourBitIndices(*this, index, out);
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

// 64 palette indices, one byte per pixel, from the first pixels packed in bytes: at 8 bits the
// bytes themselves, at 4 bits the halves of the first 32 bytes, each byte's high half first,
// with whatever bits above them (the look-ups of 4-bit palettes take only the low 4 bits).
template <unsigned kBitsPerPixel>
GLIMMER_RUN_VECTORS inline __m512i indicesOf(__m512i bytes) {
    if constexpr (kBitsPerPixel == 8) {
        return bytes;
    } else {
        return splitFourBitPixels(bytes);
    }
}

// Where decoding stands: the next op, as its pair's index in the window of ops, and the
// cursor's pixel in the row.
struct RowCursor {
    std::size_t op;
    std::int64_t x;
};

// The lanes of the counts and of the values of 64 ops' pairs among their 128 bytes.
struct PairBytes {
    std::uint8_t count[64], value[64];
};

constexpr PairBytes makePairBytes() {
    PairBytes table{};
    for (unsigned lane = 0; lane < 64; ++lane) {
        table.count[lane] = static_cast<std::uint8_t>(2 * lane);
        table.value[lane] = static_cast<std::uint8_t>(2 * lane + 1);
    }
    return table;
}

constexpr PairBytes kPairBytes = makePairBytes();

// The first n of 64 lanes.
inline __mmask64 firstLanes(std::size_t n) {
    return n >= 64 ? ~__mmask64{0} : (__mmask64{1} << n) - 1;
}

// Marks the pairs of a window whose op needs more than the common path: an escape, or a run of
// 1 to 4 pixels followed by another (the start of a series of short runs).
constexpr std::uint8_t kSpecialOp = 0x80;

// A window of the stream's ops: for each pair of stream bytes from start, how many pairs the op
// that would start there takes up, with kSpecialOp added where it needs more than the common
// path. Decoding follows these steps from op to op, a load and an add, instead of working each
// one out from its op's bytes when they arrive.
template <unsigned kBitsPerPixel>
class OpWindow {
  public:
    static constexpr std::size_t kPairs = 4096;

    // Fills the window from stream position start (even, at most lastOp), and sets its limit:
    // the ops within it that start at or before lastOp. 64 pairs a step, their counts and
    // values gathered apart.
    GLIMMER_RUN_VECTORS void fill(const std::uint8_t* data, std::size_t size, std::size_t start,
                                  std::size_t lastOp) {
        start_ = start;
        const std::size_t pairs = std::min(kPairs, (size - start) / 2);
        limit_ = std::min(pairs, (lastOp - start) / 2 + 1);
        const __m512i countLanes = _mm512_loadu_si512(kPairBytes.count);
        const __m512i valueLanes = _mm512_loadu_si512(kPairBytes.value);
        const __m512i one = _mm512_set1_epi8(1), two = _mm512_set1_epi8(2);
        for (std::size_t pair = 0; pair < pairs; pair += 64) {
            const std::uint8_t* from = data + start + 2 * pair;
            const std::size_t bytes = 2 * std::min<std::size_t>(pairs - pair, 64);
            const __m512i low = _mm512_maskz_loadu_epi8(firstLanes(bytes), from);
            const __m512i high =
                _mm512_maskz_loadu_epi8(firstLanes(bytes < 64 ? 0 : bytes - 64), from + 64);
            const __m512i count = _mm512_permutex2var_epi8(low, countLanes, high);
            const __m512i value = _mm512_permutex2var_epi8(low, valueLanes, high);
            // A literal run of value pixels takes 1 + its padded bytes / 2 pairs (a move,
            // value 2, takes 2 alike; a line end 1); a run 1.
            __m512i literal = _mm512_avg_epu8(value, two);  // (value + 3) / 2
            if constexpr (kBitsPerPixel == 4) {
                literal = _mm512_add_epi8(
                    _mm512_and_si512(_mm512_srli_epi16(literal, 1), _mm512_set1_epi8(0x7F)), one);
            }
            const __mmask64 run = _mm512_test_epi8_mask(count, count);
            const __m512i steps = _mm512_mask_blend_epi8(run, literal, one);
            const __mmask64 escape = _mm512_mask_cmple_epu8_mask(~run, value, two);
            // A run of 1 to 4 pixels followed by another: the next pair is the next op.
            const std::uint64_t shortRun = _cvtmask64_u64(
                _mm512_cmplt_epu8_mask(_mm512_sub_epi8(count, one), _mm512_set1_epi8(4)));
            const bool nextShort = pair + 64 < pairs && from[128] - 1u < 4;
            const std::uint64_t shortNext = (shortRun >> 1) | (std::uint64_t{nextShort} << 63);
            const __mmask64 special = escape | _cvtu64_mask64(shortRun & shortNext);
            _mm512_storeu_si512(
                table_ + pair,
                _mm512_mask_add_epi8(steps, special, steps,
                                     _mm512_set1_epi8(static_cast<char>(kSpecialOp))));
            // A run's count, or a literal run's value.
            _mm512_storeu_si512(table_ + kPixelsAt + pair,
                                _mm512_mask_blend_epi8(run, value, count));
        }
    }

    // How far the pixel counts lie from the steps in the table.
    static constexpr std::size_t kPixelsAt = kPairs + 64;

    std::size_t limit() const { return limit_; }
    // The steps, and kPixelsAt bytes on, each op's pixels.
    const std::uint8_t* steps() const { return table_; }
    // The stream position of the op at index op.
    std::size_t position(std::size_t op) const { return start_ + 2 * op; }

  private:
    std::size_t start_ = 0, limit_ = 0;
    std::uint8_t table_[2 * kPixelsAt];
};

// The look-ups of a decoded stretch of a row still to do: 64 pixels a step, each from 64
// index bytes at source to 192 bytes at out.
struct PendingLookups {
    const std::uint8_t* source = nullptr;
    std::uint8_t* out = nullptr;
    std::int64_t steps = 0;
};

template <unsigned kBitsPerPixel>
GLIMMER_RUN_VECTORS inline __attribute__((always_inline)) void lookUpStep(
    const Planes<kBitsPerPixel>& planes, PendingLookups& pending) {
    planes.lookUp(_mm512_loadu_si512(pending.source), pending.out);
    pending.source += 64;
    pending.out += 192;
    --pending.steps;
}

// Where decoding stands inside decodeRowOps: the next op and its step in the window, the room
// left in the row, and where the next pixel's index goes.
struct OpCursor {
    const std::uint8_t* op;
    const std::uint8_t* step;
    std::int64_t room;
    std::uint8_t* indices;
};

// Decodes the series of short runs that starts at the next op into the row's indices when it
// is long enough and fits the row, and returns whether it did.
template <unsigned kSlot, unsigned kBitsPerPixel>
GLIMMER_RUN_VECTORS inline __attribute__((always_inline)) bool decodeShortSeries(OpCursor& at) {
    const std::uint8_t* ops = at.op;
    const unsigned series = countShortRuns<kSlot>(ops);
    if (series < kShortSeries) return false;
    std::uint64_t pixels;
    const __m512i indices = expandShortRuns<kSlot, kBitsPerPixel>(ops, series, pixels);
    if (static_cast<std::int64_t>(pixels) > at.room) return false;
    _mm512_storeu_si512(at.indices, indices);
    at.op += 2 * series;
    at.step += series;
    at.room -= static_cast<std::int64_t>(pixels);
    at.indices += pixels;
    return true;
}

// Decodes runs and literal runs into the row's palette indices, one byte per pixel at its x,
// until an escape, an op that does not fit the row, or the window's limit. Both kinds go
// through one path that picks its source with a mask: the kind comes in no order the processor
// could foresee, and a branch on it would be mispredicted every other op. Each op also takes a
// step of the look-ups left from the previous row, which the processor runs while it waits
// for the next op.
template <unsigned kBitsPerPixel>
GLIMMER_RUN_VECTORS inline __attribute__((always_inline)) void decodeRowOps(
    const std::uint8_t* data, const OpWindow<kBitsPerPixel>& window, std::int64_t width,
    const Planes<kBitsPerPixel>& planes, RowCursor& cursor, PendingLookups& pendingLookups,
    std::uint8_t* row) {
    const std::uint8_t* steps = window.steps();
    OpCursor at{data + window.position(cursor.op), steps + cursor.op, width - cursor.x,
                row + cursor.x};
    PendingLookups pending = pendingLookups;
    const std::uint8_t* const lastStep = steps + window.limit();
    while (at.step < lastStep) {
        if (pending.steps != 0) lookUpStep(planes, pending);
        unsigned taken = *at.step;
        if (taken >= kSpecialOp) {
            if (at.op[0] == 0) break;  // an escape
            // Short runs come in long series (dithering): runs of up to 3 pixels 21 ops a
            // step, else of up to 4 pixels 16 ops a step.
            if ((decodeShortSeries<3, kBitsPerPixel>(at) ||
                 decodeShortSeries<4, kBitsPerPixel>(at))) {
                continue;
            }
            taken -= kSpecialOp;
        }
        const unsigned pixels = at.step[OpWindow<kBitsPerPixel>::kPixelsAt];
        if (static_cast<std::int64_t>(pixels) > at.room) break;
        // A literal run has a zero count. Masks, not branches, from here on: the kind comes in
        // no order the processor could foresee.
        const __m512i count = _mm512_set1_epi8(static_cast<char>(at.op[0]));
        const __mmask64 fromStream = _mm512_testn_epi8_mask(count, count);
        const std::uint8_t* source = at.op + 2;
        const __m512i repeated = _mm512_set1_epi8(static_cast<char>(at.op[1]));
        _mm512_storeu_si512(at.indices, indicesOf<kBitsPerPixel>(
                                            _mm512_mask_loadu_epi8(repeated, fromStream, source)));
        for (unsigned done = 64; done < pixels; done += 64) {
            const __m512i bytes =
                _mm512_mask_loadu_epi8(repeated, fromStream, source + done * kBitsPerPixel / 8);
            _mm512_storeu_si512(at.indices + done, indicesOf<kBitsPerPixel>(bytes));
        }
        at.step += taken;
        at.op += 2 * taken;
        at.room -= pixels;
        at.indices += pixels;
    }
    cursor = {static_cast<std::size_t>(at.step - steps), width - at.room};
    pendingLookups = pending;
}

// Two rows of palette indices: one being decoded, the other's look-ups pending.
template <unsigned kBitsPerPixel>
class IndexRows {
  public:
    IndexRows(const RleStream<kBitsPerPixel>& stream, const RleProgress& progress)
        : planes_(stream.palette.tables().planes),
          out_(stream.out),
          rowBytes_(static_cast<std::size_t>(stream.width + kRowIndexSlack)),
          rows_(new (std::nothrow) std::uint8_t[2 * rowBytes_]()),
          done_(progress) {}

    bool ready() const { return rows_ != nullptr; }
    const Planes<kBitsPerPixel>& planes() const { return planes_; }
    PendingLookups& pending() { return pending_; }
    // Where the current stretch's indices go: pixel x's at row()[x].
    std::uint8_t* row() const { return rows_.get() + current_ * rowBytes_; }

    // Queues the look-ups of the current stretch, pixels [first, end) of the row at rowStart,
    // once those still pending are done; then decoding goes on in the other row.
    GLIMMER_RUN_VECTORS void handOver(std::size_t rowStart, std::int64_t first, std::int64_t end) {
        if (first == end) return;
        finish();
        // The black of skipped pixels goes in before the stretch, as later look-ups may
        // overwrite blocks past the end of earlier ones.
        done_.fillSkipped(out_, rowStart + 3 * static_cast<std::size_t>(first));
        pending_ = {row() + first, out_ + rowStart + 3 * first, (end - first + 63) / 64};
        done_.written = rowStart + 3 * static_cast<std::size_t>(end);
        current_ ^= 1;
    }

    // Does every pending look-up, and returns the output bytes before the cursor that are final.
    GLIMMER_RUN_VECTORS std::size_t finish() {
        while (pending_.steps != 0) lookUpStep(planes_, pending_);
        return done_.written;
    }

  private:
    const Planes<kBitsPerPixel> planes_;
    std::uint8_t* const out_;
    const std::size_t rowBytes_;
    const std::unique_ptr<std::uint8_t[]> rows_;
    unsigned current_ = 0;
    PendingLookups pending_;
    RleProgress done_;  // what the look-ups have written, or will have when finished
};

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
    std::size_t rowStart = static_cast<std::size_t>(progress.y) * rowBytes;
    if (progress.position > lastOp || rowStart + rowBytes > lastRowEnd) return;

    IndexRows<kBitsPerPixel> rows(stream, progress);
    if (!rows.ready()) return;
    const std::uint8_t* data = stream.data;
    OpWindow<kBitsPerPixel> window;
    window.fill(data, stream.size, progress.position, lastOp);
    RowCursor at{0, progress.x};
    std::int64_t y = progress.y;
    std::int64_t first = at.x;  // of the current stretch of the row
    while (true) {
        decodeRowOps<kBitsPerPixel>(data, window, width, rows.planes(), at, rows.pending(),
                                    rows.row());
        const std::size_t position = window.position(at.op);
        if (at.op >= window.limit()) {
            if (position > lastOp) break;
            window.fill(data, stream.size, position, lastOp);
            at.op = 0;
            continue;
        }
        const std::uint8_t op = data[position + 1];
        if (data[position] != 0 || op > kRleDelta || op == kRleEndOfBitmap) break;
        // A line end, or a move right and up that stays inside the picture (else the
        // decoder's loop reports it); either may leave the rows with room to write.
        std::int64_t x = 0, nextY = y + 1;
        if (op == kRleDelta) {
            x = at.x + data[position + 2];
            nextY = y + data[position + 3];
            if (x > width || nextY > stream.rows) break;
        }
        rows.handOver(rowStart, first, at.x);
        at.op += op == kRleDelta ? 2 : 1;
        at.x = first = x;
        y = nextY;
        rowStart = static_cast<std::size_t>(y) * rowBytes;
        if (y >= stream.rows || rowStart + rowBytes > lastRowEnd) break;
    }
    rows.handOver(rowStart, first, at.x);
    progress.written = rows.finish();
    progress.position = window.position(at.op);
    progress.x = at.x;
    progress.y = y;
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

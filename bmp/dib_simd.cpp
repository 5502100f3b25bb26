// SSSE3 (byte shuffles), AVX2 (gathers) and AVX-512 VBMI (byte look-ups) on x86-64 with GCC
// or Clang, each checked once at run time; every other build converts with the portable loops
// alone. The shuffle and gather steps load and store 16 bytes where they need 12: the 4 spare
// bytes they store belong to the next pixels, which the next step or the caller writes, and
// the loops stop early enough to keep every load and store inside the row.
#include "bmp/dib_simd.h"

#if defined(__GNUC__) && defined(__x86_64__)
#include "bmp/dib_byte_lookups.h"

namespace {

// What the processor offers, asked once.
struct Instructions {
    bool byteShuffles, gathers, byteLookups, byteCompression;
};

const Instructions& instructions() {
    static const Instructions present = [] {
        __builtin_cpu_init();
        return Instructions{
            __builtin_cpu_supports("ssse3") != 0, __builtin_cpu_supports("avx2") != 0,
            __builtin_cpu_supports("avx512bw") != 0 && __builtin_cpu_supports("avx512vbmi") != 0,
            __builtin_cpu_supports("avx512vbmi2") != 0};
    }();
    return present;
}

template <unsigned kSourceStep>
__attribute__((target("ssse3"))) std::uint32_t shuffleBgr(const std::uint8_t* source,
                                                          std::uint32_t count, std::uint8_t* out) {
    const __m128i order =
        kSourceStep == 3 ? _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, -1, -1, -1, -1)
                         : _mm_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1);
    std::uint32_t x = 0;
    // 4 pixels a step; 16 bytes read and written reach into the sixth pixel.
    for (; x + 6 <= count; x += 4, source += 4 * kSourceStep, out += 12) {
        const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_shuffle_epi8(pixels, order));
    }
    return x;
}

// Widens eight 5-bit channels (in 16-bit lanes) to 8 bits by repeating their top bits.
__attribute__((target("ssse3"))) __m128i widenFiveBits(__m128i channels) {
    return _mm_or_si128(_mm_slli_epi16(channels, 3), _mm_srli_epi16(channels, 2));
}

// 8 pixels of 5-5-5 a step: 16 bytes read, exactly 24 written.
__attribute__((target("ssse3"))) std::uint32_t shuffleRgb16(const std::uint8_t* source,
                                                            std::uint32_t count,
                                                            std::uint8_t* out) {
    const __m128i five = _mm_set1_epi16(31);
    // Red and green as byte pairs, blue alone, then interleaved into 16 + 8 output bytes.
    const __m128i pairsLow = _mm_setr_epi8(0, 1, -1, 2, 3, -1, 4, 5, -1, 6, 7, -1, 8, 9, -1, 10);
    const __m128i bluesLow =
        _mm_setr_epi8(-1, -1, 0, -1, -1, 2, -1, -1, 4, -1, -1, 6, -1, -1, 8, -1);
    const __m128i pairsHigh =
        _mm_setr_epi8(11, -1, 12, 13, -1, 14, 15, -1, -1, -1, -1, -1, -1, -1, -1, -1);
    const __m128i bluesHigh =
        _mm_setr_epi8(-1, 10, -1, -1, 12, -1, -1, 14, -1, -1, -1, -1, -1, -1, -1, -1);
    std::uint32_t x = 0;
    for (; x + 8 <= count; x += 8, source += 16, out += 24) {
        const __m128i value = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source));
        const __m128i red = widenFiveBits(_mm_and_si128(_mm_srli_epi16(value, 10), five));
        const __m128i green = widenFiveBits(_mm_and_si128(_mm_srli_epi16(value, 5), five));
        const __m128i blue = widenFiveBits(_mm_and_si128(value, five));
        const __m128i pairs = _mm_or_si128(red, _mm_slli_epi16(green, 8));
        const __m128i low =
            _mm_or_si128(_mm_shuffle_epi8(pairs, pairsLow), _mm_shuffle_epi8(blue, bluesLow));
        const __m128i high =
            _mm_or_si128(_mm_shuffle_epi8(pairs, pairsHigh), _mm_shuffle_epi8(blue, bluesHigh));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), low);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 16), high);
    }
    return x;
}

// Keeps the first 12 bytes of each 16-byte half: 4 pixels of 3 bytes from 4-byte (8-bit) or
// 2 pixel pairs of 6 bytes from 8-byte (4-bit) gathered entries.
__attribute__((target("avx2"))) void storeGathered(__m256i entries, bool pairs, std::uint8_t* out) {
    const __m256i keep =
        pairs ? _mm256_setr_epi8(0, 1, 2, 3, 4, 5, 8, 9, 10, 11, 12, 13, -1, -1, -1, -1, 0, 1, 2, 3,
                                 4, 5, 8, 9, 10, 11, 12, 13, -1, -1, -1, -1)
              : _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1, 0, 1, 2, 4,
                                 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    const __m256i packed = _mm256_shuffle_epi8(entries, keep);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm256_castsi256_si128(packed));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 12), _mm256_extracti128_si256(packed, 1));
}

// 8 pixels a step, 28 bytes written: the step stops while 10 pixels remain.
__attribute__((target("avx2"))) std::uint32_t gather8(const std::uint8_t* source,
                                                      std::uint32_t count,
                                                      const std::uint8_t* table,
                                                      std::uint8_t* out) {
    std::uint32_t x = 0;
    for (; x + 10 <= count; x += 8, out += 24) {
        const __m256i index =
            _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(source + x)));
        const __m256i offset = _mm256_add_epi32(index, _mm256_slli_epi32(index, 1));
        storeGathered(_mm256_i32gather_epi32(reinterpret_cast<const int*>(table), offset, 1), false,
                      out);
    }
    return x;
}

// 64 pixels a step, read and written exactly (64 bytes in, 192 out).
GLIMMER_BYTE_LOOKUPS std::uint32_t lookUp8(const std::uint8_t* source, std::uint32_t count,
                                           const std::uint8_t* planes, std::uint8_t* out) {
    EightBitPlanes loaded;
    loadEightBitPlanes(planes, loaded);
    std::uint32_t x = 0;
    for (; x + 64 <= count; x += 64, out += 192) lookUpEightBitPixels(loaded, source + x, out);
    return x;
}

// 64 pixels (32 source bytes) a step, read and written exactly.
GLIMMER_BYTE_LOOKUPS std::uint32_t lookUp4(const std::uint8_t* source, std::uint32_t count,
                                           const std::uint8_t* planes, std::uint8_t* out) {
    FourBitPlanes loaded;
    loadFourBitPlanes(planes, loaded);
    std::uint32_t x = 0;
    for (; x + 64 <= count; x += 64, source += 32, out += 192)
        lookUpFourBitPixels(loaded, source, out);
    return x;
}

// For 1-bit rows: lane j of 64 pixels reads source byte j / 8 and tests its bit for pixel
// j % 8, the leftmost pixel in the highest bit.
struct BitSpread {
    std::uint8_t byte[64];
    std::uint8_t bit[64];
};

constexpr BitSpread makeBitSpread() {
    BitSpread spread{};
    for (unsigned lane = 0; lane < 64; ++lane) {
        spread.byte[lane] = static_cast<std::uint8_t>(lane / 8);
        spread.bit[lane] = static_cast<std::uint8_t>(0x80u >> (lane % 8));
    }
    return spread;
}

constexpr BitSpread kBitSpread = makeBitSpread();

// 64 pixels (8 source bytes) a step, read and written exactly: each pixel picks colour 0 or 1.
GLIMMER_BYTE_LOOKUPS std::uint32_t lookUp1(const std::uint8_t* source, std::uint32_t count,
                                           const std::uint8_t* planes, std::uint8_t* out) {
    const __m512i byteOfLane = _mm512_loadu_si512(kBitSpread.byte);
    const __m512i bitOfLane = _mm512_loadu_si512(kBitSpread.bit);
    const __m512i red[2] = {_mm512_set1_epi8(static_cast<char>(planes[0])),
                            _mm512_set1_epi8(static_cast<char>(planes[1]))};
    const __m512i green[2] = {_mm512_set1_epi8(static_cast<char>(planes[256])),
                              _mm512_set1_epi8(static_cast<char>(planes[257]))};
    const __m512i blue[2] = {_mm512_set1_epi8(static_cast<char>(planes[512])),
                             _mm512_set1_epi8(static_cast<char>(planes[513]))};
    std::uint32_t x = 0;
    for (; x + 64 <= count; x += 64, source += 8, out += 192) {
        const __m512i eight =
            _mm512_zextsi128_si512(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(source)));
        const __m512i spread = _mm512_maskz_permutexvar_epi8(kAllLanes, byteOfLane, eight);
        const __mmask64 set = _mm512_test_epi8_mask(spread, bitOfLane);
        storeInterleaved(_mm512_mask_blend_epi8(set, red[0], red[1]),
                         _mm512_mask_blend_epi8(set, green[0], green[1]),
                         _mm512_mask_blend_epi8(set, blue[0], blue[1]), out);
    }
    return x;
}

// 4 source bytes (8 pixels) a step, the same 28 bytes written.
__attribute__((target("avx2"))) std::uint32_t gather4(const std::uint8_t* source,
                                                      std::uint32_t count,
                                                      const std::uint8_t* table,
                                                      std::uint8_t* out) {
    std::uint32_t x = 0;
    for (; x + 10 <= count; x += 8, source += 4, out += 24) {
        std::int32_t four;
        __builtin_memcpy(&four, source, 4);
        const __m128i index = _mm_cvtepu8_epi32(_mm_cvtsi32_si128(four));
        const __m128i offset = _mm_add_epi32(_mm_slli_epi32(index, 2), _mm_slli_epi32(index, 1));
        storeGathered(_mm256_i32gather_epi64(reinterpret_cast<const long long*>(table), offset, 1),
                      true, out);
    }
    return x;
}

}  // namespace

std::uint32_t shuffleBgrPixels(const std::uint8_t* source, unsigned sourceStep, std::uint32_t count,
                               std::uint8_t* out) {
    if (!instructions().byteShuffles) return 0;
    return sourceStep == 3 ? shuffleBgr<3>(source, count, out) : shuffleBgr<4>(source, count, out);
}

std::uint32_t shuffleRgb16Pixels(const std::uint8_t* source, std::uint32_t count,
                                 std::uint8_t* out) {
    return instructions().byteShuffles ? shuffleRgb16(source, count, out) : 0;
}

bool hasRunLengthVectors() {
    return instructions().byteLookups && instructions().byteCompression;
}

std::uint32_t lookUpPalettePixels(const std::uint8_t* source, unsigned bitsPerPixel,
                                  std::uint32_t count, const PaletteTables& tables,
                                  std::uint8_t* out) {
    std::uint32_t done = 0;
    if (instructions().byteLookups) {
        done = bitsPerPixel == 8   ? lookUp8(source, count, tables.planes, out)
               : bitsPerPixel == 4 ? lookUp4(source, count, tables.planes, out)
                                   : lookUp1(source, count, tables.planes, out);
    }
    if (bitsPerPixel == 1 || !instructions().gathers) return done;
    // done is a multiple of 64 pixels, so at 4 bits a whole number of source bytes.
    const std::uint32_t rest = count - done;
    return done + (bitsPerPixel == 8
                       ? gather8(source + done, rest, tables.expanded, out + 3 * done)
                       : gather4(source + done / 2, rest, tables.expanded, out + 3 * done));
}

#else

bool hasRunLengthVectors() {
    return false;
}

std::uint32_t shuffleBgrPixels(const std::uint8_t*, unsigned, std::uint32_t, std::uint8_t*) {
    return 0;
}

std::uint32_t shuffleRgb16Pixels(const std::uint8_t*, std::uint32_t, std::uint8_t*) {
    return 0;
}

std::uint32_t lookUpPalettePixels(const std::uint8_t*, unsigned, std::uint32_t,
                                  const PaletteTables&, std::uint8_t*) {
    return 0;
}

#endif

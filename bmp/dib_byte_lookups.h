// AVX-512 VBMI palette look-ups of 64 pixels at a time, shared by the row converters and the
// run-length decoder. At 8 bits, byte permutes look each channel up in its 256-entry plane,
// then the three channels are interleaved into 192 bytes of RGB; at 4 bits, every output byte
// is looked up straight from one register holding all three channels. For x86-64 builds with
// GCC or Clang; callers check the processor first.
#pragma once

#include <cstdint>

#if defined(__GNUC__) && defined(__x86_64__)
#include <immintrin.h>

#define GLIMMER_BYTE_LOOKUPS __attribute__((target("avx512f,avx512bw,avx512vbmi")))

// Where each of the 192 output bytes of 64 pixels comes from: output byte 3k + c is channel c
// of pixel k. For each 64-byte third: the lane to take from red (k) or green (64 + k), the
// lane k for blue, and which bytes are blue; and 16 times each byte's channel.
struct Interleave {
    std::uint8_t redGreen[3][64];
    std::uint8_t pixel[3][64];
    std::uint64_t blue[3];
    std::uint8_t channelSixteenths[3][64];
};

constexpr Interleave makeInterleave() {
    Interleave table{};
    for (unsigned third = 0; third < 3; ++third) {
        for (unsigned byte = 0; byte < 64; ++byte) {
            const unsigned at = 64 * third + byte, pixel = at / 3, channel = at % 3;
            table.pixel[third][byte] = static_cast<std::uint8_t>(pixel);
            table.redGreen[third][byte] =
                static_cast<std::uint8_t>(channel == 1 ? 64 + pixel : pixel);
            if (channel == 2) table.blue[third] |= std::uint64_t{1} << byte;
            table.channelSixteenths[third][byte] = static_cast<std::uint8_t>(16 * channel);
        }
    }
    return table;
}

inline constexpr Interleave kInterleave = makeInterleave();

// Every lane of a 64-byte register (the masked form of the look-up keeps GCC 12's intrinsic
// header free of a false warning).
inline constexpr __mmask64 kAllLanes = ~__mmask64{0};

// Writes the 192 bytes of 64 pixels given as their red, green and blue bytes.
GLIMMER_BYTE_LOOKUPS inline void storeInterleaved(__m512i r, __m512i g, __m512i b,
                                                  std::uint8_t* out) {
    for (int third = 0; third < 3; ++third) {
        const __m512i redGreen =
            _mm512_permutex2var_epi8(r, _mm512_loadu_si512(kInterleave.redGreen[third]), g);
        const __m512i bytes = _mm512_mask_permutexvar_epi8(
            redGreen, kInterleave.blue[third], _mm512_loadu_si512(kInterleave.pixel[third]), b);
        _mm512_storeu_si512(out + 64 * third, bytes);
    }
}

// The 256 colours of an 8-bit palette, each channel's plane in four registers.
struct EightBitPlanes {
    __m512i red[4], green[4], blue[4];
};

GLIMMER_BYTE_LOOKUPS inline void loadEightBitPlanes(const std::uint8_t* planes,
                                                    EightBitPlanes& loaded) {
    for (int i = 0; i < 4; ++i) {
        loaded.red[i] = _mm512_loadu_si512(planes + 64 * i);
        loaded.green[i] = _mm512_loadu_si512(planes + 256 + 64 * i);
        loaded.blue[i] = _mm512_loadu_si512(planes + 512 + 64 * i);
    }
}

// One channel of 64 pixels from its plane: the index's top bit picks the half, its low 7 bits
// the byte within the half.
GLIMMER_BYTE_LOOKUPS inline __m512i lookUpChannel(__m512i index, __mmask64 upper,
                                                  const __m512i* plane) {
    const __m512i lower = _mm512_permutex2var_epi8(plane[0], index, plane[1]);
    const __m512i higher = _mm512_permutex2var_epi8(plane[2], index, plane[3]);
    return _mm512_mask_blend_epi8(upper, lower, higher);
}

// 64 pixels of 8 bits, given as their indices, to 192 bytes of RGB.
GLIMMER_BYTE_LOOKUPS inline void lookUpEightBitIndices(const EightBitPlanes& planes, __m512i index,
                                                       std::uint8_t* out) {
    const __mmask64 upper = _mm512_movepi8_mask(index);
    storeInterleaved(lookUpChannel(index, upper, planes.red),
                     lookUpChannel(index, upper, planes.green),
                     lookUpChannel(index, upper, planes.blue), out);
}

// 64 pixels of 8 bits (64 source bytes) to 192 bytes of RGB.
GLIMMER_BYTE_LOOKUPS inline void lookUpEightBitPixels(const EightBitPlanes& planes,
                                                      const std::uint8_t* source,
                                                      std::uint8_t* out) {
    lookUpEightBitIndices(planes, _mm512_loadu_si512(source), out);
}

// The 16 colours of a 4-bit palette in one register: red in lanes 0 to 15, green in 16 to 31,
// blue in 32 to 47. A look-up finds channel c of colour i in lane 16 c + i, so it takes each
// output byte straight from here, with no interleaving of channels afterwards.
struct FourBitPlanes {
    __m512i colours;
};

GLIMMER_BYTE_LOOKUPS inline void loadFourBitPlanes(const std::uint8_t* planes,
                                                   FourBitPlanes& loaded) {
    const __m128i red = _mm_loadu_si128(reinterpret_cast<const __m128i*>(planes));
    const __m128i green = _mm_loadu_si128(reinterpret_cast<const __m128i*>(planes + 256));
    const __m128i blue = _mm_loadu_si128(reinterpret_cast<const __m128i*>(planes + 512));
    loaded.colours = _mm512_maskz_inserti32x4(
        0x0FFF, _mm512_maskz_inserti32x4(0x00FF, _mm512_zextsi128_si512(red), green, 1), blue, 2);
}

// 64 pixels of 4 bits, given as one index byte each (of which the high 4 bits may be anything),
// to 192 bytes of RGB: each third's bytes take their pixel's index, with their channel's lanes.
GLIMMER_BYTE_LOOKUPS inline void lookUpFourBitIndices(const FourBitPlanes& planes, __m512i index,
                                                      std::uint8_t* out) {
    const __m512i low = _mm512_set1_epi8(15);
    for (int third = 0; third < 3; ++third) {
        const __m512i pixelIndex = _mm512_maskz_permutexvar_epi8(
            kAllLanes, _mm512_loadu_si512(kInterleave.pixel[third]), index);
        // (index & 15) | 16 * channel
        const __m512i lane = _mm512_ternarylogic_epi32(
            pixelIndex, low, _mm512_loadu_si512(kInterleave.channelSixteenths[third]), 0xEA);
        _mm512_storeu_si512(out + 64 * third,
                            _mm512_maskz_permutexvar_epi8(kAllLanes, lane, planes.colours));
    }
}

// Splitting of 32 bytes of 4-bit pixels into 64 indices: each 8 bytes of the result take 4
// bytes of the source, and then a 4-bit half each, the high half first.
struct HalfSpread {
    std::uint8_t source[64], shift[64];
};

constexpr HalfSpread makeHalfSpread() {
    HalfSpread table{};
    for (unsigned lane = 0; lane < 64; ++lane) {
        table.source[lane] = static_cast<std::uint8_t>(lane / 8 * 4 + lane % 4);
        const unsigned byte = lane % 8 / 2;
        table.shift[lane] = static_cast<std::uint8_t>(8 * byte + (lane % 2 == 0 ? 4 : 0));
    }
    return table;
}

inline constexpr HalfSpread kHalfSpread = makeHalfSpread();

// 64 indices from the 4-bit pixels packed in the first 32 bytes, each byte's high half first.
// The high 4 bits of each index are left as they come: the look-ups take the low 4 only.
GLIMMER_BYTE_LOOKUPS inline __m512i splitFourBitPixels(__m512i packed) {
    const __m512i spread =
        _mm512_maskz_permutexvar_epi8(kAllLanes, _mm512_loadu_si512(kHalfSpread.source), packed);
    return _mm512_maskz_multishift_epi64_epi8(kAllLanes, _mm512_loadu_si512(kHalfSpread.shift),
                                              spread);
}

// 64 pixels of 4 bits (32 source bytes) to 192 bytes of RGB.
GLIMMER_BYTE_LOOKUPS inline void lookUpFourBitPixels(const FourBitPlanes& planes,
                                                     const std::uint8_t* source,
                                                     std::uint8_t* out) {
    lookUpFourBitIndices(planes, splitFourBitPixels(_mm512_maskz_loadu_epi8(0xFFFFFFFF, source)),
                         out);
}

#endif

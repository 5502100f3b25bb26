// Palette look-ups a whole source byte at a time: 8 pixels at 1 bit, 2 at 4 bits, 1 at 8 bits,
// shared by the row converter and the run-length decoder (whose 4-bit runs pack pixels alike).
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#include "bmp/dib_header.h"
#include "bmp/dib_simd.h"

// Pixels are packed into and read out of numbers in memory order.
static_assert(std::endian::native == std::endian::little);

// For each value of a source byte, the RGB bytes of the pixels it holds, leftmost first.
class PaletteExpansion {
  public:
    PaletteExpansion(unsigned bitsPerPixel, const std::array<RgbColor, 256>& palette) {
        const unsigned pixels = 8 / bitsPerPixel;
        const unsigned mask = (1u << bitsPerPixel) - 1;
        for (unsigned value = 0; value < 256; ++value) {
            std::uint8_t* entry = bytes_.data() + value * 3 * pixels;
            // The leftmost pixel sits in the highest bits of its byte.
            for (unsigned i = 0; i < pixels; ++i) {
                const unsigned shift = (pixels - 1 - i) * bitsPerPixel;
                putColor(entry + 3 * i, palette[(value >> shift) & mask]);
            }
            planes_[value] = palette[value].red;
            planes_[256 + value] = palette[value].green;
            planes_[512 + value] = palette[value].blue;
        }
    }

    // The pixels of count packed pixels from source. The vector paths take what they can;
    // then, at 4 and 8 bits, four pixels (12 bytes) at a time are assembled in registers and
    // written with two stores, and at 1 bit a byte's 24 bytes are one block. The last pixels
    // are copied exactly, so nothing is written past the count.
    template <unsigned kBitsPerPixel>
    void expand(const std::uint8_t* source, std::uint32_t count, std::uint8_t* out) const {
        constexpr unsigned kPixels = 8 / kBitsPerPixel;
        constexpr unsigned kBytes = 3 * kPixels;
        const std::uint32_t looked =
            lookUpPalettePixels(source, kBitsPerPixel, count, tables(), out);
        std::uint32_t i = looked / kPixels;
        out += 3 * looked;
        if constexpr (kBitsPerPixel != 1) {
            for (; i * kPixels + 4 <= count; i += 4 / kPixels, out += 12) {
                if constexpr (kBitsPerPixel == 8) {
                    storeQuad(out, pixelBits<8>(source[i]), pixelBits<8>(source[i + 1]),
                              pixelBits<8>(source[i + 2]), pixelBits<8>(source[i + 3]));
                } else {
                    const std::uint64_t left = pixelBits<4>(source[i]);
                    const std::uint64_t right = pixelBits<4>(source[i + 1]);
                    storeQuad(out, left, left >> 24, right, right >> 24);
                }
            }
        }
        const std::uint32_t wholeBytes = count / kPixels;
        for (; i < wholeBytes; ++i, out += kBytes)
            std::memcpy(out, entry<kBitsPerPixel>(source[i]), kBytes);
        const unsigned rest = count % kPixels;
        if (rest != 0) std::memcpy(out, entry<kBitsPerPixel>(source[wholeBytes]), 3 * rest);
    }

    // Like expand, but for count rounded up to a multiple of 4 pixels, four at a time: reads
    // the source bytes of the rounded count and writes 12 bytes per 4 pixels, so up to 9
    // bytes past the count. For callers that have that room and overwrite it afterwards.
    template <unsigned kBitsPerPixel>
    void expandRounded(const std::uint8_t* source, std::uint32_t count, std::uint8_t* out) const {
        for (std::uint32_t x = 0; x < count; x += 4, out += 12) {
            if constexpr (kBitsPerPixel == 8) {
                storeQuad(out, pixelBits<8>(source[x]), pixelBits<8>(source[x + 1]),
                          pixelBits<8>(source[x + 2]), pixelBits<8>(source[x + 3]));
            } else {
                const std::uint64_t left = pixelBits<4>(source[x / 2]);
                const std::uint64_t right = pixelBits<4>(source[x / 2 + 1]);
                storeQuad(out, left, left >> 24, right, right >> 24);
            }
        }
    }

    // count pixels repeating the pixels of one source byte (a run), 12 bytes per store pair.
    template <unsigned kBitsPerPixel>
    void repeat(std::uint8_t value, std::uint32_t count, std::uint8_t* out) const {
        std::uint32_t i = 0;
        if constexpr (kBitsPerPixel != 1) {
            const std::uint64_t bits = pixelBits<kBitsPerPixel>(value);
            const std::uint64_t first = bits & 0xFFFFFF;
            const std::uint64_t second = kBitsPerPixel == 4 ? bits >> 24 : first;
            for (; i + 4 <= count; i += 4, out += 12) storeQuad(out, first, second, first, second);
        }
        constexpr unsigned kPixels = 8 / kBitsPerPixel;
        const std::uint8_t* pixels = entry<kBitsPerPixel>(value);
        for (; i + kPixels <= count; i += kPixels, out += 3 * kPixels) {
            std::memcpy(out, pixels, 3 * kPixels);
        }
        if (i < count) std::memcpy(out, pixels, 3 * (count - i));
    }

    // The tables of the vector paths.
    PaletteTables tables() const { return {bytes_.data(), planes_.data()}; }

  private:
    template <unsigned kBitsPerPixel>
    const std::uint8_t* entry(std::uint8_t value) const {
        return bytes_.data() + value * (24 / kBitsPerPixel);
    }

    // A byte's pixels as one little-endian number: 24 bits at 8 bits per pixel, 48 at 4.
    template <unsigned kBitsPerPixel>
    std::uint64_t pixelBits(std::uint8_t value) const {
        std::uint64_t bits = 0;
        std::memcpy(&bits, entry<kBitsPerPixel>(value), 8);
        return bits & (kBitsPerPixel == 8 ? 0xFFFFFFu : 0xFFFFFFFFFFFFu);
    }

    // Writes four pixels, given as the low 24 bits of each number, as 12 bytes.
    static void storeQuad(std::uint8_t* out, std::uint64_t p0, std::uint64_t p1, std::uint64_t p2,
                          std::uint64_t p3) {
        p0 &= 0xFFFFFF;
        p1 &= 0xFFFFFF;
        p2 &= 0xFFFFFF;
        p3 &= 0xFFFFFF;
        const std::uint64_t low = p0 | p1 << 24 | p2 << 48;
        const std::uint32_t high = static_cast<std::uint32_t>(p2 >> 16 | p3 << 8);
        std::memcpy(out, &low, 8);
        std::memcpy(out + 8, &high, 4);
    }

    // The 256 reds, greens and blues, for byte look-ups.
    std::array<std::uint8_t, 768> planes_{};
    // The numbers of the last entries read up to 7 bytes past the table's 256 entries.
    std::array<std::uint8_t, 256 * 24 + 8> bytes_{};
};

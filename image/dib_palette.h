// Palette look-ups a whole source byte at a time: 8 pixels at 1 bit, 2 at 4 bits, 1 at 8 bits,
// shared by the row converter and the run-length decoder (whose 4-bit runs pack pixels alike).
#pragma once

#include <array>
#include <cstdint>
#include <cstring>

#include "image/dib_header.h"

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
        }
    }

    // The pixels of count packed pixels from source: whole bytes are copied as fixed-size
    // blocks, a last, partly used byte gives only its leftmost pixels.
    template <unsigned kBitsPerPixel>
    void expand(const std::uint8_t* source, std::uint32_t count, std::uint8_t* out) const {
        constexpr unsigned kPixels = 8 / kBitsPerPixel;
        constexpr unsigned kBytes = 3 * kPixels;
        const std::uint32_t wholeBytes = count / kPixels;
        for (std::uint32_t i = 0; i < wholeBytes; ++i, out += kBytes) {
            std::memcpy(out, bytes_.data() + source[i] * kBytes, kBytes);
        }
        const unsigned rest = count % kPixels;
        if (rest != 0) std::memcpy(out, bytes_.data() + source[wholeBytes] * kBytes, 3 * rest);
    }

    // count pixels repeating the pixels of one source byte (a run).
    template <unsigned kBitsPerPixel>
    void repeat(std::uint8_t value, std::uint32_t count, std::uint8_t* out) const {
        constexpr unsigned kPixels = 8 / kBitsPerPixel;
        constexpr unsigned kBytes = 3 * kPixels;
        const std::uint8_t* entry = bytes_.data() + value * kBytes;
        const std::uint32_t whole = count / kPixels;
        for (std::uint32_t i = 0; i < whole; ++i, out += kBytes) std::memcpy(out, entry, kBytes);
        const unsigned rest = count % kPixels;
        if (rest != 0) std::memcpy(out, entry, 3 * rest);
    }

  private:
    std::array<std::uint8_t, 256 * 24> bytes_{};
};

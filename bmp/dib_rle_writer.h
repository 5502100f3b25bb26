// Writing of run-length runs, encoded and literal, into RGB output. Where there is room, runs
// are written in whole blocks that may reach past the run (the decoder writes those bytes again
// later); otherwise exactly.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "bmp/dib_palette.h"

template <unsigned kBitsPerPixel>
class RleRunWriter {
  public:
    // Bytes a fast write may store past its run, and source bytes it may read past its data.
    static constexpr std::size_t kOutputSlack = 48;
    static constexpr std::size_t kSourceSlack = 8;

    explicit RleRunWriter(const PaletteExpansion& palette) : palette_(palette) {
        for (unsigned value = 0; value < 256; ++value) {
            const auto byte = static_cast<std::uint8_t>(value);
            palette.repeat<kBitsPerPixel>(byte, 16, patterns_.data() + kPatternBytes * value);
            // A byte's own pixels are the first pixels of its run.
            palette.repeat<kBitsPerPixel>(byte, 8 / kBitsPerPixel,
                                          literals_.data() + kLiteralStep * value);
        }
    }

    // An encoded run of count pixels of value at out; room is the bytes writable from out.
    void writeRun(std::uint8_t value, std::size_t count, std::uint8_t* out,
                  std::size_t room) const {
        const std::size_t bytes = 3 * count;
        if (room < kShortRunBytes + kOutputSlack || room < bytes + kOutputSlack) {
            palette_.repeat<kBitsPerPixel>(value, static_cast<std::uint32_t>(count), out);
            return;
        }
        // 16 pixels per block: at 4 bits the halves keep alternating from block to block. The
        // first block is written whatever the run's length, and a run of up to 64 pixels takes
        // the next three together: cheaper than a loop whose end the processor cannot foresee.
        const std::uint8_t* pattern = patterns_.data() + kPatternBytes * value;
        std::memcpy(out, pattern, kPatternBytes);
        if (bytes <= kPatternBytes) return;
        for (std::size_t done = kPatternBytes; done < kShortRunBytes; done += kPatternBytes)
            std::memcpy(out + done, pattern, kPatternBytes);
        for (std::size_t done = kShortRunBytes; done < bytes; done += kPatternBytes)
            std::memcpy(out + done, pattern, kPatternBytes);
    }

    // A literal run of count pixels packed in source, of which sourceRoom bytes are readable.
    void writeLiteral(const std::uint8_t* source, std::size_t count, std::uint8_t* out,
                      std::size_t room, std::size_t sourceRoom) const {
        const std::size_t sourceBytes = (count * kBitsPerPixel + 7) / 8;
        if (room < 3 * count + kOutputSlack || sourceRoom < sourceBytes + kSourceSlack) {
            palette_.expand<kBitsPerPixel>(source, static_cast<std::uint32_t>(count), out);
            return;
        }
        // Each source byte's pixels stored as one number (4 or 8 bytes, of which 3 or 6 are
        // pixels); the next store overwrites the spare bytes. Four source bytes a step: up to
        // 3 bytes read past the data, and 4 * 6 + 2 bytes written past the run.
        constexpr std::size_t kStep = 3 * 8 / kBitsPerPixel;
        for (std::size_t i = 0; i < sourceBytes; i += 4, out += 4 * kStep) {
            for (std::size_t j = 0; j < 4; ++j)
                std::memcpy(out + j * kStep, literals_.data() + kLiteralStep * source[i + j],
                            kLiteralStep);
        }
    }

  private:
    static constexpr std::size_t kPatternBytes = 48;
    // Runs up to 64 pixels, the most common, are written as 4 whole blocks.
    static constexpr std::size_t kShortRunBytes = 4 * kPatternBytes;
    static constexpr std::size_t kLiteralStep = kBitsPerPixel == 8 ? 4 : 8;

    const PaletteExpansion& palette_;
    // Each byte value's encoded run of 16 pixels.
    std::array<std::uint8_t, 256 * kPatternBytes> patterns_{};
    // Each byte value's pixels, padded to kLiteralStep bytes.
    std::array<std::uint8_t, 256 * kLiteralStep> literals_{};
};

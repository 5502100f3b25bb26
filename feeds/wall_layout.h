// How a wall of LEDs is addressed: its size, and for the DMX protocols which pixels each
// universe drives (taken in wall order, `universePixels` a universe, running on across rows),
// whether every second row runs backwards, and the order of a pixel's three channels.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "frames/frame_source.h"

enum class ChannelOrder { rgb, rbg, grb, gbr, brg, bgr };

inline constexpr int kMaxWallSide = kMaxFrameSide;
// A DMX universe carries 512 channels, so at most 170 whole RGB pixels.
inline constexpr int kMaxUniversePixels = 170;

struct WallLayout {
    int width = 64;
    int height = 32;
    int firstUniverse = 1;
    int universePixels = kMaxUniversePixels;
    bool serpentine = false;
    ChannelOrder order = ChannelOrder::rgb;

    std::size_t frameBytes() const { return std::size_t{3} * width * height; }
    int universeCount() const {
        const long pixels = long{width} * height;
        return static_cast<int>((pixels + universePixels - 1) / universePixels);
    }
};

std::optional<ChannelOrder> parseChannelOrder(std::string_view text);

// Draws one universe's levels (index 0 is `firstUniverse`) into a frame of the wall, RGB rows
// from the top. Channels past the universe's pixels or the wall's end are left out.
void drawUniverse(const WallLayout& layout, int universeIndex,
                  std::span<const std::uint8_t> channels, std::uint8_t* frame);

// The runs of a frame that hold the wall's pixels [first, end), taken in wall order
// (serpentine rows included): run(frameOffset, bytes), one run a row.
template <typename Run>
void forEachWallRun(const WallLayout& layout, long first, long end, Run run) {
    const long width = layout.width;
    for (long row = first / width; row * width < end; ++row) {
        const long from = std::max(first, row * width) - row * width;
        const long to = std::min(end, (row + 1) * width) - row * width;
        const long left = layout.serpentine && (row & 1) ? width - to : from;
        run(std::size_t(row * width + left) * 3, std::size_t(to - from) * 3);
    }
}

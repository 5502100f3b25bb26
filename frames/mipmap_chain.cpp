#include "frames/mipmap_chain.h"

#include <algorithm>

int mipmapSide(int side, int level) {
    return std::max(side >> level, 1);
}

int mipmapLevelCount(int width, int height) {
    int levels = 0;
    while (mipmapSide(width, levels) > 1 || mipmapSide(height, levels) > 1) ++levels;
    return levels;
}

std::size_t mipmapChainBytes(int width, int height) {
    std::size_t bytes = 0;
    for (int level = 1; level <= mipmapLevelCount(width, height); ++level)
        bytes += std::size_t(3) * mipmapSide(width, level) * mipmapSide(height, level);
    return bytes;
}

namespace {

// One level from the one above. A side of 1 above stays 1, so its texels are taken twice.
void halveLevel(const std::uint8_t* above, int aboveWidth, int aboveHeight, std::uint8_t* below,
                int width, int height) {
    const std::size_t aboveStride = std::size_t(3) * aboveWidth;
    const int dx = aboveWidth > 1 ? 3 : 0;
    const std::size_t dy = aboveHeight > 1 ? aboveStride : 0;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* top = above + std::size_t(aboveHeight > 1 ? 2 * y : y) * aboveStride;
        const std::uint8_t* bottom = top + dy;
        std::uint8_t* out = below + std::size_t(3) * width * y;
        const int step = aboveWidth > 1 ? 6 : 3;
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* a = top + std::size_t(step) * x;
            const std::uint8_t* b = bottom + std::size_t(step) * x;
            for (int c = 0; c < 3; ++c)
                out[3 * x + c] =
                    static_cast<std::uint8_t>((a[c] + a[c + dx] + b[c] + b[c + dx] + 2) >> 2);
        }
    }
}

}  // namespace

void buildMipmapChain(const std::uint8_t* pixels, int width, int height, std::uint8_t* chain) {
    const std::uint8_t* above = pixels;
    int aboveWidth = width, aboveHeight = height;
    for (int level = 1; level <= mipmapLevelCount(width, height); ++level) {
        const int levelWidth = mipmapSide(width, level), levelHeight = mipmapSide(height, level);
        halveLevel(above, aboveWidth, aboveHeight, chain, levelWidth, levelHeight);
        above = chain;
        aboveWidth = levelWidth;
        aboveHeight = levelHeight;
        chain += std::size_t(3) * levelWidth * levelHeight;
    }
}

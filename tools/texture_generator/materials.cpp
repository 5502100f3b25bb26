// The two utility textures: the noise that picks burnt-out LEDs and the brushed metal atlas
// of the billboard's frame (its band layout is in metal_atlas.h).
#include <cmath>
#include <numeric>
#include <vector>

#include "tools/texture_generator/metal_atlas.h"
#include "tools/texture_generator/noise.h"
#include "tools/texture_generator/picture_table.h"

namespace texgen {

Canvas drawNoise(int width, int height) {
    // Every gray level appears equally often (as far as the size allows) in shuffled
    // order, so a threshold t picks very nearly the share t of the cells.
    std::vector<int> levels(static_cast<std::size_t>(width) * height);
    for (std::size_t i = 0; i < levels.size(); ++i)
        levels[i] = static_cast<int>(i * 256 / levels.size());
    Random random(0x4E6F697365ull);
    for (std::size_t i = levels.size() - 1; i > 0; --i)
        std::swap(levels[i], levels[random.below(static_cast<int>(i + 1))]);
    Canvas canvas(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            float v = levels[static_cast<std::size_t>(y) * width + x] / 255.0f;
            canvas.at(x, y) = {v, v, v};
        }
    return canvas;
}

namespace {

// Brushed streaks: per-row fibres plus a few long, faint scratches; periodic in x.
float brushed(float x, float y, int width, int seed) {
    float fibre = 0.6f * hashUnit(static_cast<int>(y), seed) +
                  0.4f * valueNoise(x / 32, y * 0.7f, seed + 1, width / 32);
    float fine = fractalNoise(x / 4, y * 1.5f, 3, seed + 2, width / 4);
    return 0.55f * fibre + 0.45f * fine;
}

}  // namespace

Canvas drawMetal(int width, int height) {
    Canvas canvas(width, height);
    Color steelDark = hex(0x3a3f47), steelLight = hex(0xd2d6dc);
    Color paintDark = hex(0x1e2a38), paintLight = hex(0x7d97b0);
    Color glassDim = hex(0xffd27a), glassBright = hex(0xfffbe8);
    canvas.shade([&](float x, float y) {
        float t = 1 - y / height;
        float streak = brushed(x, y, width, 7) - 0.5f;
        if (t >= lensBand.low) {
            // The lamp glass: a soft ribbed glow, brightest in the middle of the band.
            float u = (t - lensBand.low) / (lensBand.high - lensBand.low);
            float rib = 0.5f + 0.5f * std::cos(x / width * 2 * 3.14159265f * 16);
            Color c = mix(glassDim, glassBright, 1 - std::abs(u - 0.5f) * 1.2f);
            return scale(c, 0.94f + 0.06f * rib);
        }
        MetalBand band = t >= paintedBand.low ? paintedBand : steelBand;
        float b = (t - band.low - bandMargin) / (band.high - band.low - 2 * bandMargin);
        b = clamp01(b);
        bool painted = band.low == paintedBand.low;
        Color c = painted ? mix(paintDark, paintLight, b) : mix(steelDark, steelLight, b);
        float grain = painted ? 0.10f : 0.28f;  // paint hides most of the brushing
        return scale(c, 1 + grain * streak);
    });
    return canvas;
}

}  // namespace texgen

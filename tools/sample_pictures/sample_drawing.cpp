// The sample pictures' drawing: per-pixel formulas and the program's bitmap font.
#include "tools/sample_pictures/sample_drawing.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "pictures/bitmap_font.h"

std::vector<std::uint8_t> photoLikeRgb(int width, int height) {
    std::vector<std::uint8_t> rgb(std::size_t{3} * width * height);
    std::uint32_t state = 2024;
    std::size_t i = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            state = state * 1664525u + 1013904223u;
            const float noise = static_cast<float>(state >> 28) - 7.5f;
            const float u = x / float(width), v = y / float(height);
            const float shape = std::sin(u * 9.0f + std::sin(v * 7.0f) * 2.0f) * 0.5f + 0.5f;
            const float texture = std::sin(x * 0.31f) * std::sin(y * 0.27f) * 12.0f;
            const float base[3] = {200 * v + 40 * shape, 90 + 120 * shape * u, 180 - 100 * v};
            for (float channel : base)
                rgb[i++] =
                    static_cast<std::uint8_t>(std::clamp(channel + texture + noise, 0.0f, 255.0f));
        }
    }
    return rgb;
}

std::vector<std::uint8_t> badgeRgba(int side) {
    std::vector<std::uint8_t> rgba(std::size_t{4} * side * side);
    const float centre = side / 2.0f, radius = side * 0.45f;
    const int cell = std::max(1, side / 40);  // font pixel size of the lettering
    const std::string text = "LED";
    const int textWidth = static_cast<int>(text.size()) * (kFontGlyphColumns + 1) * cell - cell;
    const int textLeft = (side - textWidth) / 2, textTop = (side - kFontGlyphRows * cell) / 2;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            std::uint8_t* pixel = &rgba[(std::size_t(side - 1 - y) * side + x) * 4];  // y from top
            const float distance = std::hypot(x + 0.5f - centre, y + 0.5f - centre);
            // One pixel of soft edge, as alpha, so the edge composites smoothly over black.
            const float coverage = std::clamp(radius - distance + 0.5f, 0.0f, 1.0f);
            const bool ring = distance > radius * 0.85f;
            const int gx = (x - textLeft) / cell, gy = (y - textTop) / cell;
            const int glyph = gx / (kFontGlyphColumns + 1);
            const bool letter = x >= textLeft && y >= textTop && glyph < int(text.size()) &&
                                fontPixel(text[glyph], gx % (kFontGlyphColumns + 1), gy);
            const std::uint8_t r = letter ? 255 : ring ? 250 : 200;
            const std::uint8_t g = letter ? 255 : ring ? 190 : 30;
            const std::uint8_t b = letter ? 255 : ring ? 40 : 60;
            pixel[0] = r;
            pixel[1] = g;
            pixel[2] = b;
            pixel[3] = static_cast<std::uint8_t>(coverage * 255 + 0.5f);
        }
    return rgba;
}

GifSpec tickerGif(int width, int height, int frames) {
    GifSpec gif{width, height, {{10, 10, 30}, {255, 200, 40}, {255, 60, 60}}, {}};
    const std::string text = "SALE 50% OFF";
    const int cell = std::max(1, height / 9);
    const int textWidth = static_cast<int>(text.size()) * (kFontGlyphColumns + 1) * cell;
    const int top = (height - kFontGlyphRows * cell) / 2;
    for (int f = 0; f < frames; ++f) {
        GifFrameSpec frame{0, 0, width, height,
                           std::vector<std::uint8_t>(std::size_t(width) * height)};
        frame.delayCentiseconds = 12;
        // The text starts near the left edge, scrolls left and comes back in from the right.
        int shift = width / 8 - (width + textWidth) * f / frames;
        if (shift < -textWidth) shift += width + textWidth;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const int tx = x - shift, gy = (y - top) / cell;
                if (tx < 0 || y < top) continue;
                const int glyph = tx / cell / (kFontGlyphColumns + 1);
                if (glyph >= int(text.size())) continue;
                if (fontPixel(text[glyph], tx / cell % (kFontGlyphColumns + 1), gy))
                    frame.indices[std::size_t(y) * width + x] = text[glyph] == '%' ? 2 : 1;
            }
        gif.frames.push_back(std::move(frame));
    }
    return gif;
}

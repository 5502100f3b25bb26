// Four of the billboard pictures: a waving flag, a test card, a lettered banner and a
// sixteen-colour poster. Together with the logo and the neon sign they show what the LED
// effects do to saturated colours, fine detail, smooth gradients and lettering.
#include <cmath>

#include "tools/texture_generator/font.h"
#include "tools/texture_generator/noise.h"
#include "tools/texture_generator/picture_table.h"

namespace texgen {

namespace {

constexpr float pi = 3.14159265f;

// Hue 0..1 around the colour wheel, full saturation and value.
Color hue(float h) {
    h = (h - std::floor(h)) * 6;
    auto channel = [h](float offset) {
        float k = std::fmod(offset + h, 6.0f);
        return clamp01(std::min(k, 4 - k));
    };
    return {channel(5), channel(3), channel(1)};
}

// Letters painted with a colour function, a dark outline and a soft drop shadow.
void drawFancyText(Canvas& canvas, const char* text, Point origin, float cell, float stroke,
                   const std::function<Color(float, float)>& fillAt, Color outline) {
    Canvas shadow(canvas.width(), canvas.height());
    drawTextStrokes(shadow, text, {origin.x + cell * 0.5f, origin.y + cell * 0.6f}, cell, stroke,
                    {1, 1, 1});
    shadow.blur(static_cast<int>(cell * 0.4f) + 1);
    canvas.composite(shadow, [](float, float) { return Color{0, 0, 0.05f}; });
    drawTextStrokes(canvas, text, origin, cell, stroke + cell * 0.5f, outline);
    Canvas mask(canvas.width(), canvas.height());
    drawTextStrokes(mask, text, origin, cell, stroke, {1, 1, 1});
    canvas.composite(mask, fillAt);
}

}  // namespace

Canvas drawFlagCross(int width, int height) {
    Canvas canvas(width, height);
    Color top = hex(0x2a1a5e), bottom = hex(0xff9a3c);
    canvas.shade([&](float, float y) { return mix(top, bottom, std::pow(y / height, 1.3f)); });
    // The pole, with a round highlight.
    float poleX = 0.07f * width;
    canvas.fillRect(poleX - 5, 0.06f * height, poleX + 5, static_cast<float>(height),
                    hex(0x3a3a44));
    canvas.fillRect(poleX - 2, 0.06f * height, poleX, static_cast<float>(height), hex(0xd8d8e0));
    canvas.fillCircle({poleX, 0.06f * height}, 8, hex(0xffd24a));

    float x0 = poleX + 5, x1 = 0.96f * width, y0 = 0.1f * height, y1 = 0.8f * height;
    Color field = hex(0x00a060), border = hex(0xffe000), cross = hex(0xe0102a);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            float u = (x + 0.5f - x0) / (x1 - x0);
            if (u < 0 || u > 1) continue;
            // A travelling wave that grows away from the pole; its slope gives the shading.
            float phase = u * 2 * pi * 1.6f;
            float lift = 0.07f * height * u * std::sin(phase);
            float slope = u * std::cos(phase);
            float v = (y + 0.5f - y0 - lift) / (y1 - y0);
            float edge = std::min({v * (y1 - y0), (1 - v) * (y1 - y0), (1 - u) * (x1 - x0)});
            if (edge < -0.5f) continue;
            Color c = field;
            if (std::abs(u - 0.36f) < 0.07f || std::abs(v - 0.5f) < 0.12f) c = border;
            if (std::abs(u - 0.36f) < 0.035f || std::abs(v - 0.5f) < 0.06f) c = cross;
            float weave = ((x + y) % 3 == 0 ? 0.96f : 1.0f) * ((x - y + 300) % 4 == 0 ? 0.97f : 1);
            c = scale(c, (0.82f + 0.3f * slope) * weave);
            canvas.blend(x, y, c, clamp01(edge + 0.5f));
        }
    drawTextBlocks(canvas, "FLAG CROSS 512X256", {0.5f * width, 0.87f * height}, 2, hex(0xffffff),
                   0.8f);
    return canvas;
}

Canvas drawTestCard(int width, int height) {
    Canvas canvas(width, height, hex(0x606060));
    // Edge ticks, one pixel wide, every two pixels.
    for (int x = 0; x < width; x += 2) {
        canvas.fillRect(static_cast<float>(x), 0, x + 1.0f, 4, {1, 1, 1});
        canvas.fillRect(static_cast<float>(x), height - 4.0f, x + 1.0f, static_cast<float>(height),
                        {1, 1, 1});
    }
    const std::uint32_t bars[] = {0xffffff, 0xffff00, 0x00ffff, 0x00ff00,
                                  0xff00ff, 0xff0000, 0x0000ff, 0x000000};
    float barWidth = (width - 20) / 8.0f;
    for (int i = 0; i < 8; ++i)
        canvas.fillRect(10 + i * barWidth, 10, 10 + (i + 1) * barWidth, 70, hex(bars[i]));

    // Hue wheel: hue by angle, saturation by radius.
    Point centre{70, 139};
    float radius = 58;
    for (int y = 78; y < 201; ++y)
        for (int x = 10; x < 131; ++x) {
            float dx = x + 0.5f - centre.x, dy = y + 0.5f - centre.y;
            float r = std::hypot(dx, dy);
            Color c = mix({1, 1, 1}, hue(std::atan2(dy, dx) / (2 * pi)), clamp01(r / radius));
            canvas.blend(x, y, c, clamp01(radius - r + 0.5f));
        }
    // Zone plate: rings whose frequency rises outwards, the hardest test of cell sampling.
    for (int y = 79; y < 199; ++y)
        for (int x = 140; x < 260; ++x) {
            float dx = x + 0.5f - 200, dy = y + 0.5f - 139;
            float v = 0.5f + 0.5f * std::cos((dx * dx + dy * dy) * pi / 240);
            canvas.at(x, y) = {v, v, v};
        }
    // Gratings of periods 2, 4, 6 and 8 pixels, then checkerboards of 1, 2 and 4.
    for (int row = 0; row < 4; ++row)
        for (int y = 78 + row * 16; y < 92 + row * 16; ++y)
            for (int x = 270; x < 381; ++x) {
                bool on = (x / (row + 1)) % 2 == 0;
                canvas.at(x, y) = on ? Color{1, 1, 1} : Color{0, 0, 0};
            }
    for (int square = 0; square < 3; ++square)
        for (int y = 144 + square * 19; y < 161 + square * 19; ++y)
            for (int x = 270; x < 381; ++x) {
                int size = 1 << square;
                bool on = ((x / size) + (y / size)) % 2 == 0;
                canvas.at(x, y) = on ? hex(0xff2020) : hex(0x2040ff);
            }
    for (int y = 206; y < 218; ++y)
        for (int x = 10; x < width - 10; ++x) canvas.at(x, y) = hue((x - 10.0f) / (width - 20));
    for (int y = 220; y < 230; ++y)
        for (int x = 10; x < width - 10; ++x) {
            float v = (x - 10.0f) / (width - 21);
            canvas.at(x, y) = {v, v, v};
        }
    drawTextBlocks(canvas, "QELT 391X253 STEP 23", {10, 235}, 2, hex(0xffffff));
    drawTextBlocks(canvas, "0123456789", {262, 237}, 1.6f, hex(0xffe040));
    return canvas;
}

Canvas drawBanner(int width, int height) {
    Canvas canvas(width, height);
    Point sun{width * 0.5f, height * 1.1f};
    canvas.shade([&](float x, float y) {
        Color c = mix(hex(0xc0107a), hex(0x1a2ad0), clamp01(x / width * 0.8f + y / height * 0.4f));
        c = mix(c, hex(0x10d0e0), clamp01((x / width - 0.6f) * 1.6f));
        float angle = std::atan2(y - sun.y, x - sun.x);
        float ray = 0.5f + 0.5f * std::cos(angle * 24);
        return scale(c, 0.85f + 0.25f * ray);
    });
    // Sparkles: four-pointed stars.
    Random random(7);
    for (int i = 0; i < 40; ++i) {
        Point p{random.range(0, static_cast<float>(width)),
                random.range(0, static_cast<float>(height))};
        float size = random.range(2, 6);
        canvas.strokeSegment({p.x - size, p.y}, {p.x + size, p.y}, 1, {1, 1, 1}, 0.8f);
        canvas.strokeSegment({p.x, p.y - size}, {p.x, p.y + size}, 1, {1, 1, 1}, 0.8f);
    }
    const char* title = "MARROWBY";
    float cell = 7.2f;
    Point origin{(width - textWidth(title, cell)) / 2, 18};
    float y0 = origin.y, y1 = origin.y + 7 * cell;
    drawFancyText(
        canvas, title, origin, cell, cell * 1.1f,
        [&](float, float y) {
            float t = clamp01((y - y0) / (y1 - y0));
            return t < 0.5f ? mix(hex(0xfff7a0), hex(0xffb020), t * 2)
                            : mix(hex(0xffb020), hex(0xe81818), t * 2 - 1);
        },
        hex(0x200818));
    const char* line = "FRESH EVERY DAY - 7AM TO 11PM";
    float small = 2;
    drawTextBlocks(canvas, line, {(width - textWidth(line, small)) / 2, 100}, small, hex(0x101018));
    drawTextBlocks(canvas, line, {(width - textWidth(line, small)) / 2 - 1, 99}, small,
                   hex(0xffffff));
    return canvas;
}

const std::uint32_t posterPalette[16] = {0x000000, 0x1a1040, 0x4b1e78, 0xb0287a, 0xff4f9a, 0xff8a2a,
                                         0xffd23a, 0xfff4b0, 0xffffff, 0x2ad4ff, 0x127a8a, 0x1c3a8a,
                                         0x0d3a2a, 0x2aa84a, 0x5a2a1a, 0x8a8aa0};

Canvas drawPosterSunset(int width, int height) {
    Canvas canvas(width, height);
    float sea = 0.62f * height;
    Point sun{0.5f * width, 0.52f * height};
    float sunRadius = 0.19f * height;
    canvas.shade([&](float x, float y) {
        if (y < sea) {
            float t = y / sea;
            Color c = t < 0.5f ? mix(hex(0x1a1040), hex(0x7a2088), t * 2)
                               : mix(hex(0x7a2088), hex(0xff7a3a), t * 2 - 1);
            float d = std::hypot(x - sun.x, y - sun.y);
            if (d < sunRadius) {
                float s = (y - (sun.y - sunRadius)) / (2 * sunRadius);
                // Horizontal cuts that widen towards the sea line, the poster sun.
                float band = std::fmod(y - sun.y, 10.0f);
                bool cut = y > sun.y && band < 2 + 6 * (y - sun.y) / sunRadius;
                if (!cut) c = mix(hex(0xfff4b0), hex(0xff4f9a), s);
            }
            return c;
        }
        float t = (y - sea) / (height - sea);
        Color c = mix(hex(0x2a3a9a), hex(0x0a0a30), t);
        // The sun's reflection: broken stripes under it.
        float spread = sunRadius * (0.6f + t);
        if (std::abs(x - sun.x) < spread && std::fmod(y - sea, 6.0f) < 2.5f &&
            hashUnit(static_cast<int>((x - sun.x) / 9), static_cast<int>((y - sea) / 6), 3) <
                0.7f - t)
            c = mix(hex(0xffd23a), hex(0xff4f9a), t);
        return c;
    });
    // Mountains on the horizon.
    std::vector<Point> hills{{0, sea}};
    for (int i = 0; i <= 12; ++i) {
        float x = width * i / 12.0f;
        float h = (i % 2 ? 0.12f : 0.04f) * height * (0.7f + 0.6f * hashUnit(i, 9));
        if (std::abs(x - sun.x) < sunRadius) h *= 0.3f;
        hills.push_back({x, sea - h});
    }
    hills.push_back({static_cast<float>(width), sea});
    canvas.fillPolygon(hills, hex(0x2a0f48));
    // Two palms: curved trunks and fronds.
    for (int side = 0; side < 2; ++side) {
        float baseX = side ? 0.86f * width : 0.1f * width;
        float lean = side ? -1.0f : 1.0f;
        std::vector<Point> trunk;
        for (int i = 0; i <= 10; ++i) {
            float s = i / 10.0f;
            trunk.push_back({baseX + lean * 28 * s * s, height - s * 0.72f * height});
        }
        canvas.strokePolyline(trunk, 7, hex(0x000000));
        Point crown = trunk.back();
        for (int f = 0; f < 7; ++f) {
            float a = pi * (0.05f + f * 0.15f);
            std::vector<Point> frond;
            for (int i = 0; i <= 8; ++i) {
                float s = i / 8.0f;
                frond.push_back(
                    {crown.x + std::cos(a) * 48 * s, crown.y - std::sin(a) * 26 * s + 30 * s * s});
            }
            canvas.strokePolyline(frond, 5 * (1.2f - 0.5f * std::abs(std::cos(a))), hex(0x000000));
        }
    }
    drawTextStrokes(canvas, "TOVIN", {(width - textWidth("TOVIN", 6)) / 2 + 2, 14}, 6, 7,
                    hex(0x1a1040));
    drawTextStrokes(canvas, "TOVIN", {(width - textWidth("TOVIN", 6)) / 2, 12}, 6, 6,
                    hex(0x2ad4ff));
    drawTextBlocks(canvas, "SUMMER NIGHTS", {(width - textWidth("SUMMER NIGHTS", 2)) / 2, 64}, 2,
                   hex(0xfff4b0));
    return canvas;
}

}  // namespace texgen

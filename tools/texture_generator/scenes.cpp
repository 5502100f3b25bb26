// Ground and backdrop of the day and night scenes. The backdrop stands from 40 units below
// the ground to 120 above, so the horizon sits a quarter up the picture (three quarters down
// the canvas); the ground picture spans 240 by 320 units with the road in front of the
// billboard, running across the picture.
#include <cmath>

#include "tools/texture_generator/noise.h"
#include "tools/texture_generator/picture_table.h"

namespace texgen {

namespace {

constexpr float horizon = 0.75f;  // canvas height share above the ground line
constexpr float pi = 3.14159265f;

struct GroundLook {
    Color grassDark, grassLight, flower, asphalt, edgeLine, centreLine;
    float flowerShare;
};

// The road crosses the ground at world z 12 to 30, that is canvas rows 0.406 to 0.4625 of
// the height (t runs from the back of the ground at the bottom to the front at the top).
Canvas drawGround(int width, int height, const GroundLook& look) {
    Canvas canvas(width, height);
    float roadTop = 0.406f * height, roadBottom = 0.4625f * height;
    canvas.shade([&](float x, float y) {
        float patches = fractalNoise(x / 48, y / 48, 4, 11, width / 48);
        float blades = hashUnit(static_cast<int>(x), static_cast<int>(y), 12);
        float tufts = valueNoise(x / 3, y / 5, 13);
        Color c = mix(look.grassDark, look.grassLight, clamp01(0.2f + patches * 0.9f - 0.25f));
        c = scale(c, 0.78f + 0.3f * blades * tufts + 0.1f * tufts);
        if (hashUnit(static_cast<int>(x), static_cast<int>(y), 14) < look.flowerShare * patches)
            c = look.flower;
        if (y > roadTop - 3 && y < roadBottom + 3) {
            // Gravel shoulder, then asphalt with its markings.
            float shoulder = hashUnit(static_cast<int>(x), static_cast<int>(y), 15);
            c = mix(c, scale(look.asphalt, 1.2f + 0.5f * shoulder), 0.85f);
        }
        if (y > roadTop && y < roadBottom) {
            float grain = hashUnit(static_cast<int>(x), static_cast<int>(y), 16);
            float wear = fractalNoise(x / 20, y / 6, 3, 17, width / 20);
            c = scale(look.asphalt, 0.8f + 0.25f * grain + 0.2f * wear);
            float middle = (roadTop + roadBottom) / 2;
            if (y > roadTop + 1.5f && y < roadTop + 3.5f) c = look.edgeLine;
            if (y > roadBottom - 3.5f && y < roadBottom - 1.5f) c = look.edgeLine;
            if (std::abs(y - middle) < 1.2f && std::fmod(x, 24.0f) < 13) c = look.centreLine;
        }
        return c;
    });
    return canvas;
}

// A ridge line at canvas height share base, made of a few waves and some noise.
float ridge(float x, int width, float base, float amplitude, int seed) {
    float u = x / width;
    float waves = 0.5f * std::sin(u * 2 * pi * 1.3f + seed) +
                  0.3f * std::sin(u * 2 * pi * 3.1f + 2 * seed) +
                  0.2f * std::sin(u * 2 * pi * 7.3f + 3 * seed);
    float rough = fractalNoise(x / 24, static_cast<float>(seed), 4, seed) - 0.5f;
    return base - amplitude * (waves + 0.6f * rough);
}

// Hills from far to near: each covers what is behind it, paler with distance.
void drawHills(Canvas& canvas, const Color* colors, int layers, float shade) {
    int width = canvas.width(), height = canvas.height();
    for (int layer = 0; layer < layers; ++layer) {
        float base = (0.6f + 0.06f * layer) * height;
        float amplitude = (0.07f - 0.012f * layer) * height;
        for (int x = 0; x < width; ++x) {
            float top = ridge(x + 0.5f, width, base, amplitude, 21 + layer);
            for (int y = static_cast<int>(top); y < height; ++y) {
                float cover = clamp01(y + 0.5f - top + 0.5f);
                float depth = clamp01((y - top) / (0.2f * height));
                float texture = fractalNoise(x / 10.0f, y / 10.0f, 3, 30 + layer);
                Color c = scale(colors[layer], 1 - shade * depth + 0.12f * (texture - 0.5f));
                canvas.blend(x, y, c, cover);
            }
        }
    }
}

}  // namespace

Canvas drawDayGrass(int width, int height) {
    return drawGround(width, height,
                      {hex(0x2f6b1f), hex(0x7fbf3a), hex(0xfff27a), hex(0x4a4d52), hex(0xf2f2ee),
                       hex(0xffc21a), 0.012f});
}

Canvas drawNightGrass(int width, int height) {
    return drawGround(width, height,
                      {hex(0x07140c), hex(0x1d3524), hex(0x3a4a5a), hex(0x17191f), hex(0x8a9099),
                       hex(0x9a7a22), 0.004f});
}

Canvas drawDayBackdrop(int width, int height) {
    Canvas canvas(width, height);
    Color zenith = hex(0x1f5fc8), haze = hex(0xd5e9fb), sun = hex(0xfff6d8);
    Point sunAt{0.78f * width, 0.16f * height};
    canvas.shade([&](float x, float y) {
        float u = clamp01(y / (horizon * height));
        Color c = mix(zenith, haze, std::pow(u, 1.6f));
        float d = std::hypot(x - sunAt.x, y - sunAt.y) / height;
        c = mix(c, sun, clamp01(0.55f * std::exp(-d * 7)) + (d < 0.035f ? 1.0f : 0.0f));
        // Clouds: puffs where fractal noise rises over a threshold, with gaps of clear sky
        // from a broader noise. The side away from the sun (where the density grows
        // towards the sun) is shaded.
        float cover = valueNoise(x / 260, y / 120, 4) * 0.22f;
        float density = fractalNoise(x / 110, y / 42, 5, 3) - 0.53f + cover - 0.12f * u;
        if (density > 0) {
            float towardsSun =
                fractalNoise((x + 5) / 110, (y - 4) / 42, 5, 3) - 0.53f + cover - 0.12f * u;
            float shadow = clamp01((towardsSun - density) * 9 + 0.35f);
            Color cloud = mix(hex(0xffffff), hex(0xaab6c8), shadow);
            c = mix(c, cloud, smoothstep(0, 0.12f, density) * (1 - 0.45f * u));
        }
        return c;
    });
    const Color hills[] = {hex(0x8fb3c8), hex(0x6f9e7c), hex(0x4f8a3a), hex(0x3f7a26)};
    drawHills(canvas, hills, 4, 0.25f);
    // A row of trees along the nearest ridge.
    Random random(99);
    for (int i = 0; i < 70; ++i) {
        float x = random.range(0, static_cast<float>(width));
        float top = ridge(x, width, (0.6f + 0.06f * 3) * height, (0.07f - 0.036f) * height, 24);
        float size = random.range(3, 7);
        canvas.fillRect(x - 0.6f, top - size, x + 0.6f, top + 1, hex(0x4a3520));
        canvas.fillCircle({x, top - size}, size * 0.8f, hex(0x1f4a17));
        canvas.fillCircle({x - size * 0.25f, top - size * 1.15f}, size * 0.45f, hex(0x356b22));
    }
    return canvas;
}

Canvas drawNightBackdrop(int width, int height) {
    Canvas canvas(width, height);
    Color zenith = hex(0x02030b), low = hex(0x1a1c48), glow = hex(0x6a3d2a);
    canvas.shade([&](float x, float y) {
        float u = clamp01(y / (horizon * height));
        Color c = mix(zenith, low, std::pow(u, 2.2f));
        c = mix(c, glow, clamp01((u - 0.7f) * 2.2f) * 0.7f);  // the town's light on the haze
        float band = std::exp(-std::pow((y - 0.35f * height - 0.25f * x) / (0.12f * height), 2.0f));
        c = add(c, scale(hex(0x2a2f4a), band * fractalNoise(x / 30, y / 30, 4, 5)));
        return c;
    });
    Random random(2026);
    for (int i = 0; i < 900; ++i) {
        float x = random.range(0, static_cast<float>(width));
        float y = random.range(0, horizon * height);
        float brightness = std::pow(random.unit(), 3.0f);
        Color tint = mix(hex(0xbfd4ff), hex(0xfff0d0), random.unit());
        canvas.blend(static_cast<int>(x), static_cast<int>(y), tint, 0.35f + 0.65f * brightness);
        if (brightness > 0.55f) {
            canvas.fillCircle({x, y}, 1.6f, tint, 0.35f);
            canvas.strokeSegment({x - 4, y}, {x + 4, y}, 0.7f, tint, 0.5f);
            canvas.strokeSegment({x, y - 4}, {x, y + 4}, 0.7f, tint, 0.5f);
        }
    }
    // A crescent moon with a halo.
    Point moon{0.2f * width, 0.14f * height};
    Canvas halo(width, height);
    halo.fillCircle(moon, 22, hex(0x6a7aa0));
    halo.blur(18);
    canvas.addScaled(halo, 0.8f);
    // The crescent: the disc less a slightly smaller disc beside it.
    canvas.paint(moon.x - 17, moon.y - 17, moon.x + 17, moon.y + 17, hex(0xf4f1e2),
                 [&](float x, float y) {
                     float lit = clamp01(16.5f - std::hypot(x - moon.x, y - moon.y));
                     float shadow = clamp01(std::hypot(x - moon.x - 7, y - moon.y + 4) - 14.0f);
                     return lit * shadow;
                 });

    const Color hills[] = {hex(0x101330), hex(0x0b0d22)};
    drawHills(canvas, hills, 2, 0.1f);
    // The skyline: two rows of buildings, the far row hazier, with lit windows.
    for (int row = 0; row < 2; ++row) {
        float base = horizon * height + 4;
        float x = -random.range(0, 20);
        Color wall = row == 0 ? hex(0x1c1f3a) : hex(0x0a0b16);
        float window = row == 0 ? 2 : 3;
        while (x < width) {
            float w = random.range(24, 60) * (row == 0 ? 0.8f : 1.0f);
            float h = random.range(0.06f, row == 0 ? 0.26f : 0.2f) * height;
            float top = base - h;
            canvas.fillRect(x, top, x + w, base + height, wall);
            if (random.unit() < 0.3f) {
                canvas.strokeSegment({x + w / 2, top}, {x + w / 2, top - 14}, 1.2f, wall);
                canvas.fillCircle({x + w / 2, top - 14}, 1.8f, hex(0xff3030));
            }
            for (float wy = top + 4; wy + window < base; wy += window * 2.2f)
                for (float wx = x + 3; wx + window < x + w - 2; wx += window * 2) {
                    float pick = random.unit();
                    if (pick > 0.42f) continue;
                    Color lit = pick < 0.3f ? hex(0xffd88a)
                                            : (pick < 0.38f ? hex(0xfff6e6) : hex(0x8ad8ff));
                    canvas.fillRect(wx, wy, wx + window, wy + window,
                                    scale(lit, row == 0 ? 0.7f : 1));
                }
            x += w + random.range(0, 6);
        }
    }
    return canvas;
}

}  // namespace texgen

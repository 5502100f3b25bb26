// The gray logo and the neon sign. The sign is drawn twice from one description: unlit as
// dark glass tubes on a brick wall, lit as glowing tubes whose light blooms over the wall.
#include <cmath>

#include "tools/texture_generator/font.h"
#include "tools/texture_generator/noise.h"
#include "tools/texture_generator/picture_table.h"

namespace texgen {

namespace {

constexpr float pi = 3.14159265f;

Color gray(float v) {
    return {v, v, v};
}

struct Tube {
    std::vector<Segment> segments;
    Color color;
    float width;
};

std::vector<Tube> neonTubes(int width, int height) {
    std::vector<Tube> tubes;
    float cell = 0.026f * height;
    const char* word = "OPEN";
    tubes.push_back(
        {textStrokes(word, {(width - textWidth(word, cell * 2)) / 2, 0.14f * height}, cell * 2),
         hex(0xff2a6a), 0.035f * height});
    const char* hours = "24 HOURS";
    tubes.push_back(
        {textStrokes(hours, {(width - textWidth(hours, cell)) / 2, 0.62f * height}, cell),
         hex(0x2ad8ff), 0.018f * height});
    // A rounded border tube.
    std::vector<Segment> border;
    float x0 = 0.05f * width, x1 = 0.95f * width, y0 = 0.07f * height, y1 = 0.93f * height,
          r = 0.08f * height;
    Point previous{x0 + r, y0};
    auto to = [&](Point p) {
        border.push_back({previous, p});
        previous = p;
    };
    auto corner = [&](Point centre, float from) {
        for (int i = 1; i <= 6; ++i) {
            float a = from + i * (pi / 2) / 6;
            to({centre.x + r * std::cos(a), centre.y + r * std::sin(a)});
        }
    };
    to({x1 - r, y0});
    corner({x1 - r, y0 + r}, -pi / 2);
    to({x1, y1 - r});
    corner({x1 - r, y1 - r}, 0);
    to({x0 + r, y1});
    corner({x0 + r, y1 - r}, pi / 2);
    to({x0, y0 + r});
    corner({x0 + r, y0 + r}, pi);
    tubes.push_back({border, hex(0xffa020), 0.022f * height});
    return tubes;
}

Canvas drawBrickWall(int width, int height) {
    Canvas canvas(width, height);
    canvas.shade([&](float x, float y) {
        float rowHeight = 12, brickWidth = 30;
        int row = static_cast<int>(y / rowHeight);
        float shifted = x + (row % 2) * brickWidth / 2;
        int column = static_cast<int>(shifted / brickWidth);
        float inRow = std::fmod(y, rowHeight), inBrick = std::fmod(shifted, brickWidth);
        bool mortar = inRow < 1.5f || inBrick < 1.5f;
        float tone = hashUnit(row, column, 41);
        float grit = hashUnit(static_cast<int>(x), static_cast<int>(y), 42);
        Color brick = mix(hex(0x3a1a16), hex(0x5a2a20), tone);
        return mortar ? scale(hex(0x2a2622), 0.8f + 0.3f * grit)
                      : scale(brick, 0.85f + 0.25f * grit);
    });
    return canvas;
}

void strokeTube(Canvas& canvas, const Tube& tube, float width, Color color, float alpha = 1) {
    for (const Segment& s : tube.segments) canvas.strokeSegment(s.a, s.b, width, color, alpha);
}

Canvas drawNeonSign(int width, int height, bool lit) {
    Canvas canvas = drawBrickWall(width, height);
    std::vector<Tube> tubes = neonTubes(width, height);
    // Glass clips that hold the tubes, on the wall under them.
    for (const Tube& tube : tubes)
        for (std::size_t i = 0; i < tube.segments.size(); i += 5) {
            Point p = tube.segments[i].a;
            canvas.fillCircle({p.x + 1, p.y + 1}, tube.width * 0.6f, hex(0x101010), 0.6f);
            canvas.fillCircle(p, tube.width * 0.45f, hex(0x8a8a90));
        }
    if (!lit) {
        for (const Tube& tube : tubes) {
            Color glass = add(scale(tube.color, 0.22f), gray(0.12f));
            strokeTube(canvas, tube, tube.width + 2, hex(0x0a0a0a), 0.5f);
            strokeTube(canvas, tube, tube.width, glass);
            Tube highlight = tube;
            for (Segment& s : highlight.segments)
                s.a.y -= tube.width * 0.25f, s.b.y -= tube.width * 0.25f;
            strokeTube(canvas, highlight, tube.width * 0.25f, gray(0.75f), 0.45f);
        }
        return canvas;
    }
    Canvas light(width, height);
    for (const Tube& tube : tubes) strokeTube(light, tube, tube.width * 1.4f, tube.color);
    Canvas wide = light, near = light;
    wide.blur(static_cast<int>(0.07f * height));
    near.blur(static_cast<int>(0.02f * height) + 1);
    canvas.addScaled(wide, 1.1f);
    canvas.addScaled(near, 0.9f);
    for (const Tube& tube : tubes) {
        strokeTube(canvas, tube, tube.width, mix(tube.color, gray(1), 0.35f));
        strokeTube(canvas, tube, tube.width * 0.45f, mix(tube.color, gray(1), 0.85f));
    }
    return canvas;
}

}  // namespace

Canvas drawNeonUnlit(int width, int height) {
    return drawNeonSign(width, height, false);
}
Canvas drawNeonLit(int width, int height) {
    return drawNeonSign(width, height, true);
}

Canvas drawGrayLogo(int width, int height) {
    Canvas canvas(width, height);
    canvas.shade([&](float, float y) { return gray(0.97f - 0.12f * y / height); });
    Point c{width / 2.0f, height * 0.38f};
    float outer = 0.33f * width, inner = 0.26f * width;
    Canvas shadow(width, height);
    shadow.fillCircle({c.x + 5, c.y + 7}, outer, gray(1));
    shadow.blur(6);
    canvas.composite(shadow, [](float, float) { return gray(0.35f); });
    // A bevelled ring: light from the top left.
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            float dx = x + 0.5f - c.x, dy = y + 0.5f - c.y;
            float r = std::hypot(dx, dy);
            if (r > outer + 1) continue;
            float light = -(dx + dy) / (r + 1e-3f) * 0.7071f;
            Color v;
            if (r > inner)
                v = gray(0.55f + 0.35f * light * std::sin((r - inner) / (outer - inner) * pi));
            else
                v = gray(0.18f + 0.5f * std::pow(1 - r / inner, 1.5f) * (0.8f + 0.2f * light));
            canvas.blend(x, y, v, clamp01(outer - r + 0.5f));
        }
    // Ticks around the ring.
    for (int i = 0; i < 60; ++i) {
        float a = i * 2 * pi / 60;
        float length = i % 5 == 0 ? 10.0f : 5.0f;
        Point from{c.x + std::cos(a) * (outer - 2), c.y + std::sin(a) * (outer - 2)};
        Point to{c.x + std::cos(a) * (outer - 2 - length),
                 c.y + std::sin(a) * (outer - 2 - length)};
        canvas.strokeSegment(from, to, i % 5 == 0 ? 2.0f : 1.0f, gray(0.1f));
    }
    // A faceted eight-point star: each facet its own gray, as if cut from metal.
    float big = inner * 0.85f, small = inner * 0.32f;
    for (int i = 0; i < 16; ++i) {
        float a0 = -pi / 2 + i * pi / 8, a1 = a0 + pi / 8;
        float r0 = i % 2 == 0 ? big : small, r1 = i % 2 == 0 ? small : big;
        if (i % 4 == 2) r0 *= 0.7f;
        if (i % 4 == 1) r1 *= 0.7f;
        Point p0{c.x + std::cos(a0) * r0, c.y + std::sin(a0) * r0};
        Point p1{c.x + std::cos(a1) * r1, c.y + std::sin(a1) * r1};
        float facing = 0.5f + 0.45f * std::cos((a0 + a1) / 2 + 3 * pi / 4);
        canvas.fillPolygon({c, p0, p1}, gray(0.3f + 0.65f * facing));
    }
    canvas.fillCircle(c, inner * 0.1f, gray(1));
    const char* name = "GLIMMER";
    float cell = 0.02f * width;
    drawTextStrokes(canvas, name, {(width - textWidth(name, cell)) / 2, height * 0.75f}, cell,
                    cell * 1.05f, gray(0.12f));
    const char* tag = "LED BOARDS SINCE 1987";
    drawTextBlocks(canvas, tag, {(width - textWidth(tag, 1.6f)) / 2, height * 0.915f}, 1.6f,
                   gray(0.4f));
    return canvas;
}

}  // namespace texgen

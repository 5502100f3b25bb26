// Building blocks of the frame model (see shapes.h).
#include "tools/model_generator/shapes.h"

#include <cmath>

namespace modelgen {

namespace {

constexpr float pi = 3.14159265f;
// Light from above, in front and a little to the right, as in the day scene's sky.
const Vec3 light = normalized({0.35f, 0.75f, 0.55f});
// How much t changes across a face: enough to show the brushing and a soft gradient.
constexpr float faceGradient = 0.14f;

Corner corner(Vec3 p, float s, float brightness, Vec3 normal, texgen::MetalBand band) {
    return {p, s, texgen::bandT(band, brightness), normal};
}

}  // namespace

float brightnessOf(Vec3 normal) {
    return 0.22f + 0.78f * std::max(0.0f, dot(normal, light));
}

void addQuad(Mesh& mesh, Vec3 a, Vec3 b, Vec3 c, Vec3 d, texgen::MetalBand band) {
    Vec3 normal = normalized(cross(b - a, c - a));
    float b0 = brightnessOf(normal) - faceGradient / 2;
    float length = std::sqrt(dot(b - a, b - a)) / brushRepeat;
    float across = std::sqrt(dot(d - a, d - a)) / brushRepeat;
    // A quarter-repeat offset per face, so neighbouring faces do not show the same streaks.
    float s0 = std::fmod(std::fabs(a.x * 0.37f + a.y * 0.61f + a.z * 0.23f), 1.0f);
    mesh.addFace({corner(a, s0, b0, normal, band), corner(b, s0 + length, b0, normal, band),
                  corner(c, s0 + length + across * 0.1f, b0 + faceGradient, normal, band),
                  corner(d, s0 + across * 0.1f, b0 + faceGradient, normal, band)});
}

void addBox(Mesh& mesh, Vec3 l, Vec3 h, texgen::MetalBand band, bool lensBottom) {
    Vec3 p[8] = {{l.x, l.y, l.z}, {h.x, l.y, l.z}, {h.x, h.y, l.z}, {l.x, h.y, l.z},
                 {l.x, l.y, h.z}, {h.x, l.y, h.z}, {h.x, h.y, h.z}, {l.x, h.y, h.z}};
    addQuad(mesh, p[4], p[5], p[6], p[7], band);                                  // front (+z)
    addQuad(mesh, p[1], p[0], p[3], p[2], band);                                  // back (-z)
    addQuad(mesh, p[5], p[1], p[2], p[6], band);                                  // right (+x)
    addQuad(mesh, p[0], p[4], p[7], p[3], band);                                  // left (-x)
    addQuad(mesh, p[7], p[6], p[2], p[3], band);                                  // top (+y)
    addQuad(mesh, p[0], p[1], p[5], p[4], lensBottom ? texgen::lensBand : band);  // bottom
}

void addBeam(Mesh& mesh, Vec3 a, Vec3 b, float thickness, texgen::MetalBand band) {
    Vec3 axis = normalized(b - a);
    Vec3 up{0, 1, 0};
    if (std::fabs(dot(axis, up)) > 0.95f) up = {0, 0, 1};
    Vec3 side = normalized(cross(axis, up)) * (thickness / 2);
    Vec3 lift = normalized(cross(side, axis)) * (thickness / 2);
    // Corners around the beam, counter-clockwise seen from a looking towards b.
    Vec3 ring[4] = {side + lift, side * -1 + lift, side * -1 + lift * -1, side + lift * -1};
    for (int i = 0; i < 4; ++i) {
        Vec3 r0 = ring[i], r1 = ring[(i + 1) % 4];
        addQuad(mesh, a + r1, a + r0, b + r0, b + r1, band);
    }
    addQuad(mesh, b + ring[3], b + ring[2], b + ring[1], b + ring[0], band);
    addQuad(mesh, a + ring[0], a + ring[1], a + ring[2], a + ring[3], band);
}

void addCylinder(Mesh& mesh, Vec3 base, float radius, float height, int segments,
                 texgen::MetalBand band) {
    int saved = mesh.smoothing;
    mesh.smoothing = 1;
    auto rim = [&](int i, float y) {
        float a = 2 * pi * i / segments;
        return Vec3{base.x + radius * std::cos(a), y, base.z - radius * std::sin(a)};
    };
    auto normalAt = [&](int i) {
        float a = 2 * pi * i / segments;
        return Vec3{std::cos(a), 0, -std::sin(a)};
    };
    float top = base.y + height;
    float circumference = 2 * pi * radius / brushRepeat;
    for (int i = 0; i < segments; ++i) {
        // The brushing runs up the post: s along the height, t around it by the light.
        Vec3 n0 = normalAt(i), n1 = normalAt(i + 1);
        float s0 = circumference * i / segments, s1 = circumference * (i + 1) / segments;
        float h = height / brushRepeat;
        float b0 = brightnessOf(n0), b1 = brightnessOf(n1);
        mesh.addFace({corner(rim(i, base.y), s0, b0, n0, band),
                      corner(rim(i + 1, base.y), s1, b1, n1, band),
                      corner(rim(i + 1, top), s1 + h, b1, n1, band),
                      corner(rim(i, top), s0 + h, b0, n0, band)});
    }
    mesh.smoothing = 0;
    Vec3 upCentre{base.x, top, base.z}, downCentre = base;
    for (int i = 0; i < segments; ++i) {
        float a0 = 2 * pi * i / segments, a1 = 2 * pi * (i + 1) / segments;
        auto capS = [&](float a) { return 0.5f + 0.5f * radius * std::cos(a) / brushRepeat; };
        float up = brightnessOf({0, 1, 0}), down = brightnessOf({0, -1, 0});
        mesh.addFace({corner(upCentre, 0.5f, up, {0, 1, 0}, band),
                      corner(rim(i, top), capS(a0), up, {0, 1, 0}, band),
                      corner(rim(i + 1, top), capS(a1), up, {0, 1, 0}, band)});
        mesh.addFace({corner(downCentre, 0.5f, down, {0, -1, 0}, band),
                      corner(rim(i + 1, base.y), capS(a1), down, {0, -1, 0}, band),
                      corner(rim(i, base.y), capS(a0), down, {0, -1, 0}, band)});
    }
    mesh.smoothing = saved;
}

}  // namespace modelgen

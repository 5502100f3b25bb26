// Three-float vectors: the type and arithmetic that the model library (face normals, tangents)
// and the model generator share, and the library's normalisation. A vector without a
// direction normalises to zero, so no NaN from a degenerate triangle or an unset normal ever
// reaches GL.
#pragma once

#include <cmath>

namespace obj {

struct Vec3 {
    float x = 0, y = 0, z = 0;
};

inline Vec3 operator+(Vec3 a, Vec3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec3 operator-(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec3 operator*(Vec3 a, float k) {
    return {a.x * k, a.y * k, a.z * k};
}
inline float dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline Vec3 cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// The vector in three consecutive floats of a record (a vertex's position, normal...).
inline Vec3 loadVec3(const float* v) {
    return {v[0], v[1], v[2]};
}
inline void storeVec3(Vec3 v, float* out) {
    out[0] = v.x;
    out[1] = v.y;
    out[2] = v.z;
}

// How far the squared length of a float vector may be from 1 and still count as unit length:
// a few float epsilons (1.19e-7), the error of a unit vector rounded to floats, or written
// with 8 decimals and read back.
inline constexpr double kUnitTolerance = 4e-7;

// v at unit length; a zero, infinite or NaN length gives (0, 0, 0). Inline: the post-load
// pass calls it several times per vertex and per triangle.
inline Vec3 normalize3(Vec3 v) {
    // In double, so that a unit vector read back from 8-decimal text normalises to the same
    // floats again, and squares of large or tiny floats neither overflow nor vanish.
    double squares = double{v.x} * v.x + double{v.y} * v.y + double{v.z} * v.z;
    // A vector that is of unit length to float precision stays as it is: rescaling it would
    // only move its last bits, and a model written out and read again would change each time.
    if (std::fabs(squares - 1.0) <= kUnitTolerance) return v;
    if (squares > 0 && std::isfinite(squares)) {
        double reciprocal = 1.0 / std::sqrt(squares);
        return {static_cast<float>(v.x * reciprocal), static_cast<float>(v.y * reciprocal),
                static_cast<float>(v.z * reciprocal)};
    }
    return {};
}

// Scales the three floats at v to unit length, by the rule above.
inline void normalize3(float* v) {
    storeVec3(normalize3(loadVec3(v)), v);
}

// Unit normal of the triangle a, b, c: counter-clockwise corners face the viewer.
inline Vec3 faceNormal(Vec3 a, Vec3 b, Vec3 c) {
    return normalize3(cross(b - a, c - a));
}

}  // namespace obj

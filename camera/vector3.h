// Three-float vector value type and the few operations the camera does its geometry with.
// Everything is single precision except the square root of the length, which is taken in
// double precision and rounded back, so results agree to the last bit with any other
// implementation that follows the same order of operations.
#pragma once

#include <cmath>
#include <type_traits>

struct Vector3 {
    float x, y, z;

    // Default construction leaves the components unset, like a plain aggregate.
    Vector3() = default;
    constexpr Vector3(float x, float y, float z) : x(x), y(y), z(z) {}
};

// Copied by value everywhere: it must stay a plain 12-byte aggregate with no heap behind it.
static_assert(sizeof(Vector3) == 12 && std::is_trivially_copyable_v<Vector3>);

constexpr Vector3 vZero(0.0f, 0.0f, 0.0f);

constexpr Vector3 operator+(Vector3 a, Vector3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

constexpr Vector3 operator-(Vector3 a, Vector3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

constexpr Vector3 operator/(Vector3 v, float s) {
    return {v.x / s, v.y / s, v.z / s};
}

// Right-handed a x b: the view direction crossed with the up vector points to the right.
constexpr Vector3 cross(Vector3 a, Vector3 b) {
    Vector3 vNormal(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
    return vNormal;
}

inline float magnitude(Vector3 v) {
    const float sum = v.x * v.x + v.y * v.y + v.z * v.z;
    return float(std::sqrt(double(sum)));
}

// A zero-length vector has no direction: it comes back unchanged (all zeros) rather than as
// three NaNs, which would otherwise poison the camera for the rest of the run.
inline Vector3 normalize(Vector3 v) {
    const float length = magnitude(v);
    if (length == 0.0f) return v;
    return v / length;
}

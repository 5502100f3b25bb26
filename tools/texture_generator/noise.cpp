// Hash, generator and value noise of the pictures (see noise.h).
#include "tools/texture_generator/noise.h"

#include <cmath>
#include <initializer_list>

namespace texgen {

std::uint32_t hash3(std::int32_t a, std::int32_t b, std::int32_t c) {
    std::uint32_t h = 0x9E3779B9u;
    for (std::uint32_t v : {static_cast<std::uint32_t>(a), static_cast<std::uint32_t>(b),
                            static_cast<std::uint32_t>(c)}) {
        h ^= v + 0x7F4A7C15u + (h << 6) + (h >> 2);
        h ^= h >> 16;
        h *= 0x85EBCA6Bu;
        h ^= h >> 13;
        h *= 0xC2B2AE35u;
        h ^= h >> 16;
    }
    return h;
}

float hashUnit(std::int32_t a, std::int32_t b, std::int32_t c) {
    return (hash3(a, b, c) >> 8) * (1.0f / 16777216.0f);
}

std::uint32_t Random::next() {
    // splitmix64: fast, well distributed, fully specified.
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return static_cast<std::uint32_t>((z ^ (z >> 31)) >> 32);
}

float Random::unit() {
    return (next() >> 8) * (1.0f / 16777216.0f);
}

float valueNoise(float x, float y, std::int32_t seed, int periodX) {
    float fx = std::floor(x), fy = std::floor(y);
    auto ix = static_cast<std::int32_t>(fx), iy = static_cast<std::int32_t>(fy);
    float tx = x - fx, ty = y - fy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    auto wrap = [periodX](std::int32_t v) {
        return periodX > 0 ? ((v % periodX) + periodX) % periodX : v;
    };
    float a = hashUnit(wrap(ix), iy, seed), b = hashUnit(wrap(ix + 1), iy, seed);
    float c = hashUnit(wrap(ix), iy + 1, seed), d = hashUnit(wrap(ix + 1), iy + 1, seed);
    float top = a + (b - a) * tx, bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

float fractalNoise(float x, float y, int octaves, std::int32_t seed, int periodX) {
    float sum = 0, amplitude = 1, total = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * valueNoise(x, y, seed + i * 101, periodX);
        total += amplitude;
        amplitude *= 0.5f;
        x *= 2, y *= 2;
        periodX *= 2;
    }
    return sum / total;
}

}  // namespace texgen

// Deterministic randomness for the pictures: an integer hash, a small generator and smooth
// value noise. Nothing here depends on the standard library's distributions, whose results
// differ between implementations, so the files come out the same everywhere.
#pragma once

#include <cstdint>

namespace texgen {

// A well-mixed 32-bit hash of up to three integers.
std::uint32_t hash3(std::int32_t a, std::int32_t b = 0, std::int32_t c = 0);
// The hash mapped to [0, 1).
float hashUnit(std::int32_t a, std::int32_t b = 0, std::int32_t c = 0);

class Random {
  public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint32_t next();
    float unit();  // [0, 1)
    float range(float low, float high) { return low + (high - low) * unit(); }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint32_t>(n)); }

  private:
    std::uint64_t state_;
};

// Smooth value noise in [0, 1] on an integer lattice; period > 0 makes it tile in x.
float valueNoise(float x, float y, std::int32_t seed, int periodX = 0);
// Sum of octaves (each twice the frequency, half the amplitude), normalised to [0, 1].
float fractalNoise(float x, float y, int octaves, std::int32_t seed, int periodX = 0);

}  // namespace texgen

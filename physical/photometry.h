// The wall's light as photometry: the luminance of its content, the sunlight its face reflects,
// its contrast, the illuminance it casts where a sign permit measures it, and its power. Pure
// functions in SI units (nits are cd/m², illuminance in lux); feet and foot-candles only print.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// sRGB's transfer function (IEC 61966-2-1): a channel's level in [0, 1] to its linear light.
double linearFromSrgb(double level);

// Relative luminance of linear RGB light, with the weights of the ITU-R BT.709 primaries that
// sRGB shares: 1 for white.
double relativeLuminance(double red, double green, double blue);

// Mean relative luminance of tightly packed 8-bit sRGB pixels (three bytes each); 0 for none.
double meanRelativeLuminance(std::span<const std::uint8_t> rgb);

// Luminance of wall pixels of relative luminance `relative` on a wall whose white is `peakNits`.
double luminanceNits(double relative, double peakNits);

// The luminance every point of the face gains from `illuminanceLux` falling on it: it reflects
// kFaceReflectance of it diffusely, as a Lambertian surface does (L = rho E / pi).
// 4%: the diffuse reflectance this light model gives a matt black LED face with its louvres.
constexpr double kFaceReflectance = 0.04;
double reflectedLuminanceNits(double illuminanceLux);

// Contrast of the wall's white against its black under ambient light: (peak + reflected) /
// reflected. `reflectedNits` must be above 0.
double contrastRatio(double peakNits, double reflectedNits);

// Where the outdoor advertising industry's brightness guideline for digital billboards (0.3
// foot-candles above ambient light, as many cities adopt it) measures a sign's light: on its
// axis at the square root of 100 times its area in square feet, in feet.
double measurementDistanceMetres(double areaSquareMetres);

// Illuminance a wall of mean luminance `meanNits` and `areaSquareMetres` casts on its axis at
// `distanceMetres`, far enough that the wall acts as a point: intensity (L A) over distance
// squared.
double illuminanceLux(double meanNits, double areaSquareMetres, double distanceMetres);

// Electrical draw of a wall drawing `wattsPerSquareMetre` at full white at the day brightness,
// for content of `meanNits`: the LEDs' power follows their light.
double powerWatts(double wattsPerSquareMetre, double areaSquareMetres, double meanNits,
                  double dayPeakNits);

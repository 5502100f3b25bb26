// The gamma chunk of a PNG, applied as web browsers apply it when no sRGB or ICC chunk says
// more: samples are taken to light by the file's gamma and shown on a display of gamma 2.2.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The display's gamma, that of sRGB screens, which a file's gamma is shown on.
constexpr double kDisplayGamma = 2.2;

// The exponent from stored samples to shown levels for a file gamma (the chunk's value over
// 100000, 1/2.2 for most files); 1 means the samples show as stored.
double pngDisplayExponent(double fileGamma);

// True when the exponent changes no 8-bit level by more than rounding.
bool showsAsStored(double exponent);

// Shown 8-bit levels of the 65536 16-bit samples.
std::vector<std::uint8_t> gammaLevels(double exponent);

// count host-order 16-bit RGBA pixels to RGB levels through levels, composited over black.
void gammaRowOverBlack(const std::uint16_t* rgba, const std::vector<std::uint8_t>& levels,
                       std::uint8_t* rgb, std::size_t count);

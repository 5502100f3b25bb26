// The photometry of the wall: each function is the formula its header names, no more.
#include "physical/photometry.h"

#include <array>
#include <cmath>
#include <numbers>

double linearFromSrgb(double level) {
    // IEC 61966-2-1: a linear toe below 0.04045, a 2.4 power with an offset above it.
    return level <= 0.04045 ? level / 12.92 : std::pow((level + 0.055) / 1.055, 2.4);
}

double relativeLuminance(double red, double green, double blue) {
    return 0.2126 * red + 0.7152 * green + 0.0722 * blue;  // ITU-R BT.709, its Y row
}

double meanRelativeLuminance(std::span<const std::uint8_t> rgb) {
    static const std::array<double, 256> linear = [] {
        std::array<double, 256> table{};
        for (int level = 0; level < 256; ++level) table[level] = linearFromSrgb(level / 255.0);
        return table;
    }();
    const std::size_t pixels = rgb.size() / 3;
    if (pixels == 0) return 0.0;
    double sum = 0.0;
    for (std::size_t i = 0; i < pixels * 3; i += 3)
        sum += relativeLuminance(linear[rgb[i]], linear[rgb[i + 1]], linear[rgb[i + 2]]);
    return sum / double(pixels);
}

double luminanceNits(double relative, double peakNits) {
    return relative * peakNits;
}

double reflectedLuminanceNits(double illuminanceLux) {
    return kFaceReflectance * illuminanceLux / std::numbers::pi;
}

double contrastRatio(double peakNits, double reflectedNits) {
    return (peakNits + reflectedNits) / reflectedNits;
}

double measurementDistanceMetres(double areaSquareMetres) {
    // sqrt(100 A ft²) ft is 10 sqrt(A) in any unit of length: the feet cancel.
    return 10.0 * std::sqrt(areaSquareMetres);
}

double illuminanceLux(double meanNits, double areaSquareMetres, double distanceMetres) {
    return meanNits * areaSquareMetres / (distanceMetres * distanceMetres);
}

double powerWatts(double wattsPerSquareMetre, double areaSquareMetres, double meanNits,
                  double dayPeakNits) {
    return wattsPerSquareMetre * areaSquareMetres * meanNits / dayPeakNits;
}

// The adapted eye's luminance and tone curve: the formulas their header names.
#include "physical/adapted_eye.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
// Below a starlit night's luminance the log-average means nothing for this model; it also
// keeps the logarithm away from zero.
constexpr double kDarkestAdaptationNits = 1.0e-3;
}  // namespace

double surroundLuminanceNits(double ambientLux) {
    return kSurroundReflectance * ambientLux / std::numbers::pi;
}

double adaptationLuminanceNits(double ambientLux, double wallNits) {
    const double surround = std::max(surroundLuminanceNits(ambientLux), kDarkestAdaptationNits);
    const double wall = std::max(wallNits, kDarkestAdaptationNits);
    return std::sqrt(surround * wall);
}

double toneKey(double adaptationNits) {
    return std::min(kToneKey, 1.03 - 2.0 / (2.0 + std::log10(adaptationNits + 1.0)));
}

double exposurePerNit(double adaptationNits) {
    return toneKey(adaptationNits) / adaptationNits;
}

double whiteLuminanceNits(double ambientLux, double wallPeakNits) {
    return std::max(ambientLux / std::numbers::pi, wallPeakNits);
}

double displayLightFromLuminance(double luminanceNits, double adaptationNits, double whiteNits) {
    const double scaled = exposurePerNit(adaptationNits) * luminanceNits;
    const double white = exposurePerNit(adaptationNits) * whiteNits;
    return std::min(scaled * (1.0 + scaled / (white * white)) / (1.0 + scaled), 1.0);
}

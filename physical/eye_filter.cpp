#include "physical/eye_filter.h"

#include <cmath>
#include <numbers>

#include "physical/viewing_geometry.h"

namespace {

double sinc(double x) {
    return x == 0 ? 1.0 : std::sin(std::numbers::pi * x) / (std::numbers::pi * x);
}

// The Blackman window at `offset` taps from the centre, over a window one tap wider than the
// kernel at each end, so the outermost taps keep a little weight.
double blackman(int offset) {
    const double length = 2.0 * kEyeFilterRadius + 2;
    const double phase = 2 * std::numbers::pi * (offset + kEyeFilterRadius + 1) / length;
    return 0.42 - 0.5 * std::cos(phase) + 0.08 * std::cos(2 * phase);
}

}  // namespace

std::array<float, kEyeFilterRadius + 1> eyeFilterWeights() {
    const double cutoff = 1 / kEyeViewPixelsPerAcuity;  // cycles a pixel
    std::array<double, kEyeFilterRadius + 1> raw{};
    double total = 0;
    for (int i = 0; i <= kEyeFilterRadius; ++i) {
        raw[i] = sinc(2 * cutoff * i) * blackman(i);
        total += i == 0 ? raw[i] : 2 * raw[i];
    }
    std::array<float, kEyeFilterRadius + 1> weights{};
    for (int i = 0; i <= kEyeFilterRadius; ++i) weights[i] = float(raw[i] / total);
    return weights;
}

double eyeFilterResponse(double periodPixels) {
    const std::array<float, kEyeFilterRadius + 1> weights = eyeFilterWeights();
    double response = weights[0];
    for (int i = 1; i <= kEyeFilterRadius; ++i)
        response += 2 * weights[i] * std::cos(2 * std::numbers::pi * i / periodPixels);
    return std::abs(response);
}

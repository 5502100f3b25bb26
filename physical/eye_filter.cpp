#include "physical/eye_filter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "physical/viewing_geometry.h"

namespace {

double sinc(double x) {
    return x == 0 ? 1.0 : std::sin(std::numbers::pi * x) / (std::numbers::pi * x);
}

// The Blackman window `offset` from the centre of a window `halfLength` either side; the
// outermost taps lie half a window pixel inside it, so they keep a little weight.
double blackman(double offset, double halfLength) {
    const double phase = std::numbers::pi * offset / halfLength;
    return 0.42 + 0.5 * std::cos(phase) + 0.08 * std::cos(2 * phase);
}

}  // namespace

EyeFilter eyeFilter(int supersampling) {
    supersampling = std::clamp(supersampling, 1, kEyeViewSupersampling);
    EyeFilter filter;
    filter.supersampling = supersampling;
    filter.taps = kEyeFilterHalfWindow * supersampling;
    filter.firstOffset = supersampling % 2 == 0 ? 0.5f : 0.0f;
    const double cutoff = 1 / (kEyeViewPixelsPerAcuity * supersampling);  // cycles a drawn pixel
    const double halfLength = double(kEyeFilterHalfWindow) * supersampling;
    std::array<double, kEyeFilterMaxTaps> raw{};
    double total = 0;
    for (int i = 0; i < filter.taps; ++i) {
        const double offset = filter.firstOffset + i;
        raw[i] = sinc(2 * cutoff * offset) * blackman(offset, halfLength);
        if (offset == 0) raw[i] /= 2;
        total += 2 * raw[i];
    }
    for (int i = 0; i < filter.taps; ++i) filter.weights[i] = float(raw[i] / total);
    return filter;
}

EyeFilterReads eyeFilterReads(const EyeFilter& filter) {
    EyeFilterReads reads;
    for (int i = 0; i < filter.taps; i += 2, ++reads.reads) {
        const double near = filter.firstOffset + i;
        const double nearWeight = filter.weights[i];
        const double farWeight = i + 1 < filter.taps ? filter.weights[i + 1] : 0.0;
        const double weight = nearWeight + farWeight;
        reads.weights[reads.reads] = float(weight);
        reads.offsets[reads.reads] = float(weight == 0 ? near : near + farWeight / weight);
    }
    return reads;
}

double eyeFilterResponse(const EyeFilter& filter, double periodPixels) {
    const double period = periodPixels * filter.supersampling;  // in drawn pixels
    double response = 0;
    for (int i = 0; i < filter.taps; ++i)
        response += 2 * filter.weights[i] *
                    std::cos(2 * std::numbers::pi * (filter.firstOffset + i) / period);
    return std::abs(response);
}

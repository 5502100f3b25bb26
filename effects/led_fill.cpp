// The LED's share of its cell's light, summed over a grid on one quarter of the cell as the
// face's vertex shader sums it.
#include "effects/led_fill.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kHaloLight = 0.5;  // as led_profile.glsl
constexpr double kHaloReach = 1.0;
constexpr double kDisplayGamma = 2.2;  // as display_light.glsl
constexpr int kMeanSamples = 24;       // as led_face.glsl
constexpr double kBlur = 1.0e-3;

double smoothstep(double edge0, double edge1, double x) {
    const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

double ledProfile(double radial, double pixelRadius, double tolerance) {
    const double outer = pixelRadius;
    const double inner = pixelRadius * (1.0 - tolerance);
    const double disc = 1.0 - smoothstep(inner - kBlur, outer + kBlur, radial);
    const double reach = std::max(outer - inner + kHaloReach * tolerance + kBlur, 1.0e-4);
    const double halo = std::clamp(1.0 - std::max(radial - inner, 0.0) / reach, 0.0, 1.0);
    return disc + (1.0 - disc) * kHaloLight * halo * halo;
}

}  // namespace

double ledCellLightShare(float pixelRadius, float tolerance) {
    const double spacing = 1.0 / kMeanSamples;
    double sum = 0;
    for (int j = 0; j < kMeanSamples; ++j) {
        for (int i = 0; i < kMeanSamples; ++i) {
            const double x = (i + 0.5) * spacing, y = (j + 0.5) * spacing;
            const double level = ledProfile(std::hypot(x, y), pixelRadius, tolerance);
            sum += std::pow(std::max(level, 0.0), kDisplayGamma);
        }
    }
    return sum * spacing * spacing;
}

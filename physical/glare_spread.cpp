// The CIE glare spread function and its fit by the downsampled levels' blurs: a small
// non-negative least-squares problem, solved by normal equations and an active set.
#include "physical/glare_spread.h"

#include <cmath>
#include <numbers>
#include <vector>

#include "physical/units.h"

namespace {

constexpr int kFitSamples = 64;  // log-spaced radii: the fit changes by well under 1% beyond

double gaussianAt(int level, double pixels) {
    const double sigma = glareLevelPixels(level);
    return std::exp(-pixels * pixels / (2 * sigma * sigma)) /
           (2 * std::numbers::pi * sigma * sigma);
}

// Solves the n by n system a x = b in place by Gaussian elimination with partial pivoting;
// false when it is singular.
bool solve(std::vector<std::vector<double>>& a, std::vector<double>& b) {
    const std::size_t n = b.size();
    for (std::size_t c = 0; c < n; ++c) {
        std::size_t pivot = c;
        for (std::size_t r = c + 1; r < n; ++r)
            if (std::abs(a[r][c]) > std::abs(a[pivot][c])) pivot = r;
        if (std::abs(a[pivot][c]) < 1e-300) return false;
        std::swap(a[c], a[pivot]);
        std::swap(b[c], b[pivot]);
        for (std::size_t r = c + 1; r < n; ++r) {
            const double f = a[r][c] / a[c][c];
            for (std::size_t k = c; k < n; ++k) a[r][k] -= f * a[c][k];
            b[r] -= f * b[c];
        }
    }
    for (std::size_t c = n; c-- > 0;) {
        for (std::size_t k = c + 1; k < n; ++k) b[c] -= a[c][k] * b[k];
        b[c] /= a[c][c];
    }
    return true;
}

}  // namespace

double glareSpreadPerSteradian(double degrees) {
    const double ageFactor = 1.0 + std::pow(kGlareAgeYears / 62.5, 4.0);
    return 10.0 / (degrees * degrees * degrees) +
           (5.0 / (degrees * degrees) + 0.1 * kGlarePigmentation / degrees) * ageFactor +
           0.0025 * kGlarePigmentation;
}

double glareLevelPixels(int level) {
    const double texel = double(4 << level);  // levels 1/4 to 1/256
    // The first level is the mean of 4 by 4 pixels, a box of 4: 1.25 pixels²; each halving
    // after it the mean of 4 by 4 texels of 2^i pixels: 1.25 (16 + ... + (texel / 2)²)
    // pixels², in all 1.25 (texel² - 13) / 3.
    const double halvings = 1.25 * (texel * texel - 13.0) / 3.0;
    // A bilinear read at a point a fraction f of a texel past one texel's centre spreads the
    // light by f (1 - f) texels². Read up from level j to j - 1, f is 1/4 or 3/4: 3 / 16 of
    // (2^(j + 2))², 3 x 4^j pixels², in all 4^(level + 1) - 4; the first level read at full
    // size, f is 1/8, 3/8, 5/8 or 7/8: 11 / 64 of 16 pixels².
    const double readsUp = std::pow(4.0, level + 1) - 4.0;
    return std::sqrt(halvings + readsUp + 11.0 / 4.0);
}

double exactGlare(double degreesPerPixel, double pixels) {
    const double pixelSolidAngle = std::pow(radiansFromDegrees(degreesPerPixel), 2.0);
    return pixelSolidAngle * glareSpreadPerSteradian(pixels * degreesPerPixel);
}

double fittedGlare(const GlareFit& fit, double pixels) {
    double sum = 0.0;
    for (int k = 0; k < kGlareLevels; ++k) sum += fit.weights[k] * gaussianAt(k, pixels);
    return sum;
}

GlareFit fitGlareSpread(double degreesPerPixel, double largestPixels) {
    // Rows: the Gaussians over the exact value at each radius, fitted to 1.
    std::vector<std::array<double, kGlareLevels>> rows(kFitSamples);
    for (int j = 0; j < kFitSamples; ++j) {
        const double pixels = 2.0 * std::pow(largestPixels / 2.0, j / double(kFitSamples - 1));
        const double exact = exactGlare(degreesPerPixel, pixels);
        for (int k = 0; k < kGlareLevels; ++k) rows[j][k] = gaussianAt(k, pixels) / exact;
    }
    std::array<bool, kGlareLevels> active;
    active.fill(true);
    GlareFit fit;
    for (int round = 0; round < kGlareLevels; ++round) {
        std::vector<int> used;
        for (int k = 0; k < kGlareLevels; ++k)
            if (active[k]) used.push_back(k);
        std::vector<std::vector<double>> normal(used.size(), std::vector<double>(used.size()));
        std::vector<double> right(used.size());
        for (const auto& row : rows) {
            for (std::size_t a = 0; a < used.size(); ++a) {
                right[a] += row[used[a]];
                for (std::size_t b = 0; b < used.size(); ++b)
                    normal[a][b] += row[used[a]] * row[used[b]];
            }
        }
        if (!solve(normal, right)) break;
        fit.weights.fill(0.0);
        bool negative = false;
        for (std::size_t a = 0; a < used.size(); ++a) {
            if (right[a] < 0) {
                active[used[a]] = false;
                negative = true;
            } else {
                fit.weights[used[a]] = right[a];
            }
        }
        if (!negative) break;
    }
    return fit;
}

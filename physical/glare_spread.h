// The eye's glare: light from a bright source scattered in the eye veils everything near it.
// Its glare spread function is the CIE's general disability glare equation (CIE 146:2002,
// "CIE equations for disability glare"): the veiling luminance at angle theta from a source,
// per lux the source gives at the eye. For drawing, it is fitted by a sum of Gaussians of
// widths doubling, one for each level of a downsampled image.
#pragma once

#include <array>

// The eye the equation is taken for: 40 years old, with brown eyes (pigmentation 0.5).
constexpr double kGlareAgeYears = 40;
constexpr double kGlarePigmentation = 0.5;

// Veiling luminance in nits per lux at the eye, at `degrees` from the source (the equation
// holds from 0.1 to 100 degrees).
double glareSpreadPerSteradian(double degrees);

// The levels: the image at a quarter of its size (each texel the mean of 4 by 4 pixels), then
// halved again and again by the mean of 4 by 4 texels (four bilinear reads between texels),
// down to 1/256. They are weighted and summed from the smallest up, each sum read bilinearly
// at the texel centres of the level twice its size, and the last, at 1/4, read bilinearly at
// full size. Each level is then the image blurred by about a Gaussian, 2 to 209 pixels wide.
constexpr int kGlareLevels = 7;
struct GlareFit {
    // Weight of each blurred level (the image blurred by a normalised Gaussian of that width):
    // the veiling luminance is the sum of the blurred images times their weights.
    std::array<double, kGlareLevels> weights{};
};

// How far out the fit follows the equation: across most of a window, so a bright wall's glow
// reaches its far corners.
constexpr double kGlareFitPixels = 512;

// The fit for a view of `degreesPerPixel`, least squares of the relative error from two pixels
// out to `largestPixels`, all weights positive or 0.
GlareFit fitGlareSpread(double degreesPerPixel, double largestPixels);

// The fitted veiling luminance at `pixels` from a one-pixel source of luminance 1, and the
// equation's: the source gives (degreesPerPixel in radians)² lux at the eye.
double fittedGlare(const GlareFit& fit, double pixels);
double exactGlare(double degreesPerPixel, double pixels);

// Standard deviation of level k's blur, in pixels at full resolution: the first level's box of
// 4 pixels, 1.25 pixels², each halving after it the variance of a box of 4 texels of the level
// it reads, 1.25 texels²; then each read up to the level twice the size, a tent of the texel
// read at its quarter and three quarters, 3 / 16 texels², and the last read at full size,
// a tent of 4 pixels at its eighths, 11 / 64 of 16 pixels².
double glareLevelPixels(int level);

// The light line: the wall's light for the view shown, in the figures a sign permit asks for
// (mean and peak luminance, contrast under the ambient light, the illuminance at the sign
// guideline's distance, the power drawn), from the light settings and the content's light.
#pragma once

#include <string>

// The light settings of the command line, SI inside.
struct LightSettings {
    // Peak white luminance: outdoor walls run 5,000 to 8,000 nits to hold their own in
    // sunlight; at night a light sensor dims them to a few hundred.
    double peakNitsDay = 6000;
    double peakNitsNight = 300;
    // Illuminance on the face: daylight on a sunlit wall, and a street lit at night.
    double ambientLuxDay = 40000;
    double ambientLuxNight = 10;
    // Draw at full white at the day brightness: outdoor panels' data sheets give several
    // hundred watts a square metre at full white; 600 is a typical figure.
    double wattsPerSquareMetre = 600;
};

enum class LightView { day, night };

struct LightFigures {
    double meanNits = 0;  // the content's own light on the wall's LEDs
    double peakNits = 0;
    double contrast = 0;  // (peak + reflected) / reflected
    double ambientLux = 0;
    double distanceMetres = 0;  // where the sign guideline measures
    double footCandles = 0;     // the wall's own light there, on its axis
    double kilowatts = 0;
};

// The figures of a wall of `areaSquareMetres` showing content of mean relative luminance
// `meanRelative` (0 black, 1 white) in `view`.
LightFigures lightFigures(const LightSettings& settings, LightView view, double meanRelative,
                          double areaSquareMetres);

// "light night: mean 300 nits, peak 300 nits; contrast 2357:1 at 10 lux; 0.28 fc at 79.3 m;
// 1.9 kW", without a line end.
std::string lightLine(LightView view, const LightFigures& figures);

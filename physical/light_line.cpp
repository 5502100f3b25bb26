// The light line's figures from the photometry, and their printed form.
#include "physical/light_line.h"

#include <cstdio>

#include "physical/photometry.h"
#include "physical/units.h"

LightFigures lightFigures(const LightSettings& settings, LightView view, double meanRelative,
                          double areaSquareMetres) {
    const bool day = view == LightView::day;
    LightFigures figures;
    figures.peakNits = day ? settings.peakNitsDay : settings.peakNitsNight;
    figures.ambientLux = day ? settings.ambientLuxDay : settings.ambientLuxNight;
    figures.meanNits = luminanceNits(meanRelative, figures.peakNits);
    figures.contrast = contrastRatio(figures.peakNits, reflectedLuminanceNits(figures.ambientLux));
    figures.distanceMetres = measurementDistanceMetres(areaSquareMetres);
    figures.footCandles = footCandlesFromLux(
        illuminanceLux(figures.meanNits, areaSquareMetres, figures.distanceMetres));
    figures.kilowatts = powerWatts(settings.wattsPerSquareMetre, areaSquareMetres, figures.meanNits,
                                   settings.peakNitsDay) /
                        1000.0;
    return figures;
}

std::string lightLine(LightView view, const LightFigures& figures) {
    // Contrast to three figures or so: 12.8:1 by day, 2357:1 at night.
    const int contrastDecimals = figures.contrast < 100 ? 1 : 0;
    char line[256];
    std::snprintf(line, sizeof line,
                  "light %s: mean %.0f nits, peak %.0f nits; contrast %.*f:1 at %.6g lux; "
                  "%.2f fc at %.1f m; %.1f kW",
                  view == LightView::day ? "day" : "night", figures.meanNits, figures.peakNits,
                  contrastDecimals, figures.contrast, figures.ambientLux, figures.footCandles,
                  figures.distanceMetres, figures.kilowatts);
    return line;
}

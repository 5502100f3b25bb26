#include "physical/wall_setup.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "physical/units.h"

double WallSetup::eyeDistanceMetres() const {
    return ::eyeDistanceMetres(viewer.distanceMetres, viewer.eyeHeightMetres,
                               faceCentreHeightMetres());
}

void stepViewer(WallSetup& setup, int direction) {
    double& distance = setup.viewer.distanceMetres;
    distance = direction < 0 ? distance / kViewerStep : distance * kViewerStep;
    distance = std::clamp(distance, kNearestViewerMetres, kFarthestViewerMetres);
}

std::string viewerLine(const WallSetup& setup) {
    // Whole degrees print without a fraction, as users give them; others to a tenth.
    const double degrees = degreesFromRadians(setup.viewer.angleRadians);
    const bool whole = std::abs(degrees - std::round(degrees)) < 0.05;
    char line[512];
    std::snprintf(line, sizeof line,
                  "viewer: distance %.1f m, eye %.1f m, angle %.*f deg; wall %.2f x %.2f m, "
                  "%d x %d LEDs, pitch %.1f mm; LED %.2f arcmin; LEDs resolved within %.1f m (%s)",
                  setup.viewer.distanceMetres, setup.viewer.eyeHeightMetres, whole ? 0 : 1,
                  whole ? std::round(degrees) + 0.0 : degrees, setup.wallWidthMetres(),
                  setup.wallHeightMetres(), setup.widthLeds, setup.heightLeds,
                  millimetresFromMetres(setup.pitchMetres),
                  arcminutesFromRadians(setup.ledAngleRadians()), setup.resolvedWithinMetres(),
                  setup.eyesight.c_str());
    return line;
}

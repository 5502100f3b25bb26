#include "physical/viewing_geometry.h"

#include <cmath>

#include "physical/units.h"

int ledCountFromMetres(double metres, double pitchMetres) {
    const double leds = std::round(metres / pitchMetres);
    if (!(leds >= 0)) return 0;
    if (leds > kMaxWallLeds) return kMaxWallLeds + 1;
    return static_cast<int>(leds);
}

double eyeDistanceMetres(double groundDistanceMetres, double eyeHeightMetres,
                         double centreHeightMetres) {
    return std::hypot(groundDistanceMetres, centreHeightMetres - eyeHeightMetres);
}

double pitchAngleRadians(double pitchMetres, double distanceMetres) {
    return 2.0 * std::atan(pitchMetres / 2.0 / distanceMetres);
}

double acuityAngleRadians(double decimalAcuity) {
    return radiansFromArcminutes(kNormalAcuityArcminutes) / decimalAcuity;
}

double resolvedWithinMetres(double pitchMetres, double angleRadians) {
    return pitchMetres / 2.0 / std::tan(angleRadians / 2.0);
}

// Conversions between SI and the units people read and write: millimetres, feet, square feet,
// foot-candles, degrees and arcminutes. Everything inside is SI; these are used only where a
// figure is read from the command line or printed.
#pragma once

#include <numbers>

constexpr double kMetresPerFoot = 0.3048;        // international foot, exact
constexpr double kLuxPerFootCandle = 10.763910;  // 1 fc = 1 lm/ft² = 1 / 0.3048² lux

constexpr double metresFromMillimetres(double millimetres) {
    return millimetres / 1000.0;
}
constexpr double millimetresFromMetres(double metres) {
    return metres * 1000.0;
}
constexpr double feetFromMetres(double metres) {
    return metres / kMetresPerFoot;
}
constexpr double metresFromFeet(double feet) {
    return feet * kMetresPerFoot;
}
constexpr double squareFeetFromSquareMetres(double squareMetres) {
    return squareMetres / (kMetresPerFoot * kMetresPerFoot);
}
constexpr double footCandlesFromLux(double lux) {
    return lux / kLuxPerFootCandle;
}
constexpr double radiansFromDegrees(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}
constexpr double degreesFromRadians(double radians) {
    return radians * 180.0 / std::numbers::pi;
}
constexpr double radiansFromArcminutes(double arcminutes) {
    return radiansFromDegrees(arcminutes / 60.0);
}
constexpr double arcminutesFromRadians(double radians) {
    return degreesFromRadians(radians) * 60.0;
}

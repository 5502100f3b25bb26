// What a viewer sees of a wall of LEDs: the wall's size from its LEDs and pitch, the eye's
// distance from the face, the angle one pitch spans there and the distance within which the
// viewer's eyes resolve single LEDs. Lengths in metres, angles in radians.
#pragma once

// The minimum angle of resolution of an eye of normal (20/20, 6/6, decimal 1.0) acuity: one
// arcminute, the size of a Snellen optotype's stroke and gap at the distance its line is read
// from (the Snellen chart's definition of normal vision, as ISO 8596 keeps it).
constexpr double kNormalAcuityArcminutes = 1.0;

// Most LEDs a wall side may have: as many as a texture side may hold (GL's textures stop there).
constexpr int kMaxWallLeds = 8192;

constexpr double wallSideMetres(int leds, double pitchMetres) {
    return leds * pitchMetres;
}

// The whole number of LEDs nearest to `metres` at `pitchMetres` apart; 0 when the side is
// under half a pitch, and kMaxWallLeds + 1 for any side too large to hold.
int ledCountFromMetres(double metres, double pitchMetres);

// The straight line from the eye to the face's centre, from the distance between them along
// the ground and the heights of both above it.
double eyeDistanceMetres(double groundDistanceMetres, double eyeHeightMetres,
                         double centreHeightMetres);

// The angle one pitch spans, seen face on from `distanceMetres`: 2 atan(pitch / 2 / distance).
double pitchAngleRadians(double pitchMetres, double distanceMetres);

// The acuity angle of an eye of `decimalAcuity` (1 for 20/20, 0.5 for 20/40): the normal
// angle grown in proportion to the letters the eye needs.
double acuityAngleRadians(double decimalAcuity);

// The distance at which one pitch spans `angleRadians`: single LEDs are resolved within it.
double resolvedWithinMetres(double pitchMetres, double angleRadians);

// Where the viewer stands when not told: 3438 pitches, about where one LED spans one arcminute
// (1 / tan(1 arcminute) = 3437.7).
constexpr double kDefaultViewerPitches = 3438.0;
constexpr double defaultViewerDistanceMetres(double pitchMetres) {
    return kDefaultViewerPitches * pitchMetres;
}

// The eye view shows each window pixel a quarter of the viewer's acuity angle wide, so that
// what the eye resolves is well inside the window's resolution; eye_filter takes out what is
// finer than the acuity angle from a drawing finer still.
constexpr double kEyeViewPixelsPerAcuity = 4;

// The vertical field of view of the eye view for a window `heightPixels` high.
constexpr double eyeViewFieldOfViewRadians(double acuityAngleRadians, int heightPixels) {
    return heightPixels * acuityAngleRadians / kEyeViewPixelsPerAcuity;
}

// The wall in real units as the user set it up: its LEDs and pitch, how it stands, how content
// fills it, and the viewer (where the eye is, how well it sees). One plain record the scene,
// the keys and the light model all read; the viewer line prints it.
#pragma once

#include <string>

#include "physical/viewing_geometry.h"
#include "pictures/wall_fit.h"

struct Viewer {
    double distanceMetres = 0;  // along the ground, from below the face's centre to below the eye
    double eyeHeightMetres = 1.5;  // above the ground
    double angleRadians = 0;       // to the right of the face's axis
};

// The nearest and farthest a viewer may be taken (keys n and m): no nearer than the real-units
// camera's near plane, no farther than the ground and backdrop reach.
constexpr double kNearestViewerMetres = 0.1;
constexpr double kFarthestViewerMetres = 2000.0;
// Each press of n divides the viewer's distance by this, each press of m multiplies it.
constexpr double kViewerStep = 1.25;

struct WallSetup {
    bool realUnits = false;  // --pitch given; everything else here is unused without it
    int widthLeds = 64;
    int heightLeds = 32;
    double pitchMetres = 0;
    double mountMetres = 4;  // from the ground to the face's bottom edge
    WallFit fit = WallFit::contain;
    Viewer viewer;
    double decimalAcuity = 1;
    std::string eyesight = "20/20";  // as the user wrote it, for the viewer line

    double wallWidthMetres() const { return wallSideMetres(widthLeds, pitchMetres); }
    double wallHeightMetres() const { return wallSideMetres(heightLeds, pitchMetres); }
    double faceCentreHeightMetres() const { return mountMetres + wallHeightMetres() / 2; }
    // The straight line from the eye to the face's centre.
    double eyeDistanceMetres() const;
    double ledAngleRadians() const { return pitchAngleRadians(pitchMetres, eyeDistanceMetres()); }
    double acuityAngleRadians() const { return ::acuityAngleRadians(decimalAcuity); }
    double resolvedWithinMetres() const {
        return ::resolvedWithinMetres(pitchMetres, acuityAngleRadians());
    }
};

// The wall of real units, set once from the command line before the scene loads.

// The viewer taken nearer (direction < 0) or farther (> 0) by one step, within the limits.
void stepViewer(WallSetup& setup, int direction);

// "viewer: distance 60.0 m, eye 1.5 m, angle 0 deg; wall 14.62 x 4.30 m, 914 x 269 LEDs,
// pitch 16.0 mm; LED 0.91 arcmin; LEDs resolved within 55.0 m (20/20)", without a newline.
std::string viewerLine(const WallSetup& setup);

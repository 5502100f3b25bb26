#include "app/core/viewer_keys.h"

#include <algorithm>
#include <cmath>

#include "app/core/console.h"
#include "physical/units.h"

Vector3 faceCentre(const WallSetup& setup) {
    return {0.0f, float(setup.faceCentreHeightMetres()), 0.0f};
}

CameraPlacement viewerPlacement(const WallSetup& setup) {
    const Viewer& v = setup.viewer;
    const Vector3 eye{float(v.distanceMetres * std::sin(v.angleRadians)), float(v.eyeHeightMetres),
                      float(v.distanceMetres * std::cos(v.angleRadians))};
    return {eye, faceCentre(setup), {0, 1, 0}};
}

CameraPlacement startingPlacement(const WallSetup& setup) {
    return setup.realUnits ? viewerPlacement(setup) : kStartingView;
}

CameraPlacement framingPlacement(const WallSetup& setup) {
    // The wall's larger side across 80% of the 45-degree field of view.
    constexpr double kFilledShare = 0.8;
    const double halfField = std::tan(radiansFromDegrees(45.0 / 2));
    const double side = std::max(setup.wallWidthMetres(), setup.wallHeightMetres());
    const double distance = side / 2 / halfField / kFilledShare;
    const Vector3 centre = faceCentre(setup);
    return {{0, centre.y, float(distance)}, centre, {0, 1, 0}};
}

Viewer viewerAt(const Vector3& eye) {
    Viewer viewer;
    viewer.distanceMetres = std::hypot(double(eye.x), double(eye.z));
    viewer.eyeHeightMetres = eye.y;
    viewer.angleRadians = std::atan2(double(eye.x), double(eye.z));
    return viewer;
}

bool applyViewerKey(unsigned char key, WallSetup& setup, Camera& viewer, int pixelSize,
                    bool& eyeView) {
    if (!setup.realUnits) return false;
    switch (key) {
        case 'n':
        case 'm':
            setup.viewer = viewerAt(viewer.getPosition());
            stepViewer(setup, key == 'n' ? -1 : 1);
            placeCamera(viewer, viewerPlacement(setup));
            consolePrint("%s\n", viewerLine(setup).c_str());
            return true;
        case 'v':
            setup.viewer = viewerAt(viewer.getPosition());
            consolePrint("%s\n", viewerLine(setup).c_str());
            return true;
        case 'z':
            eyeView = !eyeView;
            // The eye view narrows around the face's centre, so it looks there from where it is.
            setup.viewer = viewerAt(viewer.getPosition());
            placeCamera(viewer, viewerPlacement(setup));
            return true;
        case '=':
        case '+':
        case '-':
        case '_':
            // The wall's pitch stays the wall's: each cell is one of its LEDs.
            consolePrint("pixelSize = %i\n", pixelSize);
            return true;
        default:
            return false;
    }
}

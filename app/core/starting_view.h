// Where the camera starts: in front of the billboard, looking at the middle of its face. The
// scene load puts it there; tools and tests that move it come back to it.
#pragma once

#include "camera/camera.h"
#include "camera/vector3.h"

// An eye, the point it looks at and the up direction, as positionCamera takes them.
struct CameraPlacement {
    Vector3 eye;
    Vector3 target;
    Vector3 up;
};

inline constexpr CameraPlacement kStartingView = {{0, 20, 60}, {0, 15, 0}, {0, 1, 0}};

void placeCamera(Camera& viewer, const CameraPlacement& placement);

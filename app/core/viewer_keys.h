// The viewer of the wall in real units: where the camera starts, and the keys that only act
// in real units (n and m take the viewer nearer and farther, v prints the viewer line, z
// switches the eye view, the cell-size keys keep one LED a wall pixel). Free of GL.
#pragma once

#include "app/core/run_state.h"
#include "app/core/starting_view.h"
#include "physical/wall_setup.h"

// The face's centre in the scene: the wall stands in the plane z = 0, facing +z, centred on
// x = 0, its bottom edge at its mount height. One scene unit is one metre.
Vector3 faceCentre(const WallSetup& setup);

// The camera of `setup`'s viewer, looking at the face's centre. A viewer at a positive angle
// stands at positive x, to the right of the axis as someone facing the wall sees it.
CameraPlacement viewerPlacement(const WallSetup& setup);

// Where the camera starts: at the viewer in real units, else the program's starting view.
CameraPlacement startingPlacement(const WallSetup& setup);

// A camera on the face's axis at its centre's height, near enough for the wall to fill most
// of a square window: how the review pictures the wall itself.
CameraPlacement framingPlacement(const WallSetup& setup);

// The viewer standing where `eye` is (the camera may have been walked since it was placed).
Viewer viewerAt(const Vector3& eye);

// Whether the eye view (key z) is shown.

// Applies `key` when it is one of the real units' own and real units are on: true then (the
// key is taken and the key table is not asked). False otherwise, changing nothing.
bool applyViewerKey(unsigned char key, WallSetup& setup, Camera& viewer, int pixelSize,
                    bool& eyeView);

// placeCamera: a CameraPlacement handed to positionCamera as its nine numbers.
#include "app/core/starting_view.h"

void placeCamera(Camera& viewer, const CameraPlacement& placement) {
    const CameraPlacement& p = placement;
    viewer.positionCamera(p.eye.x, p.eye.y, p.eye.z, p.target.x, p.target.y, p.target.z, p.up.x,
                          p.up.y, p.up.z);
}

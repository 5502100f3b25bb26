#include "app/core/run_state.h"

#include <memory>

#include "app/core/effect_keys.h"

RunState runState;

void startFresh(int picture, const CameraPlacement& placement) {
    effectParameters = startingParameters(pictureCatalogue, picture);
    eyeViewShown = false;
    placeCamera(camera, placement);
}

// Made anew in place, so the names bound to its parts go on naming them.
void resetRunState() {
    std::destroy_at(&runState);
    std::construct_at(&runState);
}

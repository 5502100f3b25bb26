// Puts the program's drawing state back to a known start before each frame test: the window
// with the start-up GL state, the four effect programs (built once per process), the run-time
// state as before start-up with the camera at its starting place and starting effect parameters.
// Header-only, so it links with whichever test already links the application.
#pragma once

#include "app/core/effect_keys.h"
#include "app/core/run_state.h"
#include "app/core/starting_view.h"
#include "app/startup.h"
#include "camera/camera.h"
#include "effects/effect_programs.h"
#include "tests/support/gl_window.h"

namespace testsupport {

inline void resetSceneState() {
    openGlWindow();
    initGraphics();
    static bool built = false;
    if (!built) {
        buildEffectPrograms();
        built = true;
    }
    resetRunState();
    placeCamera(camera, kStartingView);
    effectParameters = kStartingParameters;
}

// Colours read back from llvmpipe match within a few steps of rounding and filtering.
inline bool nearColour(Rgb a, Rgb b, int tolerance = 12) {
    auto close = [tolerance](int x, int y) { return x - y <= tolerance && y - x <= tolerance; };
    return close(a.r, b.r) && close(a.g, b.g) && close(a.b, b.b);
}

}  // namespace testsupport

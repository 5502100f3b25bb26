// Takes the README's screenshots: the normal view in each of the four effects and the day and
// night scenes, drawn by the real display callback and written as PNG files.
//   screenshots <folder>     (run from the repository root, under X or Xvfb)
#include <GL/glew.h>
#include <GL/freeglut.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "app/callbacks.h"
#include "app/core/effect_keys.h"
#include "app/core/run_state.h"
#include "app/core/starting_view.h"
#include "app/review/frame_capture.h"
#include "camera/camera.h"
#include "tools/screenshots/scene_window.h"
#include "tools/screenshots/viewing_shots.h"

namespace {

// The last frame as a PNG file at path, which keeps its old contents if the write fails.
bool writePng(const std::string& path) {
    const int error = writeFramePng(readShownFrame(), path.c_str());
    if (error != 0) {
        std::fprintf(stderr, "screenshots: cannot write %s: %s\n", path.c_str(),
                     std::strerror(error));
        return false;
    }
    std::fprintf(stderr, "wrote %s\n", path.c_str());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: screenshots <folder>\n");
        return 2;
    }
    const std::string folder = argv[1];
    if (!openSceneWindow(&argc, argv)) {
        std::fprintf(stderr, "screenshots: GL has no programmable pipeline\n");
        return 1;
    }
    bool ok = true;
    for (int mode = 0; mode < 4; ++mode) {
        chooseEffect(effectParameters, mode);
        drawFrame();
        ok = writePng(folder + "/normal-effect-" + std::to_string(mode + 1) + ".png") && ok;
    }
    // The smallest cells seen from far off to the side: the LED grid must not turn to moire.
    chooseEffect(effectParameters, 1);
    const int cellSize = effectParameters.pixelSize;
    effectParameters.pixelSize = pictureCatalogue.pictures[effectParameters.picture].step;
    placeCamera(camera, {{-62, 18, 22}, kStartingView.target, kStartingView.up});
    drawFrame();
    ok = writePng(folder + "/slanted-small-cells.png") && ok;
    effectParameters.pixelSize = cellSize;
    placeCamera(camera, kStartingView);

    keyboard('1', 0, 0);  // the day preset, through the real key
    drawFrame();
    ok = writePng(folder + "/day-scene.png") && ok;
    keyboard('2', 0, 0);  // straight on to the night preset
    drawFrame();
    ok = writePng(folder + "/night-scene.png") && ok;
    ok = takeViewingShots(folder, writePng) && ok;
    return ok ? 0 : 1;
}

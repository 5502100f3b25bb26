// The screenshot tool's window: opened by the program's own start-up, each step's end timed,
// and one frame drawn through the display callback.
#include "tools/screenshots/scene_window.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <chrono>

#include "app/callbacks.h"
#include "app/review/frame_capture.h"
#include "app/startup.h"

namespace {

// The field of OpeningTimes that each start-up step's end goes into, in step order.
constexpr double OpeningTimes::*kStepEnds[] = {
    &OpeningTimes::windowOpen, &OpeningTimes::programsBuilt, &OpeningTimes::sceneLoaded};

}  // namespace

double steadySeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool openSceneWindow(int* argc, char** argv, OpeningTimes* times) {
    OpeningTimes local;
    OpeningTimes& t = times ? *times : local;
    t.started = steadySeconds();
    StartupOptions options;
    options.stepDone = [&t](StartupStep step) { t.*kStepEnds[int(step)] = steadySeconds(); };
    if (!startUp(argc, argv, options)) return false;
    waitForWindowMapping();
    return true;
}

void drawFrame() {
    display();
    glFinish();
}

#include "tools/screenshots/scene_window.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <algorithm>
#include <chrono>

#include "app/callbacks.h"
#include "app/effect_keys.h"
#include "app/startup.h"
#include "effects/effect_programs.h"

namespace {

// Rounds of window events that let the X server map the window before the first frame.
constexpr int kMappingRounds = 20;

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
    for (int round = 0; round < kMappingRounds; ++round) glutMainLoopEvent();
    return true;
}

void chooseEffect(int mode) {
    effectParameters.mode = mode;
    effectParameters.program = effectPrograms[mode];
}

void drawFrame() {
    display();
    glFinish();
}

Screenshot readLastFrame() {
    Screenshot shot;
    shot.width = glutGet(GLUT_WINDOW_WIDTH);
    shot.height = glutGet(GLUT_WINDOW_HEIGHT);
    const size_t row = size_t(shot.width) * 3;
    std::vector<unsigned char> bottomUp(row * size_t(shot.height));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    // Mesa's swap copies the back buffer to the window, so it still holds the frame shown.
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, shot.width, shot.height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    shot.rgb.resize(bottomUp.size());
    for (int y = 0; y < shot.height; ++y) {
        std::copy_n(&bottomUp[size_t(shot.height - 1 - y) * row], row, &shot.rgb[size_t(y) * row]);
    }
    return shot;
}

// Frame time of the eye view beside the viewer's day view it narrows, in real units on a
// 960 x 540 wall of 10 mm (the built-in pictures fitted to it), in the program's 700 x 700
// window: rounds of frames of each view in turn, so both see the same machine load.
//   xvfb-run -a -s "-screen 0 1280x1024x24" ./build/bench/views/eye_view_bench [ROUNDS]
#include <GL/glew.h>
#include <GL/freeglut.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/callbacks.h"
#include "app/core/run_state.h"
#include "app/review/review_views.h"
#include "app/startup.h"
#include "physical/wall_setup.h"

namespace {

constexpr int kFramesARound = 10;

// Milliseconds a frame over one round of `view`, each frame drawn to the end.
double timeRound(int view) {
    chooseReviewView(0, view);
    display();
    glFinish();
    const auto start = std::chrono::steady_clock::now();
    for (int frame = 0; frame < kFramesARound; ++frame) {
        display();
        glFinish();
    }
    const std::chrono::duration<double, std::milli> spent =
        std::chrono::steady_clock::now() - start;
    return spent.count() / kFramesARound;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc >= 2 ? std::max(1, std::atoi(argv[1])) : 9;
    std::freopen("/dev/null", "w", stdout);  // the banner and effect lines
    wallSetup.realUnits = true;
    wallSetup.pitchMetres = 0.01;
    wallSetup.widthLeds = 960;
    wallSetup.heightLeds = 540;
    wallSetup.viewer.distanceMetres = defaultViewerDistanceMetres(wallSetup.pitchMetres);
    int glutArgc = 1;
    if (!startUp(&glutArgc, argv)) return 1;
    std::vector<double> viewer, eye;
    for (int round = 0; round < rounds; ++round) {
        viewer.push_back(timeRound(kReviewViewCount));
        eye.push_back(timeRound(kReviewViewCount + 2));
    }
    std::fprintf(stderr,
                 "ms a frame, median of %d rounds of %d: viewer's day view %.1f, "
                 "eye view %.1f (%.2f x)\n",
                 rounds, kFramesARound, median(viewer), median(eye), median(eye) / median(viewer));
    return 0;
}

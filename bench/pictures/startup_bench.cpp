// Time from process start to the first frame on screen, with the built-in pictures, with one
// small (640 x 480) and with one 6000 x 4000 JPEG photograph given on the command line. Each run is
// a child process that goes through the program's own start-up (decode, window, effect programs,
// scene load with the GPU-built mipmaps, first frame from the GLUT loop); the parent starts it and
// reads back the moments each step ended on the system-wide monotonic clock, so exec and library
// loading count.
//   DISPLAY=:99 ./build-bench/bench/pictures/startup_bench [RUNS]   (from the repository root)
#include <GL/glew.h>
#include <GL/freeglut.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "app/callbacks.h"
#include "app/core/run_state.h"
#include "app/playback/content_files.h"
#include "app/playback/wall_content.h"
#include "app/startup.h"
#include "files/replacement_file.h"
#include "physical/wall_setup.h"
#include "pictures/bmp_encoder.h"
#include "pictures/picture_encoders.h"
#include "tools/sample_pictures/sample_drawing.h"

extern char** environ;

namespace {

constexpr const char* kPhotoPath = "/tmp/glimmer_startup_photo.jpg";
constexpr int kPhotoWidth = 6000, kPhotoHeight = 4000;
constexpr const char* kSmallPhotoPath = "/tmp/glimmer_startup_small_photo.jpg";
constexpr int kSmallPhotoWidth = 640, kSmallPhotoHeight = 480;
constexpr const char* kStepNames[] = {"decode pictures", "window, GL state, GLEW",
                                      "effect programs", "scene load and textures", "first frame"};
constexpr int kStepCount = 5;
constexpr const char* kRealUnits = "--real-units";

double monotonicSeconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) + now.tv_nsec * 1e-9;
}

double firstFrameEnd = 0;

void timedDisplay() {
    display();
    glFinish();
    if (firstFrameEnd == 0) firstFrameEnd = monotonicSeconds();
}

// The child: the program's main up to its first frame, then the moments on standard error.
int runChild(int argc, char** argv) {
    double ends[kStepCount] = {};
    std::vector<std::string> paths(argv + 2, argv + argc);
    std::freopen("/dev/null", "w", stdout);  // the banner and effect lines
    // "--real-units": as --pitch 10 --wall 960x540 sets it up.
    if (!paths.empty() && paths[0] == kRealUnits) {
        paths.erase(paths.begin());
        wallSetup.realUnits = true;
        wallSetup.pitchMetres = 0.01;
        wallSetup.widthLeds = 960;
        wallSetup.heightLeds = 540;
        wallSetup.viewer.distanceMetres = defaultViewerDistanceMetres(wallSetup.pitchMetres);
    }
    std::vector<Content> pictures = openContentFiles(paths);
    if (wallSetup.realUnits) fitContentToWall(pictures, wallSetup);
    ends[0] = monotonicSeconds();
    StartupOptions options;
    options.contents = &pictures;
    options.stepDone = [&ends](StartupStep step) { ends[int(step) + 1] = monotonicSeconds(); };
    int glutArgc = 1;
    if (!startUp(&glutArgc, argv, options)) return 1;
    glutDisplayFunc(timedDisplay);
    while (firstFrameEnd == 0) glutMainLoopEvent();
    ends[4] = firstFrameEnd;
    for (double end : ends) std::fprintf(stderr, "%.6f\n", end);
    return 0;
}

// Runs one child and returns the step ends relative to the moment before it was spawned.
std::vector<double> runOnce(const char* self, const std::vector<std::string>& pictures) {
    std::vector<std::string> arguments = {self, "--child"};
    arguments.insert(arguments.end(), pictures.begin(), pictures.end());
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 2);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    const double started = monotonicSeconds();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, self, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    std::string text;
    char buffer[512];
    for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) text.append(buffer, n);
    close(pipeEnds[0]);
    int status = 0;
    if (spawned == 0) waitpid(child, &status, 0);
    std::vector<double> ends;
    const char* line = text.c_str();
    for (char* next = nullptr;; line = next) {
        const double end = std::strtod(line, &next);
        if (next == line) break;
        ends.push_back(end - started);
    }
    return ends.size() == kStepCount ? ends : std::vector<double>{};
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::string(argv[1]) == "--child") return runChild(argc, argv);
    const int runs = argc >= 2 ? std::max(1, std::atoi(argv[1])) : 5;
    const auto photo = photoLikeRgb(kPhotoWidth, kPhotoHeight);
    const auto smallPhoto = photoLikeRgb(kSmallPhotoWidth, kSmallPhotoHeight);
    if (!writeFileBytes(kPhotoPath, encodeJpeg(kPhotoWidth, kPhotoHeight, photo.data(), 90)) ||
        !writeFileBytes(kSmallPhotoPath,
                        encodeJpeg(kSmallPhotoWidth, kSmallPhotoHeight, smallPhoto.data(), 90))) {
        std::fprintf(stderr, "startup_bench: cannot write the photographs in /tmp\n");
        return 1;
    }
    // The built-in pictures and the two photographs, then the first two with the wall in real
    // units (each picture fitted to its 960 x 540 LEDs).
    const std::vector<std::string> cases[] = {
        {}, {kSmallPhotoPath}, {kPhotoPath}, {kRealUnits}, {kRealUnits, kPhotoPath}};
    constexpr int kCaseCount = 5;
    std::vector<std::vector<double>> ends[kCaseCount];
    for (int run = 0; run < runs; ++run)  // alternating, so all see the same machine load
        for (int c = 0; c < kCaseCount; ++c) {
            std::vector<double> run_ends = runOnce(argv[0], cases[c]);
            if (run_ends.empty()) {
                std::fprintf(stderr, "startup_bench: a run failed\n");
                return 1;
            }
            ends[c].push_back(run_ends);
        }
    std::printf("Milliseconds from process start, median of %d runs\n", runs);
    std::printf("%-28s %12s %16s %16s %12s %16s\n", "step ends", "built-in", "640x480 JPEG",
                "6000x4000 JPEG", "real units", "real units JPEG");
    for (int step = 0; step < kStepCount; ++step) {
        double medians[kCaseCount];
        for (int c = 0; c < kCaseCount; ++c) {
            std::vector<double> values;
            for (const auto& run : ends[c]) values.push_back(run[step]);
            medians[c] = median(values) * 1e3;
        }
        std::printf("%-28s %12.1f %16.1f %16.1f %12.1f %16.1f\n", kStepNames[step], medians[0],
                    medians[1], medians[2], medians[3], medians[4]);
    }
    return 0;
}

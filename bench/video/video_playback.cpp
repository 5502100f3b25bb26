// A video played live by the real program, as a user watches it: how long after its window
// opens the video's first frame is on screen, and how many frames it drops over a run in a
// chosen effect. The program runs as a child with --stats; its window is read and typed into
// over X, and closed at the end, when the program prints its totals.
//   xvfb-run -a -s "-screen 0 1280x1024x24" ./build-bench/video_playback PROGRAM CLIP 60 bbb
// (PROGRAM: ./build-bench/glimmerboard; "bbb" chooses Billboard IV.)
// The clip's first frame should be red, so that it can be told from the scene around it.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "tests/support/x_keys.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

bool isRed(const unsigned char rgb[3]) {
    return rgb[0] > 128 && rgb[1] < 100 && rgb[2] < 100;
}

// The last statistics line the program printed for the clip: "<name>: N shown, M dropped".
bool lastTotals(const std::string& errorText, unsigned long long& shown,
                unsigned long long& dropped) {
    std::istringstream lines(errorText);
    bool found = false;
    for (std::string line; std::getline(lines, line);) {
        const std::size_t colon = line.rfind(": ");
        if (colon == std::string::npos) continue;
        unsigned long long a = 0, b = 0;
        if (std::sscanf(line.c_str() + colon, ": %llu shown, %llu dropped", &a, &b) == 2) {
            shown = a;
            dropped = b;
            found = true;
        }
    }
    return found;
}

std::string textOf(const std::string& path) {
    std::ifstream file(path);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s PROGRAM CLIP SECONDS [KEYS]\n", argv[0]);
        return 2;
    }
    const std::string errorPath = "/tmp/video_playback_" + std::to_string(getpid()) + ".txt";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    char stats[] = "--stats";
    char* childArguments[] = {argv[1], stats, argv[2], nullptr};
    pid_t child = 0;
    const Clock::time_point spawned = Clock::now();
    if (posix_spawn(&child, argv[1], &actions, nullptr, childArguments, environ) != 0) {
        std::perror("posix_spawn");
        return 1;
    }

    // The window counts as open once its pixels can be read; the frame as shown once the
    // middle of the window is red (a clip that never shows red is not timed, after 3 s).
    unsigned char rgb[3] = {};
    double windowOpen = -1, firstFrame = -1;
    while (millisecondsSince(spawned) < 20000 && firstFrame < 0 &&
           (windowOpen < 0 || millisecondsSince(spawned) < windowOpen + 3000)) {
        const bool readable = testsupport::readChildWindowPixel(350, 350, rgb);
        if (readable && windowOpen < 0) windowOpen = millisecondsSince(spawned);
        if (readable && isRed(rgb)) firstFrame = millisecondsSince(spawned);
        std::this_thread::sleep_for(1ms);
    }
    if (firstFrame >= 0) {
        std::printf("window readable %.0f ms after start, first frame %.0f ms after that\n",
                    windowOpen, firstFrame - windowOpen);
    }

    // The run is counted from the last totals printed before the keys, once the first are out:
    // the video's start (its first frames, the programs' first use) is not what the keys time.
    unsigned long long shownBefore = 0, droppedBefore = 0;
    const Clock::time_point waiting = Clock::now();
    while (!lastTotals(textOf(errorPath), shownBefore, droppedBefore) &&
           millisecondsSince(waiting) < 5000)
        std::this_thread::sleep_for(10ms);
    if (argc > 4) testsupport::typeIntoChildWindow(argv[4]);
    std::this_thread::sleep_for(std::chrono::duration<double>(std::atof(argv[3])));
    testsupport::closeChildWindow();
    int status = 0;
    const Clock::time_point closing = Clock::now();
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (millisecondsSince(closing) > 10000) kill(child, SIGTERM);
        std::this_thread::sleep_for(10ms);
    }
    const std::string errorText = textOf(errorPath);
    std::remove(errorPath.c_str());
    unsigned long long shown = 0, dropped = 0;
    if (!lastTotals(errorText, shown, dropped)) {
        std::fprintf(stderr, "no statistics line:\n%s", errorText.c_str());
        return 1;
    }
    // Where the drops fell: the once-a-second totals that rose, counted from the start.
    std::istringstream lines(errorText);
    unsigned long long second = 0, droppedSoFar = 0;
    for (std::string line; std::getline(lines, line);) {
        unsigned long long lineShown = 0, lineDropped = 0;
        if (!lastTotals(line, lineShown, lineDropped)) continue;
        ++second;
        if (lineDropped > droppedSoFar)
            std::printf("  %llu dropped by report %llu\n", lineDropped - droppedSoFar, second);
        droppedSoFar = lineDropped;
    }
    shown -= shownBefore;
    dropped -= droppedBefore;
    std::printf("%llu shown, %llu dropped (%.2f%%) in the %s s after the keys\n", shown, dropped,
                shown + dropped ? 100.0 * dropped / double(shown + dropped) : 0.0, argv[3]);
    return 0;
}

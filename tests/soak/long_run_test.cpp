// The real program kept running: keys take it through every effect, picture and preset view at
// a series of window sizes (1 x 1, very wide, very tall), the blinking sign draws frame after
// frame (thousands of frames in all), and the whole tour is made three times. Its resident memory
// after the first tour must not grow in the later ones, and closing the window must end it cleanly:
// in the sanitizer build that exit runs the leak check, and any report fails the test.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/process.h"
#include "tests/support/x_keys.h"

namespace {

struct WindowSize {
    int width, height;
};
constexpr WindowSize kWindowSizes[] = {{700, 700}, {1, 1}, {3000, 2}, {2, 3000}, {160, 90}};
constexpr int kTours = 3;

// How long the neon sign draws continuously at each size of a tour.
constexpr auto kSignTime = std::chrono::milliseconds(700);

// The driver's heads-up display, kept invisible, writes the frame rate of every period to a
// file; the rates times the period add up to the frames drawn.
constexpr double kRatePeriodSeconds = 0.1;
constexpr int kLeastFrames = 3000;

// Allowed growth of resident memory from the end of the first tour to the end of the last.
// Between tours the driver's shader variants and the allocator's arenas move it by up to about
// 4 MiB either way without any trend (seen over seven tours); a leak of half a kilobyte a frame
// would add more than this over the later tours (about 25,000 frames in the plain build).
constexpr long kAllowedGrowthKiB = 8192;

// Keys of one pass at a window size: each effect on each of the six pictures, then the day and
// the night view with each effect on both of their pictures, then back to the normal view (the
// reset) on picture 0.
std::string tourKeys() {
    std::string keys;
    for (int effect = 0; effect < 4; ++effect) keys += "ttttttb";
    keys += "1tbtbtbtb2tbtbtbtb2";
    return keys;
}

// The child this process started, found among /proc's processes by parent.
pid_t childPid() {
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        std::getline(stat, line);
        const std::size_t close = line.rfind(')');
        if (close == std::string::npos) continue;
        char state = 0;
        long parent = 0;
        if (std::sscanf(line.c_str() + close + 1, " %c %ld", &state, &parent) == 2 &&
            parent == getpid()) {
            return static_cast<pid_t>(std::stol(name));
        }
    }
    return 0;
}

long residentKiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    }
    return -1;
}

// Number of camera printouts (key "l") so far: each one marks that every key typed before it
// has been handled.
int marks(const std::string& output) {
    int count = 0;
    for (std::size_t at = output.find("\tup "); at != std::string::npos;
         at = output.find("\tup ", at + 1)) {
        ++count;
    }
    return count;
}

double framesDrawn(const std::filesystem::path& rateFolder) {
    std::ifstream rates(rateFolder / "fps");
    double frames = 0;
    for (double rate; rates >> rate;) frames += rate * kRatePeriodSeconds;
    return frames;
}

// A sanitizer build keeps freed blocks in quarantine; a small one fills in the first tour, so
// that later tours show the program's own growth.
std::string sanitizerOptions() {
    const char* inherited = std::getenv("ASAN_OPTIONS");
    return std::string("ASAN_OPTIONS=") + (inherited ? inherited : "") +
           ":quarantine_size_mb=8:thread_local_quarantine_size_kb=64";
}

}  // namespace

TEST(LongRunTest, EveryViewAtEverySizeLeavesMemoryFlatAndExitsClean) {
    // The driving runs on its own thread; the process helper collects the output meanwhile.
    std::string output;
    std::mutex outputLock;
    // Waits until the output so far passes test; false after a minute without.
    auto waitFor = [&](auto test) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (std::chrono::steady_clock::now() < deadline) {
            {
                std::lock_guard<std::mutex> hold(outputLock);
                if (test(output)) return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    };

    std::vector<long> residentAfterTour;
    auto drive = [&] {
        // Start-up is over once the first effect's lines, ending with an empty line, are out.
        const bool started = waitFor([](const std::string& text) {
            return text.find("pixelSize = ") != std::string::npos && text.size() >= 2 &&
                   text.compare(text.size() - 2, 2, "\n\n") == 0;
        });
        if (!started) return false;
        const pid_t pid = childPid();
        int expected = 0;
        auto step = [&](const std::string& keys) {
            ++expected;
            return testsupport::typeIntoChildWindow(keys + "l") &&
                   waitFor([&](const std::string& text) { return marks(text) >= expected; });
        };
        for (int tour = 0; tour < kTours; ++tour) {
            for (const WindowSize& size : kWindowSizes) {
                if (!testsupport::resizeChildWindow(size.width, size.height)) return false;
                if (!step(tourKeys())) return false;
                // Picture 5 is the neon sign, which redraws itself continuously.
                if (!step("ttttt")) return false;
                std::this_thread::sleep_for(kSignTime);
                if (!step("t")) return false;
            }
            residentAfterTour.push_back(residentKiB(pid));
        }
        return testsupport::closeChildWindow();
    };
    bool driven = false;
    std::thread driver([&] {
        driven = drive();
        if (!driven) kill(childPid(), SIGTERM);
    });

    const std::filesystem::path rateFolder =
        std::filesystem::path(testing::TempDir()) / ("long-run-" + std::to_string(getpid()));
    std::filesystem::create_directories(rateFolder);
    testsupport::ProcessOptions options;
    options.timeoutSeconds = 100;
    options.environment = {sanitizerOptions(), "GALLIUM_HUD=fps", "GALLIUM_HUD_VISIBLE=false",
                           "GALLIUM_HUD_PERIOD=" + std::to_string(kRatePeriodSeconds),
                           "GALLIUM_HUD_DUMP_DIR=" + rateFolder.string()};
    options.stopWhen = [&](const std::string& text) {
        std::lock_guard<std::mutex> hold(outputLock);
        output = text;
        return false;
    };
    const testsupport::ProcessResult result =
        testsupport::runProcess(testsupport::programPath(), options);
    driver.join();

    ASSERT_TRUE(driven) << "the program's window could not be driven; output:\n" << result.output;
    EXPECT_EQ(result.exitStatus, 0) << result.errorText;
    EXPECT_EQ(result.errorText, "");
    EXPECT_GT(framesDrawn(rateFolder), kLeastFrames);
    std::filesystem::remove_all(rateFolder);
    ASSERT_EQ(residentAfterTour.size(), std::size_t{kTours});
    EXPECT_LT(residentAfterTour.back() - residentAfterTour.front(), kAllowedGrowthKiB)
        << "resident KiB after the first tour " << residentAfterTour.front() << ", after the last "
        << residentAfterTour.back();
}

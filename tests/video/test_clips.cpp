#include "tests/video/test_clips.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "tests/support/process.h"
#include "video/clip_writer.h"

namespace testclips {

std::string writeColourClip(const std::string& path, int width, int height, double fps,
                            int frameCount) {
    ClipWriter writer;
    if (!writer.open(path, width, height, fps)) return writer.error();
    std::vector<std::uint8_t> rgb(std::size_t(width) * height * 3);
    for (int k = 0; k < frameCount; ++k) {
        const auto& colour = kColours[k % kColours.size()];
        for (std::size_t i = 0; i < rgb.size(); i += 3) {
            rgb[i] = colour[0];
            rgb[i + 1] = colour[1];
            rgb[i + 2] = colour[2];
        }
        if (!writer.addFrame(rgb.data())) return writer.error();
    }
    return writer.finish() ? "" : writer.error();
}

int nearestColour(const std::uint8_t* pixel) {
    int best = 0;
    int bestDistance = 1 << 30;
    for (int i = 0; i < static_cast<int>(kColours.size()); ++i) {
        int distance = 0;
        for (int c = 0; c < 3; ++c) {
            const int d = pixel[c] - kColours[i][c];
            distance += d * d;
        }
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

bool runFfmpeg(const std::vector<std::string>& arguments) {
    testsupport::ProcessOptions options;
    options.arguments = {"-nostdin", "-hide_banner", "-loglevel", "error", "-y"};
    options.arguments.insert(options.arguments.end(), arguments.begin(), arguments.end());
    const testsupport::ProcessResult result =
        testsupport::runProcess(GLIMMER_FFMPEG_COMMAND, options);
    if (result.exitStatus != 0) std::fprintf(stderr, "ffmpeg: %s", result.errorText.c_str());
    return result.exitStatus == 0;
}

std::uint64_t residentBytes() {
    std::ifstream statm("/proc/self/statm");
    std::uint64_t size = 0, resident = 0;
    statm >> size >> resident;
    return resident * static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
}

}  // namespace testclips

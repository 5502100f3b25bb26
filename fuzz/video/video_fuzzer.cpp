// libFuzzer target for the video path: any bytes as a whole file in memory (a custom
// AVIOContext), through the probe, the demuxer and the decoder it finds, and the conversion to
// RGB, RGBA or planes at a size taken from the input, frame by frame to the end, then once more
// after a rewind.
// Every frame's bytes are read so the sanitizers see a short buffer. The corpus is a few tiny
// clips that ffmpeg made from its test pattern (see make_corpus.sh).
//   CXX=clang++ CC=clang cmake -S . -B build-fuzz -DGLIMMER_FUZZ=ON
//   cmake --build build-fuzz --target video_fuzzer
//   build-fuzz/fuzz/video_fuzzer -max_total_time=600 fuzz/video/corpus
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "frames/mipmap_chain.h"
#include "video/video_input.h"

namespace {

// Small frames keep each input fast; larger ones only take the same paths longer.
constexpr VideoLimits kFuzzLimits{std::uint64_t{1} << 16};
// Frames read per pass: enough to reach damage well inside a short clip.
constexpr int kFramesPerPass = 48;

// As the video source reads them when channels is 4: RGBA, with the mipmap levels worked out
// band by band as the frame is converted.
void readFrames(VideoInput& input, int channels) {
    const int width = input.outputWidth(), height = input.outputHeight();
    const std::size_t frameBytes = std::size_t(channels) * width * height;
    std::vector<std::uint8_t> rgb(frameBytes + mipmapChainBytes(width, height, channels));
    double seconds = 0, previous = -1;
    for (int i = 0; i < kFramesPerPass; ++i) {
        MipmapChainWriter mipmaps(rgb.data(), width, height, rgb.data() + frameBytes, channels);
        const VideoRead read = input.readFrame(
            rgb.data(), seconds, [&](int first, int count) { mipmaps.rowsDone(first, count); });
        if (read != VideoRead::frame) return;
        mipmaps.finish();
        // Times only go forwards, however damaged the timestamps.
        if (!(seconds > previous) || !(seconds >= 0)) std::abort();
        previous = seconds;
        volatile unsigned sum = 0;
        for (const std::uint8_t byte : rgb) sum = sum + byte;
    }
}

// As the video source reads frames kept as planes, their levels included.
void readPlanes(VideoInput& input) {
    std::vector<std::uint8_t> frame(
        planarFrameLayout(input.outputWidth(), input.outputHeight()).bytes);
    double seconds = 0, previous = -1;
    YuvColours colours;
    for (int i = 0; i < kFramesPerPass; ++i) {
        if (input.readPlanes(frame.data(), seconds, colours) != VideoRead::frame) return;
        if (!(seconds > previous) || !(seconds >= 0)) std::abort();
        previous = seconds;
        volatile unsigned sum = 0;
        for (const std::uint8_t byte : frame) sum = sum + byte;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    VideoInput input;
    const LoadOutcome outcome = input.openBytes({data, size}, kFuzzLimits);
    if (!outcome.ok()) {
        if (outcome.reason.empty()) std::abort();
        return 0;
    }
    if (input.width() <= 0 || input.height() <= 0 ||
        std::uint64_t(input.width()) * input.height() > kFuzzLimits.maxPixelCount ||
        !(input.frameRate() > 0)) {
        std::abort();
    }
    // An output size from the input, so the conversion meets shrinking of every ratio.
    const int side = 1 + data[size - 1] % 40;
    input.setOutputSize(std::min(input.width(), side), std::min(input.height(), side + 3));
    const int mode = size > 1 ? data[size - 2] % 3 : 0;
    if (mode == 2 && input.planesSuit()) {
        readPlanes(input);
        if (input.rewind()) readPlanes(input);
        return 0;
    }
    const int channels = mode == 1 ? 4 : 3;
    input.setOutputChannels(channels);
    readFrames(input, channels);
    if (input.rewind()) readFrames(input, channels);
    return 0;
}

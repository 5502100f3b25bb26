// Decodes a 6000 x 4000 photo-like picture stored as PNG and as JPEG with decodePicture and
// with the peer decoder in the same run, both from bytes already in memory, both to 8-bit RGB.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include <stb/stb_image.h>

#include "pictures/picture_decoder.h"
#include "pictures/picture_encoders.h"
#include "tools/sample_pictures/sample_drawing.h"

namespace {

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;

const std::vector<std::uint8_t>& file(bool png) {
    static const auto files = [] {
        const auto rgb = photoLikeRgb(kWidth, kHeight);
        return std::pair{encodePng(kWidth, kHeight, 3, rgb.data()),
                         encodeJpeg(kWidth, kHeight, rgb.data(), 90)};
    }();
    return png ? files.first : files.second;
}

void finish(benchmark::State& state, bool png) {
    state.SetBytesProcessed(state.iterations() * std::int64_t{kWidth} * kHeight * 3);
    state.counters["file_MB"] = static_cast<double>(file(png).size()) / 1e6;
}

void decodePictureFromMemory(benchmark::State& state) {
    const bool png = state.range(0) != 0;
    const auto& bytes = file(png);
    for (auto _ : state) {
        Picture picture;
        if (!decodePicture(bytes, picture).ok()) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(picture.frames.data());
    }
    finish(state, png);
}

void stbImageFromMemory(benchmark::State& state) {
    const bool png = state.range(0) != 0;
    const auto& bytes = file(png);
    for (auto _ : state) {
        int width = 0, height = 0, channels = 0;
        stbi_uc* pixels = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()),
                                                &width, &height, &channels, 3);
        if (pixels == nullptr) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(pixels);
        stbi_image_free(pixels);
    }
    finish(state, png);
}

}  // namespace

// Argument 1: the PNG file, 0: the JPEG file.
BENCHMARK(decodePictureFromMemory)->ArgName("png")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(stbImageFromMemory)->ArgName("png")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();

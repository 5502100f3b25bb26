// Decodes a 6000 x 4000 photo-like picture stored as PNG and as JPEG with decodePicture and
// with the peer decoder in the same run, both from bytes already in memory, both to 8-bit RGB.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include <stb/stb_image.h>

#include "image/picture_decoder.h"
#include "image/picture_encoders.h"

namespace {

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;

// Smooth light over large shapes with fine texture and sensor-like noise: compresses as a
// photograph does (neither flat nor random).
std::vector<std::uint8_t> photoLike() {
    std::vector<std::uint8_t> rgb(std::size_t{3} * kWidth * kHeight);
    std::uint32_t state = 2024;
    std::size_t i = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            state = state * 1664525u + 1013904223u;
            const float noise = static_cast<float>(state >> 28) - 7.5f;
            const float u = x / float(kWidth), v = y / float(kHeight);
            const float shape = std::sin(u * 9.0f + std::sin(v * 7.0f) * 2.0f) * 0.5f + 0.5f;
            const float texture = std::sin(x * 0.31f) * std::sin(y * 0.27f) * 12.0f;
            const float base[3] = {200 * v + 40 * shape, 90 + 120 * shape * u, 180 - 100 * v};
            for (float channel : base) {
                const float value = channel + texture + noise;
                rgb[i++] = static_cast<std::uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
            }
        }
    }
    return rgb;
}

const std::vector<std::uint8_t>& file(bool png) {
    static const auto files = [] {
        const auto rgb = photoLike();
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

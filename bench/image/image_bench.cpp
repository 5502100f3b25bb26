// Decodes 4096 x 4096 pictures, 24-bit and 8-bit palette, with loadDibImage and with the peer
// decoder in the same run: from a file (as the program loads) and from memory (decoding only).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <array>
#include <string>

#include <stb/stb_image.h>

#include "image/bmp_encoder.h"
#include "image/dib_decoder.h"
#include "image/dib_image.h"

namespace {

constexpr int kSide = 4096;

// A noisy picture, so neither decoder meets long runs of equal bytes.
std::vector<std::uint8_t> noise(std::size_t count) {
    std::vector<std::uint8_t> bytes(count);
    std::uint32_t state = 12345;
    for (std::uint8_t& byte : bytes) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<std::uint8_t>(state >> 24);
    }
    return bytes;
}

struct Picture {
    std::string path;
    std::vector<std::uint8_t> bytes;
};

const Picture& picture(int bits) {
    static const std::array<Picture, 2> pictures = [] {
        Picture rgb{"/tmp/glimmer_bench_24.bmp", {}}, indexed{"/tmp/glimmer_bench_8.bmp", {}};
        const auto pixels = noise(std::size_t{3} * kSide * kSide);
        rgb.bytes = encodeBmp24(kSide, kSide, pixels.data());
        IndexedPicture palette;
        palette.width = palette.height = kSide;
        palette.indices = noise(std::size_t{kSide} * kSide);
        const auto colors = noise(256 * 3);
        for (int i = 0; i < 256; ++i)
            palette.palette.push_back({colors[3 * i], colors[3 * i + 1], colors[3 * i + 2]});
        indexed.bytes = encodeBmpIndexed(palette, 8);
        writeFileBytes(rgb.path.c_str(), rgb.bytes);
        writeFileBytes(indexed.path.c_str(), indexed.bytes);
        return std::array<Picture, 2>{rgb, indexed};
    }();
    return pictures[bits == 24 ? 0 : 1];
}

// Times decode(picture) -> pixels, then release(pixels); both decoders' results are RGB.
template <typename Decode, typename Release>
void timeDecoder(benchmark::State& state, Decode decode, Release release) {
    const Picture& source = picture(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto* pixels = decode(source);
        if (pixels == nullptr) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(pixels);
        release(pixels);
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t{kSide} * kSide * 3);
}

void loadDibImageFromFile(benchmark::State& state) {
    timeDecoder(
        state, [](const Picture& source) { return loadDibImage(source.path.c_str()); },
        freeRgbImage);
}

void stbImageFromFile(benchmark::State& state) {
    timeDecoder(
        state,
        [](const Picture& source) {
            int width = 0, height = 0, channels = 0;
            return stbi_load(source.path.c_str(), &width, &height, &channels, 3);
        },
        stbi_image_free);
}

void decodeDibFromMemory(benchmark::State& state) {
    timeDecoder(
        state,
        [](const Picture& source) {
            DibStatus status = DibStatus::ok;
            return decodeDib(source.bytes, status);
        },
        freeRgbImage);
}

void stbImageFromMemory(benchmark::State& state) {
    timeDecoder(
        state,
        [](const Picture& source) {
            int width = 0, height = 0, channels = 0;
            return stbi_load_from_memory(source.bytes.data(), static_cast<int>(source.bytes.size()),
                                         &width, &height, &channels, 3);
        },
        stbi_image_free);
}

}  // namespace

BENCHMARK(loadDibImageFromFile)->Arg(24)->Arg(8)->Unit(benchmark::kMillisecond);
BENCHMARK(stbImageFromFile)->Arg(24)->Arg(8)->Unit(benchmark::kMillisecond);
BENCHMARK(decodeDibFromMemory)->Arg(24)->Arg(8)->Unit(benchmark::kMillisecond);
BENCHMARK(stbImageFromMemory)->Arg(24)->Arg(8)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

// Decodes every bench picture from its file with loadDibImage, stb_image and Wuffs in the same
// run, beside a floor that only does what any loader must: map and read the input once, and
// allocate and touch an output buffer of the same size. Ends with a table of time ratios.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include <stb/stb_image.h>

#include "bench/bmp/bench_pictures.h"
#include "bench/bmp/wuffs_peer.h"
#include "bmp/dib_decoder.h"
#include "bmp/dib_image.h"
#include "files/file_mapping.h"

namespace {

constexpr const char* kDecoders[] = {"loadDibImage", "stb_image", "Wuffs", "floor"};

std::size_t loadWithOurs(const BenchPicture& picture) {
    RgbImage* image = loadDibImage(picture.path.c_str());
    if (image == nullptr) return 0;
    const std::size_t bytes = std::size_t{3} * image->width * image->height;
    freeRgbImage(image);
    return bytes;
}

std::size_t loadWithStb(const BenchPicture& picture) {
    int width = 0, height = 0, channels = 0;
    stbi_uc* pixels = stbi_load(picture.path.c_str(), &width, &height, &channels, 3);
    if (pixels == nullptr) return 0;
    stbi_image_free(pixels);
    return std::size_t{3} * width * height;
}

std::size_t loadFloor(const BenchPicture& picture) {
    FileMapping mapping;
    if (!mapping.open(picture.path.c_str())) return 0;
    const auto input = mapping.bytes();
    std::uint64_t sum = 0;
    for (std::size_t at = 0; at + 8 <= input.size(); at += 8) {
        std::uint64_t word;
        std::memcpy(&word, input.data() + at, 8);
        sum += word;
    }
    benchmark::DoNotOptimize(sum);
    auto* output = static_cast<std::uint8_t*>(std::malloc(picture.outputBytes));
    if (output == nullptr) return 0;
    // Not zero: the compiler would turn malloc and a zero fill into calloc, which touches nothing.
    std::memset(output, 0xFF, picture.outputBytes);
    benchmark::DoNotOptimize(output);
    benchmark::ClobberMemory();
    std::free(output);
    return picture.outputBytes;
}

void timeLoad(benchmark::State& state, const BenchPicture& picture, int decoder) {
    for (auto _ : state) {
        std::size_t bytes = 0;
        switch (decoder) {
            case 0:
                bytes = loadWithOurs(picture);
                break;
            case 1:
                bytes = loadWithStb(picture);
                break;
            case 2:
                bytes = decodeWithWuffs(picture.path.c_str());
                break;
            default:
                bytes = loadFloor(picture);
                break;
        }
        if (bytes != picture.outputBytes) {
            state.SkipWithError("decode failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(picture.outputBytes));
}

// Keeps every repetition's time per picture and decoder, for the medians of the ratio table.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            const std::string& name = run.run_name.function_name;
            const std::size_t slash = name.rfind('/');
            Times& times = times_[name.substr(0, slash)][name.substr(slash + 1)];
            times.wall.push_back(run.real_accumulated_time * 1e3 / run.iterations);
            times.cpu.push_back(run.cpu_accumulated_time * 1e3 / run.iterations);
        }
    }

    // One table of wall times and ratios, then the ratios of the process's CPU time (all its
    // threads), which a busy machine disturbs less.
    void printRatios(const std::vector<BenchPicture>& pictures) {
        std::printf(
            "\n| picture | MB out | ours ms | stb_image ms | Wuffs ms | floor ms "
            "| ours/stb | ours/Wuffs | ours/floor | CPU ours/stb | CPU ours/Wuffs "
            "| CPU ours/floor |\n|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|"
            "---:|\n");
        for (const BenchPicture& picture : pictures) {
            const auto found = times_.find(picture.name);
            if (found == times_.end()) continue;
            double wall[4], cpu[4];
            for (int i = 0; i < 4; ++i) {
                wall[i] = medianOf(found->second[kDecoders[i]].wall);
                cpu[i] = medianOf(found->second[kDecoders[i]].cpu);
            }
            std::printf("| %s | %.1f |", picture.name.c_str(), picture.outputBytes / 1e6);
            for (double value : wall) printCell(value);
            for (int i = 1; i < 4; ++i) printCell(wall[0] / wall[i]);
            for (int i = 1; i < 4; ++i) printCell(cpu[0] / cpu[i]);
            std::printf("\n");
        }
    }

  private:
    static double medianOf(std::vector<double> values) {
        if (values.empty()) return 0;
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    }
    // A decoder that cannot read a picture (or was filtered out) shows as n/a.
    static void printCell(double value) {
        std::printf(" ");
        if (value > 0 && value < 1e300) {
            std::printf("%.2f", value);
        } else {
            std::printf("n/a");
        }
        std::printf(" |");
    }

    struct Times {
        std::vector<double> wall, cpu;  // milliseconds per load, one per repetition
    };
    std::map<std::string, std::map<std::string, Times>> times_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const std::vector<BenchPicture>& pictures = benchPictures();
    for (const BenchPicture& picture : pictures) {
        for (int decoder = 0; decoder < 4; ++decoder) {
            const std::string name = picture.name + "/" + kDecoders[decoder];
            benchmark::RegisterBenchmark(name.c_str(), timeLoad, picture, decoder)
                ->Unit(benchmark::kMillisecond)
                ->MeasureProcessCPUTime()
                ->UseRealTime();
        }
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios(pictures);
    benchmark::Shutdown();
    return 0;
}

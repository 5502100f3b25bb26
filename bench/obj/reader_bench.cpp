// Load speed and peak memory of the model reader (createFile: reading, vertex sharing, normals,
// tangents, surface order) against tinyobjloader, fast_obj and rapidobj on every generated
// model shape. Each loader runs in a child process of its own, so that its peak resident
// memory is its own. Prints one markdown table of figures and one of ratios.
//   obj_reader_bench [faces] [repeats] [shape...]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/obj/model_shapes.h"
#include "bench/obj/peer_loaders.h"
#include "obj/obj.h"

namespace {

double seconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

// One load with our reader; returns the triangle count it found.
long loadWithCreateFile(const std::string& path) {
    int fi = obj::createFile(path.c_str());
    long triangles = 0;
    for (int si = 0; si < obj::surfaceCount(fi); ++si) triangles += obj::polygonCount(fi, si);
    obj::deleteFile(fi);
    return triangles;
}

struct Loader {
    const char* name;
    long (*load)(const std::string&);
};

constexpr Loader kLoaders[] = {
    {"createFile", loadWithCreateFile},
    {"tinyobjloader", peers::loadWithTinyobjloader},
    {"fast_obj", peers::loadWithFastObj},
    {"rapidobj", peers::loadWithRapidobj},
};
constexpr int kLoaderCount = sizeof kLoaders / sizeof kLoaders[0];

struct Result {
    double best = 0;  // fastest load, seconds
    long triangles = 0;
    long peakKib = 0;       // peak resident memory of the child
    double cpuPerLoad = 0;  // user and system seconds of the child per load
};

// Runs the loader `repeats` times in a child process and reports the fastest load.
Result measure(const Loader& loader, const std::string& path, int repeats) {
    int channel[2];
    if (pipe(channel) != 0) std::exit(1);
    pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        Result result;
        result.best = 1e30;
        for (int k = 0; k < repeats; ++k) {
            double start = seconds();
            result.triangles = loader.load(path);
            result.best = std::min(result.best, seconds() - start);
        }
        if (write(channel[1], &result, sizeof result) != sizeof result) _exit(1);
        _exit(0);
    }
    close(channel[1]);
    Result result;
    if (read(channel[0], &result, sizeof result) != sizeof result) std::exit(1);
    close(channel[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    result.peakKib = usage.ru_maxrss;
    double cpu = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
                 usage.ru_stime.tv_usec / 1e6;
    result.cpuPerLoad = cpu / repeats;
    return result;
}

// Writes the shape into folder as model.obj beside its library; returns the model's bytes.
long writeShape(const std::string& folder, const std::string& shape, int faces) {
    std::string path = folder + "/model.obj";
    std::FILE* obj = std::fopen(path.c_str(), "wb");
    std::FILE* mtl = std::fopen((folder + "/shapes.mtl").c_str(), "wb");
    if (!obj || !mtl || !modelshapes::writeModelShape(shape, faces, obj, mtl)) {
        std::fprintf(stderr, "cannot write the %s model in %s\n", shape.c_str(), folder.c_str());
        std::exit(1);
    }
    long bytes = std::ftell(obj);
    std::fclose(obj);
    std::fclose(mtl);
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    int faces = argc > 1 ? std::atoi(argv[1]) : 1000000;
    int repeats = argc > 2 ? std::atoi(argv[2]) : 3;
    std::vector<std::string> shapes;
    for (int k = 3; k < argc; ++k) shapes.push_back(argv[k]);
    if (shapes.empty()) {
        for (const auto& shape : modelshapes::modelShapes()) shapes.push_back(shape.name);
    }
    char pattern[] = "/tmp/glimmer-reader-bench-XXXXXX";
    if (!mkdtemp(pattern)) return 1;
    const std::string folder = pattern;

    struct Row {
        std::string shape;
        long bytes;
        Result results[kLoaderCount];
    };
    std::vector<Row> rows;
    std::printf("| model | MB | loader | seconds | cpu s | MB/s | peak MiB | triangles |\n");
    std::printf("|---|---:|---|---:|---:|---:|---:|---:|\n");
    for (const std::string& shape : shapes) {
        Row row{shape, writeShape(folder, shape, faces), {}};
        for (int k = 0; k < kLoaderCount; ++k) {
            Result& result = row.results[k];
            result = measure(kLoaders[k], folder + "/model.obj", repeats);
            std::printf("| %s | %.1f | %s | %.3f | %.3f | %.1f | %.1f | %ld |\n", shape.c_str(),
                        row.bytes / 1e6, kLoaders[k].name, result.best, result.cpuPerLoad,
                        row.bytes / 1e6 / result.best, result.peakKib / 1024.0, result.triangles);
            std::fflush(stdout);
        }
        rows.push_back(row);
    }
    std::filesystem::remove_all(folder);

    // Ratios of createFile to each peer: time (below 1 is faster), CPU time (steadier on a
    // shared machine; rapidobj's counts both its threads) and peak memory.
    std::printf(
        "\n| model | time / tinyobjloader | time / fast_obj | time / rapidobj | "
        "cpu / tinyobjloader | cpu / fast_obj | peak / tinyobjloader |\n"
        "|---|---:|---:|---:|---:|---:|---:|\n");
    for (const Row& row : rows) {
        const Result* r = row.results;
        std::printf("| %s | %.2f | %.2f | %.2f | %.2f | %.2f | %.2f |\n", row.shape.c_str(),
                    r[0].best / r[1].best, r[0].best / r[2].best, r[0].best / r[3].best,
                    r[0].cpuPerLoad / r[1].cpuPerLoad, r[0].cpuPerLoad / r[2].cpuPerLoad,
                    static_cast<double>(r[0].peakKib) / r[1].peakKib);
    }
    return 0;
}

// Load speed and peak memory of the model reader (createFile: reading, vertex sharing, normals,
// tangents, surface order) against tinyobjloader on the same generated model: a grid of at
// least a million triangles with positions, texture coordinates and normals. Each loader runs
// in a child process of its own, so that its peak resident memory is its own.
//   obj_reader_bench [triangles] [repeats]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <tiny_obj_loader.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "obj/obj.h"

namespace {

// The grid model: side x side quads, each written as two triangle faces.
std::string writeGrid(int triangles, long* bytes) {
    int side = static_cast<int>(std::ceil(std::sqrt(triangles / 2.0)));
    char path[] = "/tmp/glimmer-bench-XXXXXX.obj";
    int descriptor = mkstemps(path, 4);
    if (descriptor < 0) std::exit(1);
    std::FILE* out = fdopen(descriptor, "w");
    const int row = side + 1;
    for (int y = 0; y <= side; ++y) {
        for (int x = 0; x <= side; ++x) {
            float u = static_cast<float>(x) / side;
            float v = static_cast<float>(y) / side;
            std::fprintf(out, "v %.6f %.6f %.6f\n", u * 10 - 5, v * 10 - 5,
                         0.25f * std::sin(u * 20) * std::cos(v * 20));
        }
    }
    for (int y = 0; y <= side; ++y) {
        for (int x = 0; x <= side; ++x) {
            std::fprintf(out, "vt %.6f %.6f\n", static_cast<float>(x) / side,
                         static_cast<float>(y) / side);
        }
    }
    for (int y = 0; y <= side; ++y) {
        for (int x = 0; x <= side; ++x) {
            float u = static_cast<float>(x) / side;
            float nz = 1 / std::sqrt(1 + 0.1f * u * u);
            std::fprintf(out, "vn %.6f %.6f %.6f\n", 0.3162f * u * nz, 0.0f, nz);
        }
    }
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            int a = y * row + x + 1;
            int b = a + 1;
            int c = a + row + 1;
            int d = a + row;
            std::fprintf(out, "f %d/%d/%d %d/%d/%d %d/%d/%d\n", a, a, a, b, b, b, c, c, c);
            std::fprintf(out, "f %d/%d/%d %d/%d/%d %d/%d/%d\n", a, a, a, c, c, c, d, d, d);
        }
    }
    *bytes = std::ftell(out);
    std::fclose(out);
    std::printf("model: %s, %d triangles, %d vertices, %.1f MB\n", path, 2 * side * side, row * row,
                *bytes / 1e6);
    return path;
}

double seconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

// One load with our reader; returns the triangle count it found.
long loadOurs(const std::string& path) {
    int fi = obj::createFile(path.c_str());
    long triangles = 0;
    for (int si = 0; si < obj::surfaceCount(fi); ++si) triangles += obj::polygonCount(fi, si);
    obj::deleteFile(fi);
    return triangles;
}

long loadPeer(const std::string& path) {
    tinyobj::ObjReaderConfig config;
    config.triangulate = true;
    tinyobj::ObjReader reader;
    if (!reader.ParseFromFile(path, config)) return -1;
    long triangles = 0;
    for (const auto& shape : reader.GetShapes()) triangles += shape.mesh.indices.size() / 3;
    return triangles;
}

struct Result {
    double best = 0;  // fastest load, seconds
    long triangles = 0;
    long peakKib = 0;       // peak resident memory of the child
    double cpuPerLoad = 0;  // user and system seconds of the child per load
};

// Runs the loader `repeats` times in a child process and reports the fastest load.
Result measure(long (*load)(const std::string&), const std::string& path, int repeats) {
    int channel[2];
    if (pipe(channel) != 0) std::exit(1);
    pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        Result result;
        result.best = 1e30;
        for (int k = 0; k < repeats; ++k) {
            double start = seconds();
            result.triangles = load(path);
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

}  // namespace

int main(int argc, char** argv) {
    int triangles = argc > 1 ? std::atoi(argv[1]) : 1000000;
    int repeats = argc > 2 ? std::atoi(argv[2]) : 3;
    long bytes = 0;
    std::string path = writeGrid(triangles, &bytes);
    std::printf("%-16s %10s %10s %12s %10s %12s\n", "loader", "seconds", "cpu s", "MB/s",
                "peak MiB", "triangles");
    struct Loader {
        const char* name;
        long (*load)(const std::string&);
    };
    for (Loader loader : {Loader{"createFile", loadOurs}, Loader{"tinyobjloader", loadPeer}}) {
        Result result = measure(loader.load, path, repeats);
        std::printf("%-16s %10.3f %10.3f %12.1f %10.1f %12ld\n", loader.name, result.best,
                    result.cpuPerLoad, bytes / 1e6 / result.best, result.peakKib / 1024.0,
                    result.triangles);
    }
    std::remove(path.c_str());
    return 0;
}

// Speed of the model store and of model drawing: appending records (amortised constant by
// doubling), deleting vertices with renumbering, and a frame's drawModel of a mesh whose
// vertices were uploaded once, against the same draw from client arrays.
#include <GL/freeglut.h>
#include <benchmark/benchmark.h>

#include "app/glut_window.h"
#include "obj/draw_gl.h"
#include "obj/obj.h"

namespace {

void openWindow() {
    static bool open = false;
    if (open) return;
    open = true;
    int argc = 1;
    char name[] = "objstore_bench";
    char* argv[] = {name, nullptr};
    openGlutWindow(&argc, argv, "objstore_bench", 700, 700);
    glutDisplayFunc([] {});
}

// A grid of side x side quads (two triangles each) in one surface.
int makeGrid(int side) {
    int fi = obj::createFile(nullptr);
    obj::createMaterial(fi);
    for (int y = 0; y <= side; ++y) {
        for (int x = 0; x <= side; ++x) {
            int vi = obj::createVertex(fi);
            const float p[3] = {float(x) / side - 0.5f, float(y) / side - 0.5f, 0};
            const float n[3] = {0, 0, 1};
            obj::setVertexPosition(fi, vi, p);
            obj::setVertexNormal(fi, vi, n);
        }
    }
    int si = obj::createSurface(fi);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            int a = y * (side + 1) + x;
            const int first[3] = {a, a + 1, a + side + 2};
            const int second[3] = {a, a + side + 2, a + side + 1};
            obj::setPolygon(fi, si, obj::createPolygon(fi, si), first);
            obj::setPolygon(fi, si, obj::createPolygon(fi, si), second);
        }
    }
    return fi;
}

void BM_CreateVertices(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        int fi = obj::createFile(nullptr);
        for (int n = 0; n < count; ++n) obj::createVertex(fi);
        obj::deleteFile(fi);
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_CreateVertices)->Arg(1 << 10)->Arg(1 << 16)->Arg(1 << 20);

void BM_DeleteFirstVertexOfGrid(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        int fi = makeGrid(side);
        state.ResumeTiming();
        obj::deleteVertex(fi, 0);
        state.PauseTiming();
        obj::deleteFile(fi);
        state.ResumeTiming();
    }
    state.SetLabel(std::to_string(2 * side * side) + " triangles");
}
BENCHMARK(BM_DeleteFirstVertexOfGrid)->Arg(64)->Arg(256);

void drawGrid(benchmark::State& state, bool vertexBuffers) {
    openWindow();
    obj::forgetGlExtensionProbe();
    obj::setGlExtensionString(vertexBuffers ? nullptr : "GL_ARB_multitexture");
    const int side = static_cast<int>(state.range(0));
    int fi = makeGrid(side);
    obj::drawModel(fi);
    glFinish();
    for (auto _ : state) {
        obj::drawModel(fi);
        glFinish();
    }
    state.SetLabel(std::to_string(2 * side * side) + " triangles");
    obj::deleteFile(fi);
    obj::setGlExtensionString(nullptr);
    obj::forgetGlExtensionProbe();
}

void BM_DrawModelFromBuffer(benchmark::State& state) {
    drawGrid(state, true);
}
BENCHMARK(BM_DrawModelFromBuffer)->Arg(16)->Arg(128)->Unit(benchmark::kMicrosecond);

void BM_DrawModelFromClientArrays(benchmark::State& state) {
    drawGrid(state, false);
}
BENCHMARK(BM_DrawModelFromClientArrays)->Arg(16)->Arg(128)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

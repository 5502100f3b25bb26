// Frame cost of the real display path at 700 by 700: the normal view in each effect and the
// day scene, a few hundred frames each, every frame finished by GL (glFinish) before the
// next. Before that, the time from process start to the first frame, step by step.
//   DISPLAY=:99 ./build-bench/frame_bench     (from the repository root)
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <GL/glew.h>
#include <GL/freeglut.h>
#include <GL/glu.h>

#include "app/callbacks.h"
#include "app/core/effect_keys.h"
#include "app/core/picture_catalogue.h"
#include "app/core/run_state.h"
#include "bmp/dib_decoder.h"
#include "bmp/dib_image.h"
#include "files/native_path.h"
#include "light/light_frame.h"
#include "obj/obj.h"
#include "physical/adapted_eye.h"
#include "physical/photometry.h"
#include "tools/screenshots/scene_window.h"

namespace {

constexpr int kFramesPerRun = 300;

// Seconds since this process started, from the kernel's record of its start (clock ticks
// since boot, so a resolution of 1 / _SC_CLK_TCK).
double secondsSinceProcessStart() {
    std::ifstream statFile("/proc/self/stat");
    std::string stat((std::istreambuf_iterator<char>(statFile)), std::istreambuf_iterator<char>());
    // The command name may hold spaces; the fields after its closing parenthesis are plain.
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    for (int i = 3; i < 22 && fields >> field; ++i) {
    }
    unsigned long long startTicks = 0;
    fields >> startTicks;
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return double(now.tv_sec) + now.tv_nsec * 1e-9 - double(startTicks) / sysconf(_SC_CLK_TCK);
}

// The scene load's own work, done again after start-up (files in the page cache, as they
// mostly are at start-up too): the frame model read, and per picture the probe that the file
// opens, our BMP decoding, and GLU building its mipmaps (rescaling first whatever is not a
// power of two) into a scratch texture.
struct PictureTimes {
    const char* path = nullptr;
    int width = 0, height = 0;
    double probe = 0, decoding = 0, mipmaps = 0;
};

struct SceneLoadWork {
    double modelRead = 0;
    std::vector<PictureTimes> pictures;
    double total(double PictureTimes::*step) const {
        double sum = 0;
        for (const PictureTimes& picture : pictures) sum += picture.*step;
        return sum;
    }
};

SceneLoadWork timeSceneLoadWork() {
    SceneLoadWork work;
    const double modelStart = steadySeconds();
    const int model = obj::createFile("./Models/billboard.obj");
    work.modelRead = steadySeconds() - modelStart;
    obj::deleteFile(model);

    GLuint scratch = 0;
    glGenTextures(1, &scratch);
    glBindTexture(GL_TEXTURE_2D, scratch);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (int slot = 0; slot < kTextureSlotCount; ++slot) {
        const char* path = texturePath(kBuiltInPictureFiles, slot);
        if (!path) continue;
        PictureTimes times;
        times.path = path;
        const std::string file = nativePath(path);
        const double before = steadySeconds();
        if (FILE* probe = std::fopen(file.c_str(), "rb")) std::fclose(probe);
        const double probed = steadySeconds();
        RgbImage* image = loadDibImage(file.c_str());
        const double decoded = steadySeconds();
        times.probe = probed - before;
        times.decoding = decoded - probed;
        if (image) {
            times.width = image->width;
            times.height = image->height;
            gluBuild2DMipmaps(GL_TEXTURE_2D, 3, image->width, image->height, GL_RGB,
                              GL_UNSIGNED_BYTE, image->pixels);
            glFinish();
            times.mipmaps = steadySeconds() - decoded;
            freeRgbImage(image);
        }
        work.pictures.push_back(times);
    }
    glDeleteTextures(1, &scratch);
    return work;
}

// CPU seconds of the whole process, every thread: llvmpipe rasterises on threads of its own,
// which the benchmark's CPU column (the calling thread only) does not see. On a busy machine
// this is the steadier measure of what a frame costs.
double processCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + t.tv_usec * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void drawFrames(benchmark::State& state) {
    const double before = processCpuSeconds();
    for (auto _ : state) drawFrame();
    state.counters["all_threads_cpu_ms"] =
        benchmark::Counter((processCpuSeconds() - before) * 1e3 / double(state.iterations()));
}

void BM_NormalView(benchmark::State& state) {
    chooseEffect(effectParameters, int(state.range(0)));
    effectParameters.dayScene = effectParameters.nightScene = false;
    drawFrames(state);
    state.SetLabel("Billboard " + std::string(state.range(0) == 0   ? "I"
                                              : state.range(0) == 1 ? "II"
                                              : state.range(0) == 2 ? "III"
                                                                    : "IV"));
}
BENCHMARK(BM_NormalView)
    ->DenseRange(0, 3)
    ->Iterations(kFramesPerRun)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

void BM_DayView(benchmark::State& state) {
    keyboard('1', 0, 0);  // the day preset, as the key sets it
    drawFrames(state);
    effectParameters.dayScene = false;
}
BENCHMARK(BM_DayView)->Iterations(kFramesPerRun)->UseRealTime()->Unit(benchmark::kMillisecond);

// The day scene in Billboard IV, drawn as always (0) and through the light passes (1): the
// scene into the offscreen frame, then light, spill, glare and the tone curve, as the light
// model adds them to a frame.
void BM_DayViewLight(benchmark::State& state) {
    keyboard('1', 0, 0);
    chooseEffect(effectParameters, 3);
    LightFrame light;
    light.patchNits = patchNitsOf(
        patchLightOfTexture(pictureCatalogue.textureIds[effectParameters.picture]), 6000);
    light.faceNitsAtFullLevel = 6000;
    light.reflectedNits = reflectedLuminanceNits(40000);
    light.ambientLux = 40000;
    light.adaptationNits = adaptationLuminanceNits(40000, 6000 * 0.3 + light.reflectedNits);
    light.whiteNits = whiteLuminanceNits(40000, 6000);
    const double before = processCpuSeconds();
    for (auto _ : state) {
        if (state.range(0) == 1)
            beginLightFrame(glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT));
        display();
        if (state.range(0) == 1) finishLightFrame(light);
        glFinish();
    }
    state.counters["all_threads_cpu_ms"] =
        benchmark::Counter((processCpuSeconds() - before) * 1e3 / double(state.iterations()));
    state.SetLabel(state.range(0) == 1 ? "light model" : "as drawn");
    effectParameters.dayScene = false;
    chooseEffect(effectParameters, 0);
}
BENCHMARK(BM_DayViewLight)
    ->DenseRange(0, 1)
    ->Iterations(kFramesPerRun)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    const double startedBeforeMain = secondsSinceProcessStart();
    OpeningTimes times;
    if (!openSceneWindow(&argc, argv, &times)) {
        std::fprintf(stderr, "frame_bench: GL has no programmable pipeline\n");
        return 1;
    }
    const double firstFrameStart = steadySeconds();
    drawFrame();
    const double firstFrameEnd = steadySeconds();
    // Mesa compiles a program for the rasteriser on its first draw, so each effect's first
    // frame is timed too.
    double firstFrameOfEffect[4] = {firstFrameEnd - firstFrameStart, 0, 0, 0};
    for (int mode = 1; mode < 4; ++mode) {
        chooseEffect(effectParameters, mode);
        const double before = steadySeconds();
        drawFrame();
        firstFrameOfEffect[mode] = steadySeconds() - before;
    }
    chooseEffect(effectParameters, 0);
    const SceneLoadWork loadWork = timeSceneLoadWork();

    std::printf("\nStart-up, milliseconds\n");
    std::printf("  process start to main      %8.1f\n", startedBeforeMain * 1e3);
    std::printf("  window, GL state, GLEW     %8.1f\n", (times.windowOpen - times.started) * 1e3);
    std::printf("  build effect programs      %8.1f\n",
                (times.programsBuilt - times.windowOpen) * 1e3);
    std::printf("  load scene (13 pictures)   %8.1f\n",
                (times.sceneLoaded - times.programsBuilt) * 1e3);
    std::printf("    its model read (again)    %7.1f\n", loadWork.modelRead * 1e3);
    std::printf("    its file probes (again)   %7.1f\n",
                loadWork.total(&PictureTimes::probe) * 1e3);
    std::printf("    its BMP decoding (again)  %7.1f\n",
                loadWork.total(&PictureTimes::decoding) * 1e3);
    std::printf("    its GLU mipmaps (again)   %7.1f\n",
                loadWork.total(&PictureTimes::mipmaps) * 1e3);
    std::printf("  window mapping rounds      %8.1f\n",
                (firstFrameStart - times.sceneLoaded) * 1e3);
    std::printf("  first frame (Billboard I)  %8.1f\n", firstFrameOfEffect[0] * 1e3);
    std::printf("  process start to first frame %6.1f\n",
                (startedBeforeMain + firstFrameEnd - times.started) * 1e3);
    for (int mode = 1; mode < 4; ++mode) {
        std::printf("  first frame of effect %d    %8.1f\n", mode + 1,
                    firstFrameOfEffect[mode] * 1e3);
    }
    std::printf("\nPictures, milliseconds (again)     probe  decode  mipmaps\n");
    for (const PictureTimes& picture : loadWork.pictures) {
        std::printf("  %-30s %4dx%-4d %5.2f %7.2f %8.2f\n", picture.path, picture.width,
                    picture.height, picture.probe * 1e3, picture.decoding * 1e3,
                    picture.mipmaps * 1e3);
    }
    std::printf("\n");

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

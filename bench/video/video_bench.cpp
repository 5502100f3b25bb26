// Cost per frame of a video on the billboard against FFmpeg's own decode of the same clip in
// the same run (the floor), in time and in CPU time of all threads: the program's path is the video
// source's offline frames (decode on its worker thread, kept as planes with their mipmap levels,
// or converted to RGBA where the driver cannot draw planes) and their upload into the billboard's
// textures, as the display does, each frame finished by GL. Clips of the shapes users bring are
// made by the ffmpeg tool at start, into a temporary folder.
//   cmake -S . -B build-bench -DGLIMMER_BENCH=ON && cmake --build build-bench --target video_bench
//   xvfb-run -a -s "-screen 0 1280x1024x24" ./build-bench/video_bench   (from the repository root)
#include <benchmark/benchmark.h>

#include <GL/glew.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/core/picture_catalogue.h"
#include "app/playback/picture_texture.h"
#include "app/playback/wall_fitted_source.h"
#include "bench/video/ffmpeg_decode_peer.h"
#include "tools/screenshots/scene_window.h"
#include "video/video_source.h"

namespace {

struct BenchClip {
    const char* name;
    const char* pattern;          // the lavfi source and filters the clip is made from
    const char* ffmpegArguments;  // the encoding, after the pattern's input
};

// Footage as users bring it: detail that moves and a film grain, at the bit rates video is
// delivered at (about 8 Mbit/s for 1080p), encoded with B-frames and arithmetic coding. The
// last clip is the cheapest to decode there is, a clean test pattern at the encoder's fastest
// setting: the worst case for the ratio. Two to three seconds each, several GOPs.
const char kFootage[] = "testsrc2=s=1920x1080:r=60,noise=alls=12:allf=t";
const char kCleanPattern[] = "testsrc2=s=1920x1080:r=60";
const BenchClip kClips[] = {
    {"h264_1080p30", kFootage,
     "-s 1920x1080 -r 30 -t 3 -c:v libx264 -preset veryfast -b:v 8M -maxrate 10M -bufsize 16M "
     "-g 60"},
    {"h264_720p60", kFootage,
     "-s 1280x720 -r 60 -t 3 -c:v libx264 -preset veryfast -b:v 7500k -maxrate 9M -bufsize 15M "
     "-g 120"},
    {"vp9_1080p30", kFootage,
     "-s 1920x1080 -r 30 -t 2 -c:v libvpx-vp9 -deadline realtime -cpu-used 8 -b:v 6M"},
    {"hevc_2160p30", kFootage,
     "-s 3840x2160 -r 30 -t 1 -c:v libx265 -preset ultrafast -b:v 20M "
     "-x265-params log-level=none"},
    {"h264_1080p30_long_gop", kFootage,
     "-s 1920x1080 -r 30 -t 3 -c:v libx264 -preset veryfast -b:v 8M -maxrate 10M -bufsize 16M "
     "-g 600"},
    {"h264_1080p30_key_frames_only", kFootage,
     "-s 1920x1080 -r 30 -t 2 -c:v libx264 -preset veryfast -b:v 20M -g 1"},
    {"h264_1080p30_clean_ultrafast", kCleanPattern,
     "-s 1920x1080 -r 30 -t 3 -c:v libx264 -preset ultrafast -g 60"},
};

std::filesystem::path clipFolder;

std::string clipPath(const BenchClip& clip) {
    return (clipFolder / clip.name).string() + ".mkv";
}

bool makeClip(const BenchClip& clip) {
    const std::string command = std::string("ffmpeg -nostdin -loglevel error -y -f lavfi -i ") +
                                clip.pattern + " -pix_fmt yuv420p " + clip.ffmpegArguments + " " +
                                clipPath(clip);
    return std::system(command.c_str()) == 0;
}

// Frames of one pass through each clip, counted by the floor when the clips are made.
std::vector<int> clipFrames;

// CPU time of every thread of the process (decoder threads, the source's worker, the
// driver's), in milliseconds: what a frame costs the machine, whatever ran in parallel.
double processCpuMilliseconds() {
    timespec time{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &time);
    return time.tv_sec * 1e3 + time.tv_nsec / 1e6;
}

// The time and CPU time of one pass through a clip's frames, in two ways. From its first
// frame on (the headline figures): what each frame costs while a video plays, for as long as
// it plays. From when the clip is open: with the start, when the decoder fills its pipeline
// before any frame comes out (the program starts over from a seek, the floor from the open).
// The time to the first frame is a goal of its own, timed live by video_playback.
class PassTimer {
  public:
    void opened() {
        openedAt_ = FrameClock::now();
        openedCpu_ = processCpuMilliseconds();
    }
    void firstFrame() {
        firstAt_ = FrameClock::now();
        firstCpu_ = processCpuMilliseconds();
    }
    void stop(benchmark::State& state, int frames) {
        const auto now = FrameClock::now();
        const double cpu = processCpuMilliseconds();
        const double steady = std::chrono::duration<double>(now - firstAt_).count();
        state.SetIterationTime(steady);
        steadyMs_ += steady * 1e3;
        steadyCpuMs_ += cpu - firstCpu_;
        steadyFrames_ += frames - 1;
        fromOpenMs_ += std::chrono::duration<double, std::milli>(now - openedAt_).count();
        fromOpenCpuMs_ += cpu - openedCpu_;
        frames_ += frames;
    }
    void report(benchmark::State& state) const {
        if (steadyFrames_ <= 0) return;
        state.counters["ms_per_frame"] = steadyMs_ / steadyFrames_;
        state.counters["cpu_ms_per_frame"] = steadyCpuMs_ / steadyFrames_;
        state.counters["from_open_ms_per_frame"] = fromOpenMs_ / frames_;
        state.counters["from_open_cpu_ms_per_frame"] = fromOpenCpuMs_ / frames_;
    }

  private:
    FrameClock::time_point openedAt_{}, firstAt_{};
    double openedCpu_ = 0, firstCpu_ = 0;
    double steadyMs_ = 0, steadyCpuMs_ = 0, fromOpenMs_ = 0, fromOpenCpuMs_ = 0;
    long long steadyFrames_ = 0, frames_ = 0;
};

void floorDecode(benchmark::State& state, int clip) {
    PassTimer timer;
    for (auto _ : state) {
        const int frames = decodeWithFfmpeg(
            clipPath(kClips[clip]), [&] { timer.opened(); }, [&] { timer.firstFrame(); });
        if (frames <= 0) {
            state.SkipWithError("the clip does not decode");
            return;
        }
        timer.stop(state, frames);
    }
    timer.report(state);
}

// The wall of the real-units benchmark: a 960 x 540 wall takes 1080p video at half size.
constexpr int kWallWidth = 960, kWallHeight = 540;

// onWall: as in real units, each frame fitted to the wall's LEDs (offline, as here, on the
// calling thread; live, on a thread of its own).
void programFrames(benchmark::State& state, int clip, bool onWall) {
    const int frames = clipFrames[clip];
    PassTimer timer;
    for (auto _ : state) {
        LoadOutcome outcome;
        std::unique_ptr<FrameSource> opened =
            VideoSource::open(clipPath(kClips[clip]), kClips[clip].name, outcome);
        ShownContent picture;
        if (opened && onWall)
            opened = std::make_unique<WallFittedSource>(std::move(opened), kWallWidth, kWallHeight,
                                                        WallFit::contain);
        if (opened) offerPlanes(picture, *opened);
        if (!opened || !opened->fitWithin(maxTextureSide())) {
            state.SkipWithError("the clip does not open");
            return;
        }
        FrameSource& source = *opened;
        source.renderOffline();
        picture.info = {1, source.width(), source.height()};
        picture.source = std::move(opened);
        createSourceTextures(picture, {});
        glFinish();
        const double rate = source.frameRate();
        timer.opened();
        const auto start = FrameClock::now();
        source.show(true, start);
        // Every frame of one pass, each asked for within its own time, as the review does.
        int uploaded = 0;
        for (int k = 0; k < frames; ++k) {
            const auto at = start + std::chrono::duration_cast<FrameClock::duration>(
                                        std::chrono::duration<double>((k + 0.5) / rate));
            if (refreshContentTexture(picture, at)) ++uploaded;
            glFinish();
            if (k == 0) timer.firstFrame();
        }
        timer.stop(state, frames);
        picture.source.reset();
        glDeleteTextures(1, &picture.texture);
        glDeleteTextures(2, picture.chroma);
        if (uploaded + 1 < frames) {
            state.SkipWithError("frames were missed");
            return;
        }
    }
    timer.report(state);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (!openSceneWindow(&argc, argv)) return 1;
    clipFolder = std::filesystem::temp_directory_path() / "glimmer_video_bench";
    std::filesystem::create_directories(clipFolder);
    for (int i = 0; i < static_cast<int>(std::size(kClips)); ++i) {
        if (!makeClip(kClips[i])) {
            std::fprintf(stderr, "cannot make %s\n", kClips[i].name);
            clipFrames.push_back(0);
            continue;
        }
        clipFrames.push_back(decodeWithFfmpeg(clipPath(kClips[i])));
        benchmark::RegisterBenchmark((std::string("Floor/") + kClips[i].name).c_str(), floorDecode,
                                     i)
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime()
            ->MinTime(2);
        benchmark::RegisterBenchmark((std::string("Program/") + kClips[i].name).c_str(),
                                     programFrames, i, false)
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime()
            ->MinTime(2);
        benchmark::RegisterBenchmark((std::string("OnWall/") + kClips[i].name).c_str(),
                                     programFrames, i, true)
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime()
            ->MinTime(2);
    }
    benchmark::RunSpecifiedBenchmarks();
    std::filesystem::remove_all(clipFolder);
    return 0;
}

// Each clip starts the source over (a video offline, an animation always starts over when
// shown), so all six show the same stretch of it.
#include "app/review/review_clips.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "app/core/picture_catalogue.h"
#include "app/core/run_state.h"
#include "app/core/wall_clock.h"
#include "app/review/frame_capture.h"
#include "app/review/review_views.h"
#include "video/clip_writer.h"

namespace {

bool writeClip(const std::string& path, int picture, int view, double rate, int frameCount,
               FrameClock::time_point start) {
    FrameSource& source = *shownContent(pictureCatalogue, picture).source;
    chooseReviewView(picture, view);
    pinFrameClock(start);
    source.show(false, start);
    source.show(true, start);
    ClipWriter clip;
    bool opened = false;
    const FrameClock::time_point liveStart = FrameClock::now();
    for (int k = 0; k < frameCount; ++k) {
        // Halfway through each frame's time, so that timestamps a container rounded (to
        // milliseconds, say) still fall on the frame they belong to.
        const auto offset = std::chrono::duration_cast<FrameClock::duration>(
            std::chrono::duration<double>((k + 0.5) / rate));
        pinFrameClock(start + offset);
        // A live feed is recorded as it arrives.
        if (source.live()) std::this_thread::sleep_until(liveStart + offset);
        const CapturedFrame frame = drawAndCaptureFrame();
        if (!opened && !(opened = clip.open(path, frame.width, frame.height, rate))) break;
        if (!clip.addFrame(frame.rgb.data())) break;
    }
    if (opened && clip.error().empty() && clip.finish()) return true;
    std::fprintf(stderr, "Error: %s: %s\n", path.c_str(), clip.error().c_str());
    return false;
}

}  // namespace

bool writeReviewClips(const std::string& folder, const std::string& stem, int picture, int seconds,
                      FrameClock::time_point start) {
    const double rate =
        std::min(shownContent(pictureCatalogue, picture).source->frameRate(), kMaxReviewFrameRate);
    if (!(rate > 0)) return true;
    const int frameCount = std::max(1, static_cast<int>(std::lround(seconds * rate)));
    bool written = true;
    for (int view = 0; view < kReviewViewCount; ++view) {
        const std::filesystem::path path =
            std::filesystem::path(folder) / (stem + "-" + reviewViewName(view) + ".mp4");
        written = writeClip(path.string(), picture, view, rate, frameCount, start) && written;
    }
    return written;
}

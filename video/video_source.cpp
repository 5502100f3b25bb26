// VideoSource: the worker decodes ahead into the hand-over and rewinds at the end; the display
// thread alone keeps the timeline. Looped passes follow each other on one timeline, each
// starting one frame's time after the last frame of the one before.
#include "video/video_source.h"

#include <cstdio>

#include "frames/mipmap_chain.h"
#include "pictures/picture_scale.h"

namespace {

// Frames decoded ahead of the one shown: enough to ride out a slow frame of the decoder, few
// enough that the five buffers of a 4K video, with their mipmap levels, hold about 210 MiB.
constexpr int kQueuedFrames = 3;

// A frame due this little after the time asked for counts as due: clock times and frame
// times meet through rounding, and a review sampling exactly at frame times must get them.
constexpr double kTimeTolerance = 1e-6;

// Frames are RGBA: they upload without a conversion, and their mipmap levels are worked out
// four bytes a texel.
constexpr int kChannels = 4;

// How often the display looks for a frame while the worker has none ready.
constexpr auto kPollInterval = std::chrono::milliseconds(5);

FrameClock::duration clockDuration(double seconds) {
    return std::chrono::duration_cast<FrameClock::duration>(std::chrono::duration<double>(seconds));
}

}  // namespace

std::unique_ptr<VideoSource> VideoSource::open(const std::string& path, const std::string& name,
                                               LoadOutcome& outcome, const VideoLimits& limits) {
    auto input = std::make_unique<VideoInput>();
    outcome = input->openFile(path.c_str(), limits);
    if (!outcome.ok()) return nullptr;
    auto source = std::make_unique<VideoSource>(std::move(input), name);
    source->path_ = path;
    return source;
}

VideoSource::VideoSource(std::unique_ptr<VideoInput> input, std::string name)
    : input_(std::move(input)), name_(std::move(name)) {
    input_->setOutputChannels(kChannels);
}

VideoSource::~VideoSource() {
    stopWorker();
}

int VideoSource::width() const {
    return input_->outputWidth();
}
int VideoSource::height() const {
    return input_->outputHeight();
}
int VideoSource::channels() const {
    return kChannels;
}

bool VideoSource::offersPlanes() const {
    return input_->planesSuit();
}

void VideoSource::usePlanes() {
    planar_ = input_->planesSuit();
}

bool VideoSource::fitWithin(int maxSide) {
    const PictureSize fitted = fittedSize({input_->width(), input_->height()}, maxSide);
    input_->setOutputSize(fitted.width, fitted.height);
    frameBytes_ = std::size_t{kChannels} * fitted.width * fitted.height;
    const std::size_t bufferBytes =
        planar_ ? planarFrameLayout(fitted.width, fitted.height).bytes
                : frameBytes_ + mipmapChainBytes(fitted.width, fitted.height, kChannels);
    buffersReady_ = handOver_.allocate(bufferBytes, kQueuedFrames);
    if (buffersReady_) takeFirstFrame();
    return buffersReady_;
}

// The first frame is decoded here, on the display's thread, before any worker runs: it is on
// the billboard as soon as the window is, and the timeline starts at it when first shown.
void VideoSource::takeFirstFrame() {
    handOver_.giveBack(current_.pixels);
    current_ = {};
    std::uint8_t* pixels = handOver_.takeFree();
    double seconds = 0;
    YuvColours yuv;
    if (pixels != nullptr && readFrame(pixels, seconds, yuv) == VideoRead::frame) {
        showFrame({pixels, seconds, yuv});
    } else {
        handOver_.giveBack(pixels);
    }
    if (!damageReported_) damageBeforeFirstFrame_ = damageSeen();
}

std::uint64_t VideoSource::damageSeen() const {
    return input_->skippedPackets() + input_->concealedFrames();
}

// On the worker's thread, which alone reads the input while it runs; standard error is
// unbuffered, so the line goes out whole.
void VideoSource::reportDamage() {
    if (damageReported_ || damageSeen() <= damageBeforeFirstFrame_) return;
    damageReported_ = true;
    std::fprintf(stderr, "Warning: %s: damaged video data, skipped to the next frame it decodes\n",
                 name_.c_str());
}

// Offline, every showing starts at the first frame, so that each clip of a review shows the
// same stretch of the video.
void VideoSource::startOver() {
    stopWorker();
    TimedFrame frame;
    while (handOver_.pop(frame)) handOver_.giveBack(frame.pixels);
    loopStartSeconds_ = 0;
    handOver_.restart();
    if (input_->rewind()) takeFirstFrame();
}

void VideoSource::show(bool shown, FrameClock::time_point now) {
    if (shown == shown_) return;
    shown_ = shown;
    if (!shown) {
        stopWorker();
        return;
    }
    if (!buffersReady_ && !fitWithin(std::max(input_->width(), input_->height()))) return;
    if (offline_) startOver();
    // Shown again, the video goes on from the frame it stopped at.
    origin_ = now - clockDuration(current_.pixels ? current_.seconds : 0);
    pausedAt_ = now;
    anchorPending_ = current_.pixels == nullptr && !offline_;
    startWorker();
}

void VideoSource::startWorker() {
    if (worker_.joinable()) return;
    handOver_.restart();
    worker_ = std::thread([this] { decodeFrames(); });
}

void VideoSource::stopWorker() {
    if (!worker_.joinable()) return;
    handOver_.stop();
    worker_.join();
}

// The frame with its mipmap levels after it in the same buffer, worked out here on the
// decoding side so that the display only copies them.
VideoRead VideoSource::readFrame(std::uint8_t* pixels, double& seconds, YuvColours& yuv) {
    if (planar_) return input_->readPlanes(pixels, seconds, yuv);
    MipmapChainWriter mipmaps(pixels, width(), height(), pixels + frameBytes_, kChannels);
    const VideoRead read = input_->readFrame(
        pixels, seconds, [&](int firstRow, int rowCount) { mipmaps.rowsDone(firstRow, rowCount); });
    if (read == VideoRead::frame) mipmaps.finish();
    return read;
}

void VideoSource::decodeFrames() {
    const double frameSeconds = 1 / input_->frameRate();
    double lastSeconds = -1;  // of the current pass; -1 while it has given no frame
    for (;;) {
        std::uint8_t* pixels = handOver_.takeFree();
        if (pixels == nullptr) return;
        double seconds = 0;
        YuvColours yuv;
        const VideoRead read = readFrame(pixels, seconds, yuv);
        reportDamage();
        if (read == VideoRead::frame) {
            lastSeconds = seconds;
            handOver_.pushFilled({pixels, loopStartSeconds_ + seconds, yuv});
            continue;
        }
        handOver_.giveBack(pixels);
        // The end: loop, unless the pass gave nothing (it would spin) or the input cannot seek.
        // The next pass's start is known before the rewind and the decoder's first frames, so a
        // review sampling the end of this pass need not wait for them.
        if (read == VideoRead::failed || lastSeconds < 0) {
            handOver_.finish();
            return;
        }
        loopStartSeconds_ += lastSeconds + frameSeconds;
        handOver_.noFrameBefore(loopStartSeconds_);
        if (!input_->rewind()) {
            handOver_.finish();
            return;
        }
        lastSeconds = -1;
    }
}

double VideoSource::secondsAt(FrameClock::time_point now) const {
    const FrameClock::time_point at = paused_ ? pausedAt_ : now;
    return std::chrono::duration<double>(at - origin_).count();
}

void VideoSource::showFrame(const TimedFrame& frame) {
    handOver_.giveBack(current_.pixels);
    current_ = frame;
    ++serial_;
    shownCount_.fetch_add(1, std::memory_order_relaxed);
}

FrameView VideoSource::currentView() const {
    if (current_.pixels == nullptr) return {nullptr, serial_};
    if (planar_) return {current_.pixels, serial_, nullptr, &current_.yuv};
    return {current_.pixels, serial_, current_.pixels + frameBytes_};
}

FrameView VideoSource::frameAt(FrameClock::time_point now) {
    if (!shown_) return currentView();
    TimedFrame next;
    if (anchorPending_ && !paused_ && handOver_.peek(next)) {
        origin_ = now - clockDuration(next.seconds);
        anchorPending_ = false;
    }
    if (anchorPending_) return currentView();
    const double seconds = secondsAt(now);
    if (offline_) {
        // Every frame up to the one due is waited for, so the result never depends on the
        // decoder's speed; frames between two samples are passed over, not dropped.
        TimedFrame due{};
        while (handOver_.waitForFilled(seconds + kTimeTolerance) && handOver_.peek(next) &&
               next.seconds <= seconds + kTimeTolerance) {
            handOver_.pop(next);
            handOver_.giveBack(due.pixels);
            due = next;
        }
        if (due.pixels != nullptr) showFrame(due);
        return currentView();
    }
    TimedFrame due{};
    while (handOver_.peek(next) && next.seconds <= seconds + kTimeTolerance) {
        handOver_.pop(next);
        if (due.pixels != nullptr) {
            handOver_.giveBack(due.pixels);
            droppedCount_.fetch_add(1, std::memory_order_relaxed);
        }
        due = next;
    }
    if (due.pixels != nullptr) showFrame(due);
    return currentView();
}

FrameClock::time_point VideoSource::nextFrameDue(FrameClock::time_point now) const {
    if (!shown_ || paused_) return kNoFrameDue;
    TimedFrame next;
    const bool ready = wake_ != nullptr ? handOver_.peekOrWake(next, wake_) : handOver_.peek(next);
    if (ready) return anchorPending_ ? now + kPollInterval : origin_ + clockDuration(next.seconds);
    // With a wake, the worker's next frame calls the display; a video that ended has none.
    if (wake_ != nullptr || handOver_.finished()) return kNoFrameDue;
    return now + kPollInterval;
}

bool VideoSource::setPaused(bool paused, FrameClock::time_point now) {
    if (paused == paused_) return true;
    if (paused) {
        pausedAt_ = now;
    } else {
        origin_ += now - pausedAt_;
    }
    paused_ = paused;
    return true;
}

double VideoSource::frameRate() const {
    return input_->frameRate();
}

void VideoSource::renderOffline() {
    offline_ = true;
}

// Found on an input of its own, so that the worker's reading goes on undisturbed.
double VideoSource::shotSeconds(double preferred) const {
    VideoInput probe;
    if (path_.empty() || !probe.openFile(path_.c_str()).ok()) return preferred;
    return probe.lastFrameBefore(preferred);
}

std::string VideoSource::statsLine(bool shown) const {
    if (!shown) return {};
    char text[64];
    std::snprintf(text, sizeof text, ": %llu shown, %llu dropped",
                  static_cast<unsigned long long>(shownCount_.load()),
                  static_cast<unsigned long long>(droppedCount_.load()));
    return name_ + text;
}

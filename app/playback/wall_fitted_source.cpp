#include "app/playback/wall_fitted_source.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "frames/mipmap_chain.h"

namespace {

// How soon the display asks again while a fitted frame is under way: well within a frame of
// any video, so the fitted frame is shown as soon as it is ready.
constexpr auto kFittingPoll = std::chrono::milliseconds(2);

// Chroma samples of no colour: the middle of a byte's range.
constexpr std::uint8_t kNeutralChroma = 128;

// The luma that `yuv` turns into black with neutral chroma: an unlit LED (16 for video range,
// 0 for full range).
std::uint8_t unlitLuma(const YuvColours& yuv) {
    const float chroma = kNeutralChroma / 255.0f;
    if (yuv.matrix[0] == 0) return 0;
    const float luma = -((yuv.matrix[3] + yuv.matrix[6]) * chroma + yuv.offset[0]) / yuv.matrix[0];
    return static_cast<std::uint8_t>(std::clamp(luma * 255.0f + 0.5f, 0.0f, 255.0f));
}

}  // namespace

WallFittedSource::WallFittedSource(std::unique_ptr<FrameSource> content, int wallWidth,
                                   int wallHeight, WallFit fit)
    : content_(std::move(content)), wallWidth_(wallWidth), wallHeight_(wallHeight), fit_(fit) {}

WallFittedSource::~WallFittedSource() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (worker_.joinable()) worker_.join();
}

bool WallFittedSource::fitWithin(int maxSide) {
    return wallWidth_ <= maxSide && wallHeight_ <= maxSide && content_->fitWithin(maxSide);
}

void WallFittedSource::show(bool shown, FrameClock::time_point now) {
    content_->show(shown, now);
}

void WallFittedSource::usePlanes() {
    planar_ = true;
    content_->usePlanes();
}

void WallFittedSource::fitNow(const std::uint8_t* pixels, const YuvColours& yuv,
                              std::vector<std::uint8_t>& wall) const {
    if (!planar_) {
        // The levels below follow the frame, so the display only copies them.
        const std::size_t bytes = std::size_t(3) * wallWidth_ * wallHeight_;
        wall.resize(bytes + mipmapChainBytes(wallWidth_, wallHeight_));
        fitToWall(pixels, content_->channels(), content_->width(), content_->height(), wallWidth_,
                  wallHeight_, fit_, wall.data());
        buildMipmapChain(wall.data(), wallWidth_, wallHeight_, wall.data() + bytes);
        return;
    }
    const PlanarFrameLayout from = planarFrameLayout(content_->width(), content_->height());
    const PlanarFrameLayout to = planarFrameLayout(wallWidth_, wallHeight_);
    wall.resize(to.bytes);
    const std::uint8_t unlit[kPlaneCount] = {unlitLuma(yuv), kNeutralChroma, kNeutralChroma};
    for (int plane = 0; plane < kPlaneCount; ++plane) {
        std::uint8_t* level0 = wall.data() + to.offset[plane];
        fitPlaneToWall(pixels + from.offset[plane], from.width[plane], from.height[plane],
                       to.width[plane], to.height[plane], fit_, unlit[plane], level0);
        buildMipmapChain(level0, to.width[plane], to.height[plane], wall.data() + to.mipmaps[plane],
                         1);
    }
}

void WallFittedSource::handToWorker(const FrameView& frame) {
    const std::size_t bytes =
        planar_ ? planarFrameLayout(content_->width(), content_->height()).bytes
                : std::size_t(content_->channels()) * content_->width() * content_->height();
    {
        std::lock_guard lock(mutex_);
        waiting_.assign(frame.pixels, frame.pixels + bytes);
        if (frame.yuv != nullptr) waitingYuv_ = *frame.yuv;
        frameWaiting_ = true;
    }
    if (!worker_.joinable()) worker_ = std::thread(&WallFittedSource::work, this);
    wake_.notify_one();
}

void WallFittedSource::work() {
    std::vector<std::uint8_t> content, wall;
    YuvColours yuv;
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return frameWaiting_ || stopping_; });
        if (stopping_) return;
        content.swap(waiting_);
        yuv = waitingYuv_;
        frameWaiting_ = false;
        frameFitting_ = true;
        lock.unlock();
        fitNow(content.data(), yuv, wall);
        lock.lock();
        ready_.swap(wall);
        readyYuv_ = yuv;
        frameFitting_ = false;
        frameReady_ = true;
    }
}

FrameView WallFittedSource::frameAt(FrameClock::time_point now) {
    const FrameView frame = content_->frameAt(now);
    if (frame.pixels != nullptr && frame.serial != contentSerial_) {
        contentSerial_ = frame.serial;
        if (moving() && !offline_) {
            handToWorker(frame);
        } else {
            if (frame.yuv != nullptr) shownYuv_ = *frame.yuv;
            fitNow(frame.pixels, shownYuv_, shown_);
            ++serial_;
        }
        content_->frameUploaded();
    }
    {
        std::lock_guard lock(mutex_);
        // Offline, a frame the fitter finished before (the first, handed over at start-up)
        // is never shown in place of the one fitted on the spot.
        if (frameReady_ && !offline_) {
            shown_.swap(ready_);
            shownYuv_ = readyYuv_;
            frameReady_ = false;
            ++serial_;
        }
    }
    FrameView view{shown_.empty() ? nullptr : shown_.data(), serial_};
    if (planar_)
        view.yuv = &shownYuv_;
    else if (view.pixels != nullptr)
        view.mipmaps = view.pixels + std::size_t(3) * wallWidth_ * wallHeight_;
    return view;
}

FrameClock::time_point WallFittedSource::nextFrameDue(FrameClock::time_point now) const {
    const FrameClock::time_point due = content_->nextFrameDue(now);
    std::lock_guard lock(mutex_);
    if (frameWaiting_ || frameFitting_ || frameReady_) return std::min(due, now + kFittingPoll);
    return due;
}

bool WallFittedSource::setPaused(bool paused, FrameClock::time_point now) {
    return content_->setPaused(paused, now);
}

double WallFittedSource::shotSeconds(double preferred) const {
    return content_->shotSeconds(preferred);
}

double WallFittedSource::frameRate() const {
    return content_->frameRate();
}

bool WallFittedSource::live() const {
    return content_->live();
}

void WallFittedSource::renderOffline() {
    // Rendered frame by frame, each frame is fitted at once, so every run gives the same one.
    offline_ = true;
    content_->renderOffline();
}

std::string WallFittedSource::statsLine(bool shown) const {
    return content_->statsLine(shown);
}

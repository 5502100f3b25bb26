#include "app/wall_fitted_source.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace {

// How soon the display asks again while a fitted frame is under way: well within a frame of
// any video, so the fitted frame is shown as soon as it is ready.
constexpr auto kFittingPoll = std::chrono::milliseconds(2);

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

void WallFittedSource::fitNow(const std::uint8_t* pixels, std::vector<std::uint8_t>& wall) const {
    wall.resize(std::size_t(3) * wallWidth_ * wallHeight_);
    fitToWall(pixels, content_->channels(), content_->width(), content_->height(), wallWidth_,
              wallHeight_, fit_, wall.data());
}

void WallFittedSource::handToWorker(const std::uint8_t* pixels) {
    const std::size_t bytes =
        std::size_t(content_->channels()) * content_->width() * content_->height();
    {
        std::lock_guard lock(mutex_);
        waiting_.assign(pixels, pixels + bytes);
        frameWaiting_ = true;
    }
    if (!worker_.joinable()) worker_ = std::thread(&WallFittedSource::work, this);
    wake_.notify_one();
}

void WallFittedSource::work() {
    std::vector<std::uint8_t> content, wall;
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return frameWaiting_ || stopping_; });
        if (stopping_) return;
        content.swap(waiting_);
        frameWaiting_ = false;
        lock.unlock();
        fitNow(content.data(), wall);
        lock.lock();
        ready_.swap(wall);
        frameReady_ = true;
    }
}

FrameView WallFittedSource::frameAt(FrameClock::time_point now) {
    const FrameView frame = content_->frameAt(now);
    if (frame.pixels != nullptr && frame.serial != contentSerial_) {
        contentSerial_ = frame.serial;
        if (moving() && !offline_) {
            handToWorker(frame.pixels);
        } else {
            fitNow(frame.pixels, shown_);
            ++serial_;
        }
        content_->frameUploaded();
    }
    {
        std::lock_guard lock(mutex_);
        if (frameReady_) {
            shown_.swap(ready_);
            frameReady_ = false;
            ++serial_;
        }
    }
    return {shown_.empty() ? nullptr : shown_.data(), serial_};
}

FrameClock::time_point WallFittedSource::nextFrameDue(FrameClock::time_point now) const {
    const FrameClock::time_point due = content_->nextFrameDue(now);
    std::lock_guard lock(mutex_);
    if (frameWaiting_ || frameReady_) return std::min(due, now + kFittingPoll);
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

#include "frames/bounded_frame_queue.h"

bool BoundedFrameQueue::allocate(std::size_t frameBytes, int queuedFrames) {
    std::lock_guard lock(mutex_);
    buffers_.clear();
    free_.clear();
    filled_.clear();
    queuedFrames_ = static_cast<std::size_t>(queuedFrames);
    for (int i = 0; i < queuedFrames + 2; ++i) {
        PixelBuffer buffer = allocatePixelBuffer(frameBytes);
        if (!buffer) return false;
        free_.push_back(buffer.get());
        buffers_.push_back(std::move(buffer));
    }
    return true;
}

std::uint8_t* BoundedFrameQueue::takeFree() {
    std::unique_lock lock(mutex_);
    // A buffer is kept back for the display unless the queue has room: filled frames never
    // outnumber queuedFrames, so the display always finds one to swap with.
    changed_.wait(lock,
                  [&] { return stopped_ || (!free_.empty() && filled_.size() < queuedFrames_); });
    if (stopped_) return nullptr;
    std::uint8_t* pixels = free_.back();
    free_.pop_back();
    return pixels;
}

void BoundedFrameQueue::pushFilled(TimedFrame frame) {
    FrameWake wake = nullptr;
    {
        std::lock_guard lock(mutex_);
        filled_.push_back(frame);
        noFrameBefore_ = frame.seconds;
        std::swap(wake, wakeOnPush_);
    }
    changed_.notify_all();
    if (wake != nullptr) wake();
}

void BoundedFrameQueue::noFrameBefore(double seconds) {
    {
        std::lock_guard lock(mutex_);
        noFrameBefore_ = seconds;
    }
    changed_.notify_all();
}

void BoundedFrameQueue::giveBack(std::uint8_t* pixels) {
    if (pixels == nullptr) return;
    {
        std::lock_guard lock(mutex_);
        free_.push_back(pixels);
    }
    changed_.notify_all();
}

void BoundedFrameQueue::finish() {
    {
        std::lock_guard lock(mutex_);
        finished_ = true;
    }
    changed_.notify_all();
}

void BoundedFrameQueue::stop() {
    {
        std::lock_guard lock(mutex_);
        stopped_ = true;
    }
    changed_.notify_all();
}

void BoundedFrameQueue::restart() {
    std::lock_guard lock(mutex_);
    stopped_ = false;
    finished_ = false;
    noFrameBefore_ = filled_.empty() ? 0 : filled_.back().seconds;
}

bool BoundedFrameQueue::peek(TimedFrame& frame) const {
    std::lock_guard lock(mutex_);
    if (filled_.empty()) return false;
    frame = filled_.front();
    return true;
}

bool BoundedFrameQueue::peekOrWake(TimedFrame& frame, FrameWake wake) const {
    std::lock_guard lock(mutex_);
    if (filled_.empty()) {
        wakeOnPush_ = wake;
        return false;
    }
    frame = filled_.front();
    return true;
}

bool BoundedFrameQueue::pop(TimedFrame& frame) {
    {
        std::lock_guard lock(mutex_);
        if (filled_.empty()) return false;
        frame = filled_.front();
        filled_.pop_front();
    }
    changed_.notify_all();
    return true;
}

bool BoundedFrameQueue::waitForFilled(double limit) {
    std::unique_lock lock(mutex_);
    changed_.wait(
        lock, [&] { return !filled_.empty() || finished_ || stopped_ || noFrameBefore_ > limit; });
    return !filled_.empty();
}

bool BoundedFrameQueue::finished() const {
    std::lock_guard lock(mutex_);
    return finished_;
}

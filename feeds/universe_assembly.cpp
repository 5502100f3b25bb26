#include "feeds/universe_assembly.h"

UniverseAssembly::UniverseAssembly(const WallLayout& layout, FeedOutput& output)
    : layout_(layout),
      output_(output),
      frame_(layout.frameBytes(), 0),
      arrived_(static_cast<std::size_t>(layout.universeCount()), false) {}

void UniverseAssembly::add(int universeIndex, std::span<const std::uint8_t> channels,
                           bool waitsForSync, FrameClock::time_point now) {
    // Without sync, a universe seen twice means the sender has moved on to its next frame.
    if (arrived_[universeIndex] && !waitingForSync_ && !waitsForSync) show();
    drawUniverse(layout_, universeIndex, channels, frame_.data());
    if (!arrived_[universeIndex]) {
        if (arrivedCount_ == 0) firstArrival_ = now;
        arrived_[universeIndex] = true;
        ++arrivedCount_;
    }
    waitingForSync_ = waitingForSync_ || waitsForSync;
    if (!waitingForSync_ && arrivedCount_ == static_cast<int>(arrived_.size())) show();
}

void UniverseAssembly::sync() {
    if (arrivedCount_ > 0) show();
}

void UniverseAssembly::expire(FrameClock::time_point now) {
    if (arrivedCount_ > 0 && now >= deadline()) show();
}

FrameClock::time_point UniverseAssembly::deadline() const {
    if (arrivedCount_ == 0) return kNoFrameDue;
    return firstArrival_ + (waitingForSync_ ? kSyncWaitLimit : kUniverseGatherTime);
}

void UniverseAssembly::show() {
    output_.publishFrame(frame_.data());
    arrived_.assign(arrived_.size(), false);
    arrivedCount_ = 0;
    waitingForSync_ = false;
}

// The DMX frame rules applied universe by universe: a frame shown when complete, on sync, or
// at its deadline, and universes that did not come kept from the frame before.
#include "feeds/universe_assembly.h"

#include <algorithm>

UniverseAssembly::UniverseAssembly(const WallLayout& layout, FeedOutput& output)
    : layout_(layout),
      canvas_(layout.frameBytes(), output),
      arrived_(static_cast<std::size_t>(layout.universeCount()), false) {}

void UniverseAssembly::add(int universeIndex, std::span<const std::uint8_t> channels,
                           bool waitsForSync, FrameClock::time_point now) {
    // Without sync, a universe seen twice means the sender has moved on to its next frame.
    if (arrived_[universeIndex] && !waitingForSync_ && !waitsForSync) show();
    // A short universe leaves the end of its pixels as they were.
    if (canvas_.stale() && !arrived_[universeIndex] &&
        long(channels.size() / 3) < pixelsOf(universeIndex))
        restoreUniverse(universeIndex);
    drawUniverse(layout_, universeIndex, channels, canvas_.pixels());
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
    if (canvas_.stale()) {
        for (int index = 0; index < static_cast<int>(arrived_.size()); ++index) {
            if (!arrived_[index]) restoreUniverse(index);
        }
        canvas_.restored();
    }
    canvas_.handOver();
    arrived_.assign(arrived_.size(), false);
    arrivedCount_ = 0;
    waitingForSync_ = false;
}

long UniverseAssembly::pixelsOf(int universeIndex) const {
    const long first = long{universeIndex} * layout_.universePixels;
    return std::min<long>(layout_.universePixels, long{layout_.width} * layout_.height - first);
}

void UniverseAssembly::restoreUniverse(int universeIndex) {
    const long first = long{universeIndex} * layout_.universePixels;
    forEachWallRun(layout_, first, first + pixelsOf(universeIndex),
                   [this](std::size_t at, std::size_t length) { canvas_.restore(at, length); });
}

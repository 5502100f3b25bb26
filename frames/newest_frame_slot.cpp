#include "frames/newest_frame_slot.h"

NewestFrameSlot::NewestFrameSlot(std::size_t frameBytes) {
    for (auto& slot : slots_) slot.assign(frameBytes, 0);
}

const std::uint8_t* NewestFrameSlot::publish(std::vector<std::uint8_t>& frame, std::uint64_t serial,
                                             FrameClock::time_point cameAt) {
    const int published = filling_;
    slots_[published].swap(frame);
    serials_[published] = serial;
    cameAt_[published] = cameAt;
    filling_ = middle_.exchange(published | kFresh, std::memory_order_acq_rel) & 3;
    newestSerial_.store(serial, std::memory_order_release);
    return slots_[published].data();
}

const std::uint8_t* NewestFrameSlot::takeNewest(std::uint64_t& serial,
                                                FrameClock::time_point& cameAt) {
    if (middle_.load(std::memory_order_relaxed) & kFresh) {
        showing_ = middle_.exchange(showing_, std::memory_order_acq_rel) & 3;
    }
    serial = serials_[showing_];
    cameAt = cameAt_[showing_];
    return serial == 0 ? nullptr : slots_[showing_].data();
}

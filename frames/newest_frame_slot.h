// Whole frames from a receiver thread to the display's thread, the newest winning, without a
// lock: three slots, one being filled, one being shown, and between them the newest finished
// one. Publishing swaps the filled slot with the middle one; taking swaps the middle one with
// the shown one when it is newer. A frame the display had no time for is overwritten by the
// next. The receiver fills a buffer of its own and trades it for the filled slot's, so
// nothing is copied.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "frames/frame_source.h"

class NewestFrameSlot {
  public:
    explicit NewestFrameSlot(std::size_t frameBytes);

    // Receiver thread: hands `frame` over under a serial above 0, with the time its last
    // packet came, putting in its place a buffer of an older frame. Returns the frame
    // published, which the display only reads and which comes back to the receiver no sooner
    // than the next publish.
    const std::uint8_t* publish(std::vector<std::uint8_t>& frame, std::uint64_t serial,
                                FrameClock::time_point cameAt = {});

    // Display thread: the newest frame published (null before the first), its serial and the
    // time it came.
    const std::uint8_t* takeNewest(std::uint64_t& serial, FrameClock::time_point& cameAt);
    const std::uint8_t* takeNewest(std::uint64_t& serial) {
        FrameClock::time_point cameAt;
        return takeNewest(serial, cameAt);
    }

    // Any thread: the serial of the newest frame published, 0 before the first.
    std::uint64_t newestSerial() const { return newestSerial_.load(std::memory_order_acquire); }

  private:
    static constexpr int kFresh = 4;  // flag beside the middle slot's index: not yet taken

    std::vector<std::uint8_t> slots_[3];
    std::uint64_t serials_[3] = {0, 0, 0};
    FrameClock::time_point cameAt_[3];
    int filling_ = 0;  // receiver thread only
    int showing_ = 1;  // display thread only
    std::atomic<int> middle_{2};
    std::atomic<std::uint64_t> newestSerial_{0};
};

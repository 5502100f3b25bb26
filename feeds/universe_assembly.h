// The frame rules shared by the DMX protocols: a frame is shown when every universe of the
// wall has arrived, or 25 ms after the first one came, or, while the sender synchronises its
// universes, when its sync packet comes. A universe arriving a second time starts a new frame.
#pragma once

#include <chrono>
#include <cstdint>
#include <span>
#include <vector>

#include "feeds/feed_decoder.h"
#include "feeds/frame_canvas.h"
#include "feeds/wall_layout.h"

// Senders that number frames by time send a wall's universes within one frame period; 25 ms
// covers 40 frames a second and still shows a frame whose last universes were lost quickly.
inline constexpr auto kUniverseGatherTime = std::chrono::milliseconds(25);
// A frame waiting for a sync packet that never comes is shown after this.
inline constexpr auto kSyncWaitLimit = std::chrono::milliseconds(1000);

class UniverseAssembly {
  public:
    UniverseAssembly(const WallLayout& layout, FeedOutput& output);

    // Draws a universe (0 is the wall's first); `waitsForSync` holds the frame for sync().
    void add(int universeIndex, std::span<const std::uint8_t> channels, bool waitsForSync,
             FrameClock::time_point now);
    // The sender's sync packet: shows what arrived.
    void sync();
    void expire(FrameClock::time_point now);
    FrameClock::time_point deadline() const;

  private:
    void show();
    void restoreUniverse(int universeIndex);
    long pixelsOf(int universeIndex) const;

    WallLayout layout_;
    FrameCanvas canvas_;
    std::vector<bool> arrived_;
    int arrivedCount_ = 0;
    bool waitingForSync_ = false;
    FrameClock::time_point firstArrival_{};
};

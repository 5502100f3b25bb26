// The latency --stats gives a feed: from a frame's last packet to its upload, as the median of
// the frames uploaded in the last second, so that one slow frame does not hide the usual.
#pragma once

#include <chrono>
#include <deque>
#include <optional>

#include "frames/frame_source.h"

// The span the median is taken over, as the other figures are printed: once a second.
inline constexpr auto kLatencySpan = std::chrono::seconds(1);

class RecentLatencies {
  public:
    // A frame uploaded at `at`, `latency` after its last packet came.
    void add(FrameClock::time_point at, FrameClock::duration latency);

    // The median, in milliseconds, of the latencies added in the span before `now`; nothing
    // when there are none.
    std::optional<double> medianMilliseconds(FrameClock::time_point now) const;

  private:
    // A bound on memory, whatever the rate: far above the frames a display can upload.
    static constexpr std::size_t kMaxSamples = 4096;

    std::deque<std::pair<FrameClock::time_point, FrameClock::duration>> samples_;
};

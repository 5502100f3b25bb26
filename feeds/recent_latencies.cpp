#include "feeds/recent_latencies.h"

#include <algorithm>
#include <vector>

void RecentLatencies::add(FrameClock::time_point at, FrameClock::duration latency) {
    while (!samples_.empty() &&
           (samples_.size() >= kMaxSamples || at - samples_.front().first > kLatencySpan)) {
        samples_.pop_front();
    }
    samples_.emplace_back(at, latency);
}

std::optional<double> RecentLatencies::medianMilliseconds(FrameClock::time_point now) const {
    std::vector<FrameClock::duration> recent;
    for (const auto& [at, latency] : samples_) {
        if (now - at <= kLatencySpan) recent.push_back(latency);
    }
    if (recent.empty()) return std::nullopt;
    const auto middle = recent.begin() + recent.size() / 2;
    std::nth_element(recent.begin(), middle, recent.end());
    FrameClock::duration median = *middle;
    // An even count: the mean of the two middle ones, the lower being the largest below.
    if (recent.size() % 2 == 0) median = (median + *std::max_element(recent.begin(), middle)) / 2;
    return std::chrono::duration<double, std::milli>(median).count();
}

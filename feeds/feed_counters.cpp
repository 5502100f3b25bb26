// The --stats line of a feed from its counters.
#include "feeds/feed_counters.h"

#include <cinttypes>
#include <cstdio>

std::string feedStatsLine(std::string_view protocol, const FeedCounters& counters) {
    char numbers[128];
    std::snprintf(numbers, sizeof numbers,
                  ": %" PRIu64 " frames, %" PRIu64 " packets, %" PRIu64 " bad, %" PRIu64 " lost",
                  counters.frames.load(std::memory_order_relaxed),
                  counters.packets.load(std::memory_order_relaxed),
                  counters.bad.load(std::memory_order_relaxed),
                  counters.lost.load(std::memory_order_relaxed));
    return std::string(protocol) + numbers;
}

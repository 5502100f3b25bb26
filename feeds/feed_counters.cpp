// The --stats line of a feed from its counters.
#include "feeds/feed_counters.h"

#include <cinttypes>
#include <cstdio>

std::string feedStatsLine(FeedProtocol protocol, const FeedCounters& counters) {
    char numbers[160];
    int length = std::snprintf(numbers, sizeof numbers,
                               ": %" PRIu64 " frames, %" PRIu64 " packets, %" PRIu64
                               " bad, %" PRIu64 " lost",
                               counters.frames.load(std::memory_order_relaxed),
                               counters.packets.load(std::memory_order_relaxed),
                               counters.bad.load(std::memory_order_relaxed),
                               counters.lost.load(std::memory_order_relaxed));
    if (protocol == FeedProtocol::sacn) {
        std::snprintf(numbers + length, sizeof numbers - length, ", %" PRIu64 " dropped",
                      counters.dropped.load(std::memory_order_relaxed));
    }
    return protocolName(protocol) + std::string(numbers);
}

// What --stats shows of a feed. Written by the receiver thread only, read by the display's
// thread: plain atomics, no lock on the receive path.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "feeds/feed_protocol.h"

struct FeedCounters {
    std::atomic<std::uint64_t> frames{0};
    std::atomic<std::uint64_t> packets{0};
    std::atomic<std::uint64_t> bad{0};   // did not parse, or did not fit the wall
    std::atomic<std::uint64_t> lost{0};  // gaps in the senders' sequence numbers
    // Came whole but set aside by the source rules (sACN: out of order, one source too many).
    std::atomic<std::uint64_t> dropped{0};

    // Single writer: an add without a locked read-modify-write.
    static void add(std::atomic<std::uint64_t>& counter, std::uint64_t amount = 1) {
        counter.store(counter.load(std::memory_order_relaxed) + amount, std::memory_order_relaxed);
    }
};

// "<protocol>: <frames> frames, <packets> packets, <bad> bad, <lost> lost", and for sACN,
// whose source rules set packets aside, ", <dropped> dropped".
std::string feedStatsLine(FeedProtocol protocol, const FeedCounters& counters);

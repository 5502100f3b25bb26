// The feed targets' input: a six-byte header that lays out the wall, then datagrams, each
// after a three-byte record header (its length, big-endian, and a byte of timing and sender).
// The fuzzer reads it; the seed writer writes it, so the two cannot drift apart.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

#include "feeds/wall_layout.h"

// Wall sides the header can give: rows of up to 256 LEDs (long enough for the streaming copy
// of wide rows), up to 64 rows; 16384 LEDs is plenty of universes for assembly, and small
// enough that every frame handed over is read in microseconds.
inline constexpr int kFeedInputMaxWidth = 256;
inline constexpr int kFeedInputMaxHeight = 64;
// --universe's range.
inline constexpr int kFeedInputUniverses = 64000;
inline constexpr std::size_t kFeedInputHeaderBytes = 6;
inline constexpr std::size_t kFeedRecordHeaderBytes = 3;
// A record's timing byte: below this, milliseconds; from it on, steps of kFeedLongStepMs, so one
// byte reaches every rule's time (25 ms gathering, 250 ms polls, 1 s sync wait, 2.5 s source
// loss, 4 s sync lapse).
inline constexpr int kFeedShortSteps = 100;
inline constexpr int kFeedLongStepMs = 200;
inline constexpr std::uint8_t kFeedOtherPortBit = 0x80;

// Header bytes: width - 1, height - 1, universe pixels - 1, serpentine in bit 0 and the channel
// order above it, first universe big-endian. Every value is taken modulo its range.
inline WallLayout feedInputLayout(std::span<const std::uint8_t, kFeedInputHeaderBytes> header) {
    WallLayout layout;
    layout.width = 1 + header[0] % kFeedInputMaxWidth;
    layout.height = 1 + header[1] % kFeedInputMaxHeight;
    layout.universePixels = 1 + header[2] % kMaxUniversePixels;
    layout.serpentine = header[3] & 1;
    layout.order = static_cast<ChannelOrder>((header[3] >> 1) % 6);
    layout.firstUniverse = (header[4] << 8 | header[5]) % kFeedInputUniverses;
    return layout;
}

struct FeedRecord {
    std::span<const std::uint8_t> datagram;
    int stepMs = 0;          // time since the datagram before
    bool otherPort = false;  // sent from a port other than the protocol's own
};

inline int feedStepMs(std::uint8_t timing) {
    const int step = timing & ~kFeedOtherPortBit;
    return step < kFeedShortSteps ? step : (step - kFeedShortSteps + 1) * kFeedLongStepMs;
}

// Calls take(record) for each record after the header. A length past the input's end takes
// what is left, so a cut input still gives its last datagram.
template <typename Take>
void forEachFeedRecord(std::span<const std::uint8_t> records, Take take) {
    while (records.size() >= kFeedRecordHeaderBytes) {
        const std::size_t length = std::size_t{records[0]} << 8 | records[1];
        FeedRecord record;
        record.stepMs = feedStepMs(records[2]);
        record.otherPort = records[2] & kFeedOtherPortBit;
        records = records.subspan(kFeedRecordHeaderBytes);
        record.datagram = records.first(std::min(length, records.size()));
        records = records.subspan(record.datagram.size());
        take(record);
    }
}

// The writing side, for seeds: the inverse of the reading above, refusing what it cannot say.
inline std::vector<std::uint8_t> feedInputHeader(const WallLayout& layout) {
    if (layout.width > kFeedInputMaxWidth || layout.height > kFeedInputMaxHeight ||
        layout.firstUniverse >= kFeedInputUniverses)
        throw std::invalid_argument("wall beyond what a feed input header says");
    return {static_cast<std::uint8_t>(layout.width - 1),
            static_cast<std::uint8_t>(layout.height - 1),
            static_cast<std::uint8_t>(layout.universePixels - 1),
            static_cast<std::uint8_t>(layout.serpentine | static_cast<int>(layout.order) << 1),
            static_cast<std::uint8_t>(layout.firstUniverse >> 8),
            static_cast<std::uint8_t>(layout.firstUniverse)};
}

inline void appendFeedRecord(std::vector<std::uint8_t>& input,
                             std::span<const std::uint8_t> datagram, int stepMs,
                             bool otherPort = false) {
    int timing = stepMs;
    if (stepMs >= kFeedShortSteps) {
        if (stepMs % kFeedLongStepMs != 0) throw std::invalid_argument("step not a long step");
        timing = kFeedShortSteps - 1 + stepMs / kFeedLongStepMs;
    }
    if (timing > 0x7f || datagram.size() > 0xffff)
        throw std::invalid_argument("record beyond what a feed input says");
    const std::size_t at = input.size();
    input.resize(at + kFeedRecordHeaderBytes + datagram.size());
    input[at] = static_cast<std::uint8_t>(datagram.size() >> 8);
    input[at + 1] = static_cast<std::uint8_t>(datagram.size());
    input[at + 2] = static_cast<std::uint8_t>(timing | (otherPort ? kFeedOtherPortBit : 0));
    std::copy(datagram.begin(), datagram.end(), input.begin() + at + kFeedRecordHeaderBytes);
}

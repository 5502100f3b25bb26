// Which sACN source a universe follows: packets whose sequence number went back (by less than
// 20, as E1.31 has it) are dropped, the highest priority among the live sources wins, a source
// is released when it says its stream terminated or after 2.5 s of silence. A sender restarted
// sooner, numbering from 0 again, has its first packets dropped by the same rule: they are
// counted, not lost.
#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

#include "feeds/sacn_packet.h"
#include "frames/frame_source.h"

// E1.31's network data loss time.
inline constexpr auto kSacnSourceTimeout = std::chrono::milliseconds(2500);
// Sources tracked a universe; more at once are ignored until one goes (a bound on memory).
inline constexpr std::size_t kSacnMaxSourcesPerUniverse = 8;

struct SacnVerdict {
    bool apply = false;    // draw the packet's levels
    bool dropped = false;  // set aside unseen: out of order, or one source too many
    int lost = 0;          // packets missing before this one from its source
};

class SacnSources {
  public:
    explicit SacnSources(int universeCount) : universes_(universeCount) {}

    SacnVerdict accept(int universeIndex, const SacnPacket& packet, FrameClock::time_point now);

  private:
    struct Source {
        SacnSourceId id;
        int priority;
        int sequence;
        FrameClock::time_point lastSeen;
    };
    std::vector<std::vector<Source>> universes_;
};

// sACN (E1.31) datagrams: data packets of one DMX universe, and universe synchronisation.
// Parsed without sockets or state; sequence, priority and sync rules live in the assembly.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "feeds/parsed_packet.h"

inline constexpr int kSacnMaxUniverse = 63999;
inline constexpr int kDmxChannels = 512;

using SacnSourceId = std::array<std::uint8_t, 16>;  // the sender's CID

struct SacnPacket {
    enum class Kind { data, sync, discovery };
    Kind kind = Kind::data;
    SacnSourceId source{};
    int sequence = 0;     // 0 to 255, per source and universe
    int syncAddress = 0;  // data: the universe whose sync packets show it; 0 for none
    // Data packets only.
    int universe = 0;  // 1 to 63999
    int priority = 0;  // 0 to 200
    bool preview = false;
    bool terminated = false;  // the source stops sending this universe
    int startCode = 0;        // 0 for DMX levels; others (such as per-channel priority) differ
    std::span<const std::uint8_t> channels{};  // up to 512 levels after the start code
};

ParsedPacket<SacnPacket> parseSacnPacket(std::span<const std::uint8_t> datagram);

// Art-Net datagrams: ArtDmx (one universe of levels), ArtSync, ArtPoll, and the ArtPollReply
// a node answers with. Parsed and written without sockets or state.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "feeds/parsed_packet.h"

inline constexpr int kArtnetMaxPortAddress = 0x7FFF;
inline constexpr std::size_t kArtPollReplyBytes = 239;
inline constexpr int kArtPollReplyPorts = 4;  // ports one reply describes

struct ArtnetPacket {
    enum class Kind { dmx, sync, poll, other };
    Kind kind = Kind::other;
    // ArtDmx only.
    int sequence = 0;     // 1 to 255; 0 when the sender does not number its packets
    int portAddress = 0;  // net, sub-net and universe: 0 to 32767
    std::span<const std::uint8_t> channels{};
};

ParsedPacket<ArtnetPacket> parseArtnetPacket(std::span<const std::uint8_t> datagram);

// What one ArtPollReply says about this node: up to four output ports that share their net
// and sub-net (the high 11 bits of the port address).
struct ArtPollReplyFields {
    std::array<std::uint8_t, 4> address{};  // the node's IPv4 address; zeros when it has none
    std::string_view name;                  // short and long name
    int firstPortAddress = 0;
    int portCount = 1;  // 1 to 4, consecutive from firstPortAddress within one sub-net
    int bindIndex = 1;  // 1, 2, ... when one node sends several replies
};

// Port groups a wall of `universeCount` port addresses from `firstPortAddress` needs: one
// reply each, split where the sub-net changes.
int artPollReplyCount(int firstPortAddress, int universeCount);
ArtPollReplyFields artPollReplyGroup(int firstPortAddress, int universeCount, int group);

void writeArtPollReply(const ArtPollReplyFields& fields,
                       std::span<std::uint8_t, kArtPollReplyBytes> reply);

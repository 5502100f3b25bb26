// A sender's or receiver's address as the decoders see it, free of the socket API.
#pragma once

#include <array>
#include <cstdint>

struct PeerAddress {
    bool ipv6 = false;
    std::array<std::uint8_t, 16> bytes{};  // IPv4 in the first four
    int port = 0;
};

// Where a datagram was sent and the interface it came in on, when the socket reports it.
struct DatagramDestination {
    PeerAddress address;
    int interfaceIndex = 0;
};

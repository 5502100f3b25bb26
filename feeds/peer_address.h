// A sender's or receiver's address as the decoders see it, free of the socket API.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

struct PeerAddress {
    bool ipv6 = false;
    std::array<std::uint8_t, 16> bytes{};  // IPv4 in the first four
    int port = 0;
};

// The same host: the same family and address, whatever the ports.
inline bool sameHost(const PeerAddress& a, const PeerAddress& b) {
    const std::size_t length = a.ipv6 ? 16 : 4;
    return a.ipv6 == b.ipv6 &&
           std::equal(a.bytes.begin(), a.bytes.begin() + length, b.bytes.begin());
}

// Where a datagram was sent and the interface it came in on, when the socket reports it.
struct DatagramDestination {
    PeerAddress address;
    int interfaceIndex = 0;
};

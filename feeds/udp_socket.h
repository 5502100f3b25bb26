// The socket layer of the feeds: numeric addresses (no name look-ups), one UDP socket bound to
// IPv4 or IPv6, multicast joins on a given interface, batched receiving and sending.
#pragma once

#include <array>
#include <optional>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "feeds/peer_address.h"
#include "feeds/wake_signal.h"

// A numeric address and port; false with the reason when the text is not one.
bool parseNumericAddress(const std::string& text, int port, PeerAddress& address,
                         std::string& error);
bool isLoopback(const PeerAddress& address);
bool isWildcard(const PeerAddress& address);

struct ReceivedDatagram {
    std::span<const std::uint8_t> bytes;
    PeerAddress from;
    bool truncated = false;  // larger than the buffer: only its start is in `bytes`
    DatagramDestination to;  // filled once reportDestinations() is on
};

class UdpSocket {
  public:
    UdpSocket() = default;
    UdpSocket(UdpSocket&& other) noexcept
        : fd_(other.fd_), reportsDestinations_(other.reportsDestinations_) {
        other.fd_ = -1;
    }
    UdpSocket& operator=(UdpSocket&& other) noexcept;
    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;
    ~UdpSocket();

    // Binds to the address; false with a reason fit for the user ("port 5568 of 127.0.0.1
    // is taken").
    bool bind(const PeerAddress& address, std::string& error);
    bool isOpen() const { return fd_ >= 0; }
    // The port the kernel gave when bound to port 0.
    int localPort() const;

    // Joins the multicast group on the interface that has the IPv4 `interfaceAddress`.
    bool joinGroup(const PeerAddress& group, const PeerAddress& interfaceAddress);
    // Linux otherwise hands a socket on every address the traffic of every group any socket
    // of the machine joined on its port.
    bool receiveOnlyJoinedGroups();
    // Each datagram received from now on carries where it was sent and its interface.
    bool reportDestinations();

    // Waits up to timeoutMs (0: not at all, -1: without end) for a datagram on any of the
    // sockets, or for `wake` when given; true when a socket is readable.
    static bool waitReadable(std::span<UdpSocket* const> sockets, int timeoutMs,
                             const WakeSignal* wake = nullptr);

    // Takes up to `buffers.size()` waiting datagrams without blocking, one buffer each.
    int receiveBatch(std::vector<std::vector<std::uint8_t>>& buffers,
                     std::vector<ReceivedDatagram>& received);

    bool sendTo(std::span<const std::uint8_t> datagram, const PeerAddress& to);

    // Our IPv4 address as seen from `peer` (the route's source address); zeros without one.
    static std::array<std::uint8_t, 4> localAddressTowards(const PeerAddress& peer);
    // The interface that has this address: its index (0 when none has) and, for IPv4, its
    // network's broadcast address when it has one.
    struct Interface {
        int index = 0;
        std::optional<PeerAddress> broadcast;
    };
    static Interface interfaceOf(const PeerAddress& address);

  private:
    int fd_ = -1;
    bool reportsDestinations_ = false;
};

std::string addressText(const PeerAddress& address);

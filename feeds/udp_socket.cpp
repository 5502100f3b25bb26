// POSIX sockets behind UdpSocket. Receive buffers are raised as far as the system lets: a
// wall of hundreds of universes arrives in bursts faster than a display frame.
#include "feeds/udp_socket.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

constexpr int kReceiveBufferBytes = 16 << 20;

socklen_t toSockaddr(const PeerAddress& address, sockaddr_storage& storage) {
    std::memset(&storage, 0, sizeof storage);
    if (address.ipv6) {
        auto* v6 = reinterpret_cast<sockaddr_in6*>(&storage);
        v6->sin6_family = AF_INET6;
        v6->sin6_port = htons(static_cast<std::uint16_t>(address.port));
        std::memcpy(&v6->sin6_addr, address.bytes.data(), 16);
        return sizeof *v6;
    }
    auto* v4 = reinterpret_cast<sockaddr_in*>(&storage);
    v4->sin_family = AF_INET;
    v4->sin_port = htons(static_cast<std::uint16_t>(address.port));
    std::memcpy(&v4->sin_addr, address.bytes.data(), 4);
    return sizeof *v4;
}

PeerAddress fromSockaddr(const sockaddr_storage& storage) {
    PeerAddress address;
    if (storage.ss_family == AF_INET6) {
        const auto* v6 = reinterpret_cast<const sockaddr_in6*>(&storage);
        address.ipv6 = true;
        std::memcpy(address.bytes.data(), &v6->sin6_addr, 16);
        address.port = ntohs(v6->sin6_port);
    } else {
        const auto* v4 = reinterpret_cast<const sockaddr_in*>(&storage);
        std::memcpy(address.bytes.data(), &v4->sin_addr, 4);
        address.port = ntohs(v4->sin_port);
    }
    return address;
}

// The IPv4 destination and interface IP_PKTINFO put beside a datagram; zeros without it.
DatagramDestination destinationOf(msghdr& header) {
    DatagramDestination destination;
    for (cmsghdr* part = CMSG_FIRSTHDR(&header); part != nullptr;
         part = CMSG_NXTHDR(&header, part)) {
        if (part->cmsg_level != IPPROTO_IP || part->cmsg_type != IP_PKTINFO) continue;
        in_pktinfo info;
        std::memcpy(&info, CMSG_DATA(part), sizeof info);
        std::memcpy(destination.address.bytes.data(), &info.ipi_addr, 4);
        destination.interfaceIndex = info.ipi_ifindex;
    }
    return destination;
}

}  // namespace

bool parseNumericAddress(const std::string& text, int port, PeerAddress& address,
                         std::string& error) {
    address = PeerAddress{};
    address.port = port;
    if (inet_pton(AF_INET, text.c_str(), address.bytes.data()) == 1) return true;
    if (inet_pton(AF_INET6, text.c_str(), address.bytes.data()) == 1) {
        address.ipv6 = true;
        return true;
    }
    error = "\"" + text + "\" is not a numeric IPv4 or IPv6 address";
    return false;
}

bool isLoopback(const PeerAddress& address) {
    if (!address.ipv6) return address.bytes[0] == 127;
    static const std::uint8_t loopback6[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
    return std::memcmp(address.bytes.data(), loopback6, 16) == 0;
}

bool isWildcard(const PeerAddress& address) {
    const std::size_t length = address.ipv6 ? 16 : 4;
    for (std::size_t i = 0; i < length; ++i) {
        if (address.bytes[i] != 0) return false;
    }
    return true;
}

std::string addressText(const PeerAddress& address) {
    char text[INET6_ADDRSTRLEN] = {};
    inet_ntop(address.ipv6 ? AF_INET6 : AF_INET, address.bytes.data(), text, sizeof text);
    if (!address.ipv6) return text;
    std::string bracketed = "[";
    bracketed += text;
    bracketed += ']';
    return bracketed;
}

UdpSocket& UdpSocket::operator=(UdpSocket&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = other.fd_;
        reportsDestinations_ = other.reportsDestinations_;
        other.fd_ = -1;
    }
    return *this;
}

UdpSocket::~UdpSocket() {
    if (fd_ >= 0) ::close(fd_);
}

bool UdpSocket::bind(const PeerAddress& address, std::string& error) {
    fd_ = ::socket(address.ipv6 ? AF_INET6 : AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0) {
        error = std::string("cannot open a UDP socket: ") + std::strerror(errno);
        return false;
    }
    const int one = 1;
    if (address.ipv6) setsockopt(fd_, IPPROTO_IPV6, IPV6_V6ONLY, &one, sizeof one);
    // Raised without privileges as far as the system's limit, beyond it where allowed.
    setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &kReceiveBufferBytes, sizeof kReceiveBufferBytes);
    setsockopt(fd_, SOL_SOCKET, SO_RCVBUFFORCE, &kReceiveBufferBytes, sizeof kReceiveBufferBytes);
    sockaddr_storage storage;
    const socklen_t length = toSockaddr(address, storage);
    if (::bind(fd_, reinterpret_cast<sockaddr*>(&storage), length) != 0) {
        const int cause = errno;
        ::close(fd_);
        fd_ = -1;
        const std::string where =
            "port " + std::to_string(address.port) + " of " + addressText(address);
        error = cause == EADDRINUSE ? where + " is taken"
                                    : "cannot bind " + where + ": " + std::strerror(cause);
        return false;
    }
    return true;
}

int UdpSocket::localPort() const {
    sockaddr_storage storage{};
    socklen_t length = sizeof storage;
    if (getsockname(fd_, reinterpret_cast<sockaddr*>(&storage), &length) != 0) return 0;
    return fromSockaddr(storage).port;
}

bool UdpSocket::joinGroup(const PeerAddress& group, const PeerAddress& interfaceAddress) {
    ip_mreq request{};
    std::memcpy(&request.imr_multiaddr, group.bytes.data(), 4);
    std::memcpy(&request.imr_interface, interfaceAddress.bytes.data(), 4);
    return setsockopt(fd_, IPPROTO_IP, IP_ADD_MEMBERSHIP, &request, sizeof request) == 0;
}

bool UdpSocket::receiveOnlyJoinedGroups() {
    const int zero = 0;
    return setsockopt(fd_, IPPROTO_IP, IP_MULTICAST_ALL, &zero, sizeof zero) == 0;
}

bool UdpSocket::reportDestinations() {
    const int one = 1;
    reportsDestinations_ = setsockopt(fd_, IPPROTO_IP, IP_PKTINFO, &one, sizeof one) == 0;
    return reportsDestinations_;
}

bool UdpSocket::waitReadable(std::span<UdpSocket* const> sockets, int timeoutMs,
                             const WakeSignal* wake) {
    pollfd fds[9];
    const std::size_t count = std::min<std::size_t>(sockets.size(), 8);
    for (std::size_t i = 0; i < count; ++i) fds[i] = {sockets[i]->fd_, POLLIN, 0};
    if (wake != nullptr) fds[count] = {wake->descriptor(), POLLIN, 0};
    if (::poll(fds, count + (wake != nullptr), timeoutMs) <= 0) return false;
    for (std::size_t i = 0; i < count; ++i) {
        if (fds[i].revents != 0) return true;
    }
    return false;
}

int UdpSocket::receiveBatch(std::vector<std::vector<std::uint8_t>>& buffers,
                            std::vector<ReceivedDatagram>& received) {
    constexpr std::size_t kMaxBatch = 64;
    const std::size_t count = std::min(buffers.size(), kMaxBatch);
    mmsghdr messages[kMaxBatch];
    iovec parts[kMaxBatch];
    sockaddr_storage senders[kMaxBatch];
    struct alignas(cmsghdr) Control {
        std::uint8_t bytes[CMSG_SPACE(sizeof(in_pktinfo))];
    };
    Control controls[kMaxBatch];
    for (std::size_t i = 0; i < count; ++i) {
        parts[i] = {buffers[i].data(), buffers[i].size()};
        messages[i] = {};
        messages[i].msg_hdr.msg_iov = &parts[i];
        messages[i].msg_hdr.msg_iovlen = 1;
        messages[i].msg_hdr.msg_name = &senders[i];
        messages[i].msg_hdr.msg_namelen = sizeof senders[i];
        if (reportsDestinations_) {
            messages[i].msg_hdr.msg_control = controls[i].bytes;
            messages[i].msg_hdr.msg_controllen = sizeof controls[i].bytes;
        }
    }
    const int got = ::recvmmsg(fd_, messages, static_cast<unsigned>(count), MSG_DONTWAIT, nullptr);
    received.clear();
    for (int i = 0; i < got; ++i) {
        ReceivedDatagram datagram;
        datagram.bytes = {buffers[i].data(), messages[i].msg_len};
        datagram.from = fromSockaddr(senders[i]);
        datagram.truncated = messages[i].msg_hdr.msg_flags & MSG_TRUNC;
        if (reportsDestinations_) datagram.to = destinationOf(messages[i].msg_hdr);
        received.push_back(datagram);
    }
    return got < 0 ? 0 : got;
}

bool UdpSocket::sendTo(std::span<const std::uint8_t> datagram, const PeerAddress& to) {
    sockaddr_storage storage;
    const socklen_t length = toSockaddr(to, storage);
    return ::sendto(fd_, datagram.data(), datagram.size(), MSG_DONTWAIT,
                    reinterpret_cast<sockaddr*>(&storage),
                    length) == static_cast<ssize_t>(datagram.size());
}

std::array<std::uint8_t, 4> UdpSocket::localAddressTowards(const PeerAddress& peer) {
    std::array<std::uint8_t, 4> local{};
    if (peer.ipv6) return local;
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return local;
    sockaddr_storage storage;
    const socklen_t length = toSockaddr(peer, storage);
    sockaddr_storage mine{};
    socklen_t mineLength = sizeof mine;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&storage), length) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&mine), &mineLength) == 0) {
        std::memcpy(local.data(), fromSockaddr(mine).bytes.data(), 4);
    }
    ::close(fd);
    return local;
}

UdpSocket::Interface UdpSocket::interfaceOf(const PeerAddress& address) {
    Interface found;
    ifaddrs* interfaces = nullptr;
    if (getifaddrs(&interfaces) != 0) return found;
    int& index = found.index;
    for (const ifaddrs* entry = interfaces; entry != nullptr && index == 0;
         entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr) continue;
        const int family = entry->ifa_addr->sa_family;
        if (family != (address.ipv6 ? AF_INET6 : AF_INET)) continue;
        sockaddr_storage storage{};
        std::memcpy(&storage, entry->ifa_addr,
                    family == AF_INET6 ? sizeof(sockaddr_in6) : sizeof(sockaddr_in));
        const PeerAddress mine = fromSockaddr(storage);
        if (!sameHost(mine, address)) continue;
        index = static_cast<int>(if_nametoindex(entry->ifa_name));
        if (family == AF_INET && (entry->ifa_flags & IFF_BROADCAST) &&
            entry->ifa_broadaddr != nullptr) {
            sockaddr_storage broadcast{};
            std::memcpy(&broadcast, entry->ifa_broadaddr, sizeof(sockaddr_in));
            found.broadcast = fromSockaddr(broadcast);
        }
    }
    freeifaddrs(interfaces);
    return found;
}

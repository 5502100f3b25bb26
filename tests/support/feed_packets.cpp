#include "tests/support/feed_packets.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>

namespace testsupport {

namespace {

void put16(Bytes& bytes, std::size_t at, int value) {
    bytes[at] = static_cast<std::uint8_t>(value >> 8);
    bytes[at + 1] = static_cast<std::uint8_t>(value);
}

// An ACN root layer of the given vector, sized for a packet of `total` bytes.
Bytes acnRoot(std::size_t total, std::uint32_t vector, const std::array<std::uint8_t, 16>& cid) {
    Bytes bytes(total, 0);
    put16(bytes, 0, 0x0010);
    std::memcpy(&bytes[4], "ASC-E1.17\0\0\0", 12);
    put16(bytes, 16, 0x7000 | int(total - 16));
    put16(bytes, 18, int(vector >> 16));
    put16(bytes, 20, int(vector & 0xFFFF));
    std::memcpy(&bytes[22], cid.data(), 16);
    put16(bytes, 38, 0x7000 | int(total - 38));
    return bytes;
}

Bytes artHeader(int opCode, std::size_t total) {
    Bytes bytes(total, 0);
    std::memcpy(bytes.data(), "Art-Net\0", 8);
    bytes[8] = static_cast<std::uint8_t>(opCode);
    bytes[9] = static_cast<std::uint8_t>(opCode >> 8);
    put16(bytes, 10, 14);
    return bytes;
}

}  // namespace

Bytes ddpPacket(std::uint32_t offset, const Bytes& data, bool push, int sequence) {
    Bytes bytes(10 + data.size(), 0);
    bytes[0] = 0x40 | (push ? 0x01 : 0);
    bytes[1] = static_cast<std::uint8_t>(sequence & 0x0F);
    bytes[2] = 0x0B;
    bytes[3] = 1;
    put16(bytes, 4, int(offset >> 16));
    put16(bytes, 6, int(offset & 0xFFFF));
    put16(bytes, 8, int(data.size()));
    std::memcpy(bytes.data() + 10, data.data(), data.size());
    return bytes;
}

Bytes sacnData(const SacnFields& fields, const Bytes& channels) {
    Bytes bytes = acnRoot(126 + channels.size(), 0x00000004, fields.source);
    put16(bytes, 40, 0);
    put16(bytes, 42, 0x0002);
    std::memcpy(&bytes[44], "test sender", 11);
    bytes[108] = static_cast<std::uint8_t>(fields.priority);
    put16(bytes, 109, fields.syncAddress);
    bytes[111] = static_cast<std::uint8_t>(fields.sequence);
    bytes[112] = fields.terminated ? 0x40 : 0;
    put16(bytes, 113, fields.universe);
    put16(bytes, 115, 0x7000 | int(bytes.size() - 115));
    bytes[117] = 0x02;
    bytes[118] = 0xA1;
    put16(bytes, 119, 0);
    put16(bytes, 121, 1);
    put16(bytes, 123, int(channels.size() + 1));
    bytes[125] = 0;
    std::memcpy(&bytes[126], channels.data(), channels.size());
    return bytes;
}

Bytes sacnSync(int syncAddress, int sequence) {
    Bytes bytes = acnRoot(49, 0x00000008, {});
    put16(bytes, 42, 0x0001);
    bytes[44] = static_cast<std::uint8_t>(sequence);
    put16(bytes, 45, syncAddress);
    return bytes;
}

Bytes artDmx(int portAddress, const Bytes& channels, int sequence) {
    Bytes bytes = artHeader(0x5000, 18 + channels.size());
    bytes[12] = static_cast<std::uint8_t>(sequence);
    bytes[14] = static_cast<std::uint8_t>(portAddress & 0xFF);
    bytes[15] = static_cast<std::uint8_t>(portAddress >> 8);
    put16(bytes, 16, int(channels.size()));
    std::memcpy(&bytes[18], channels.data(), channels.size());
    return bytes;
}

Bytes artSync() {
    return artHeader(0x5200, 14);
}

Bytes artPoll() {
    return artHeader(0x2000, 14);
}

Bytes flaschenPacket(int width, int height, const Bytes& pixels, int x, int y) {
    std::string header = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n";
    if (x != 0 || y != 0) header += "#FT: " + std::to_string(x) + " " + std::to_string(y) + " 0\n";
    header += "255\n";
    Bytes bytes(header.begin(), header.end());
    bytes.insert(bytes.end(), pixels.begin(), pixels.end());
    return bytes;
}

LoopbackSender::LoopbackSender(bool ipv6) : ipv6_(ipv6) {
    fd_ = ::socket(ipv6 ? AF_INET6 : AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_storage any{};
    any.ss_family = ipv6 ? AF_INET6 : AF_INET;
    if (ipv6) {
        reinterpret_cast<sockaddr_in6*>(&any)->sin6_addr = in6addr_loopback;
    } else {
        reinterpret_cast<sockaddr_in*>(&any)->sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    }
    ::bind(fd_, reinterpret_cast<sockaddr*>(&any),
           ipv6 ? sizeof(sockaddr_in6) : sizeof(sockaddr_in));
}

LoopbackSender::~LoopbackSender() {
    if (fd_ >= 0) ::close(fd_);
}

bool LoopbackSender::send(const Bytes& datagram, int port) {
    sockaddr_storage to{};
    socklen_t length = 0;
    if (ipv6_) {
        auto* v6 = reinterpret_cast<sockaddr_in6*>(&to);
        v6->sin6_family = AF_INET6;
        v6->sin6_port = htons(static_cast<std::uint16_t>(port));
        v6->sin6_addr = in6addr_loopback;
        length = sizeof *v6;
    } else {
        auto* v4 = reinterpret_cast<sockaddr_in*>(&to);
        v4->sin_family = AF_INET;
        v4->sin_port = htons(static_cast<std::uint16_t>(port));
        v4->sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        length = sizeof *v4;
    }
    return ::sendto(fd_, datagram.data(), datagram.size(), 0, reinterpret_cast<sockaddr*>(&to),
                    length) == static_cast<ssize_t>(datagram.size());
}

int LoopbackSender::localPort() const {
    sockaddr_storage mine{};
    socklen_t length = sizeof mine;
    getsockname(fd_, reinterpret_cast<sockaddr*>(&mine), &length);
    return ntohs(ipv6_ ? reinterpret_cast<sockaddr_in6*>(&mine)->sin6_port
                       : reinterpret_cast<sockaddr_in*>(&mine)->sin_port);
}

Bytes LoopbackSender::receive(int timeoutMs) {
    pollfd fd{fd_, POLLIN, 0};
    if (::poll(&fd, 1, timeoutMs) <= 0) return {};
    Bytes bytes(65536);
    const ssize_t got = ::recv(fd_, bytes.data(), bytes.size(), 0);
    bytes.resize(got > 0 ? std::size_t(got) : 0);
    return bytes;
}

}  // namespace testsupport

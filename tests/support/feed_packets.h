// A sender of our own for the live feeds, written from the protocols: datagrams of DDP, sACN,
// Art-Net and FlaschenTaschen built byte by byte, and a loopback UDP sender for them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

using Bytes = std::vector<std::uint8_t>;

Bytes ddpPacket(std::uint32_t offset, const Bytes& data, bool push, int sequence = 0);

struct SacnFields {
    int universe = 1;
    int priority = 100;
    int sequence = 0;
    int syncAddress = 0;
    bool terminated = false;
    std::array<std::uint8_t, 16> source{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
};
Bytes sacnData(const SacnFields& fields, const Bytes& channels);
Bytes sacnSync(int syncAddress, int sequence = 0);

Bytes artDmx(int portAddress, const Bytes& channels, int sequence = 0);
Bytes artSync();
Bytes artPoll();

// "P6 w h 255" with the "#FT: x y" offset comment when x or y is not 0.
Bytes flaschenPacket(int width, int height, const Bytes& pixels, int x = 0, int y = 0);

// Sends datagrams to 127.0.0.1 (or ::1) only.
class LoopbackSender {
  public:
    explicit LoopbackSender(bool ipv6 = false);
    ~LoopbackSender();
    bool send(const Bytes& datagram, int port);
    int localPort() const;
    // Waits up to timeoutMs for a datagram sent back to this sender; empty when none came.
    Bytes receive(int timeoutMs);

  private:
    int fd_ = -1;
    bool ipv6_ = false;
};

}  // namespace testsupport

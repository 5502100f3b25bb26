// A feed's receiver: its sockets, bound before the window opens, and a thread of its own that
// takes every datagram, hands it to the protocol's decoder and hands whole frames over to the
// display. Nothing on the receive path takes a lock.
#pragma once

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "feeds/feed_counters.h"
#include "feeds/feed_decoder.h"
#include "feeds/feed_protocol.h"
#include "feeds/named_address_listen.h"
#include "feeds/udp_socket.h"
#include "feeds/wall_layout.h"
#include "frames/newest_frame_slot.h"

class FeedReceiver final : private FeedOutput {
  public:
    // Binds the sockets; null with the reason in `error` when that fails. `notices` gets what
    // the user should know (the wall open to the network, multicast groups not joined).
    static std::unique_ptr<FeedReceiver> open(const ListenSpec& spec, const WallLayout& layout,
                                              std::string& error,
                                              std::vector<std::string>& notices);
    ~FeedReceiver() override;

    void start();
    void stop();

    NewestFrameSlot& frameSlot() { return frameSlot_; }
    // Called on the receiver thread after every frame handed over; null for none.
    void setWake(FrameWake wake) { wake_.store(wake, std::memory_order_release); }
    const FeedCounters& counters() const { return counters_; }
    const ListenSpec& spec() const { return spec_; }
    int port() const { return socket_.localPort(); }
    // CPU time the receiver thread used, in seconds; valid after stop().
    double threadCpuSeconds() const { return cpuSeconds_; }

  private:
    FeedReceiver(const ListenSpec& spec, const WallLayout& layout);
    bool bindOnEveryAddress(const PeerAddress& address, std::string& error);
    void run();
    const std::uint8_t* handOver(std::vector<std::uint8_t>& frame) override;
    void reply(std::span<const std::uint8_t> datagram, const PeerAddress& to) override;
    std::array<std::uint8_t, 4> localAddressTowards(const PeerAddress& peer) override;

    ListenSpec spec_;
    WallLayout layout_;
    FeedCounters counters_;
    NewestFrameSlot frameSlot_;
    std::unique_ptr<FeedDecoder> decoder_;
    UdpSocket socket_;
    std::optional<NamedAddressListen> named_;  // on a named address: what is ours
    std::thread thread_;
    std::atomic<bool> stopping_{false};
    WakeSignal wakeSignal_;
    std::atomic<FrameWake> wake_{nullptr};
    FrameClock::time_point datagramAt_;  // when the datagram being decoded came
    double cpuSeconds_ = 0;
};

// Checks that the wall's universes exist in the protocol: an error text, or empty.
std::string checkUniverseRange(FeedProtocol protocol, const WallLayout& layout);

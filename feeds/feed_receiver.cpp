// The receiver thread's loop: wait (until the decoder's next deadline when a frame is pending,
// else until a datagram comes or stop() wakes it), take datagrams in batches, decode, expire.
#include "feeds/feed_receiver.h"

#include <time.h>

#include <algorithm>
#include <chrono>

#include "feeds/artnet_packet.h"
#include "feeds/sacn_packet.h"

namespace {

// Buffers hold the largest UDP payload, so nothing a sender sends is cut without notice.
constexpr std::size_t kDatagramBytes = 65536;
constexpr std::size_t kBatch = 32;
// Without a wake signal (the system gave no eventfd) stop() is seen only between waits.
constexpr int kWaitWithoutWakeMs = 5;
// Datagrams taken before the loop looks at its stop flag and deadlines again.
constexpr int kDatagramsPerTurn = 4096;

double currentThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + now.tv_nsec * 1e-9;
}

}  // namespace

std::string checkUniverseRange(FeedProtocol protocol, const WallLayout& layout) {
    const long last = long{layout.firstUniverse} + layout.universeCount() - 1;
    if (protocol == FeedProtocol::sacn && (layout.firstUniverse < 1 || last > kSacnMaxUniverse)) {
        return "the wall needs sACN universes " + std::to_string(layout.firstUniverse) + " to " +
               std::to_string(last) + "; sACN has 1 to " + std::to_string(kSacnMaxUniverse);
    }
    if (protocol == FeedProtocol::artnet &&
        (layout.firstUniverse < 0 || last > kArtnetMaxPortAddress)) {
        return "the wall needs Art-Net port addresses " + std::to_string(layout.firstUniverse) +
               " to " + std::to_string(last) + "; Art-Net has 0 to " +
               std::to_string(kArtnetMaxPortAddress);
    }
    return {};
}

FeedReceiver::FeedReceiver(const ListenSpec& spec, const WallLayout& layout)
    : spec_(spec), layout_(layout), frameSlot_(layout.frameBytes()) {
    decoder_ = makeFeedDecoder(spec.protocol, layout, counters_, *this);
}

std::unique_ptr<FeedReceiver> FeedReceiver::open(const ListenSpec& spec, const WallLayout& layout,
                                                 std::string& error,
                                                 std::vector<std::string>& notices) {
    const char* name = protocolName(spec.protocol);
    error = checkUniverseRange(spec.protocol, layout);
    if (!error.empty()) return nullptr;
    PeerAddress address;
    if (!parseNumericAddress(spec.address, spec.port, address, error)) return nullptr;
    std::unique_ptr<FeedReceiver> receiver(new FeedReceiver(spec, layout));
    // sACN's groups and Art-Net's broadcasts reach only a socket on every address.
    const bool sacn = spec.protocol == FeedProtocol::sacn;
    const bool everyAddress =
        (sacn || spec.protocol == FeedProtocol::artnet) && !address.ipv6 && !isLoopback(address);
    const bool multicast = sacn && everyAddress;
    const bool bound = everyAddress ? receiver->bindOnEveryAddress(address, error)
                                    : receiver->socket_.bind(address, error);
    if (!bound) {
        error = std::string(name) + ": " + error;
        return nullptr;
    }
    if (isLoopback(address)) return receiver;
    notices.push_back(std::string(name) + ": listening on " + addressText(address) + " port " +
                      std::to_string(spec.port) + ": the wall is open to the network");
    if (multicast) {
        const int count = layout.universeCount();
        int joined = 0;
        while (joined < count &&
               receiver->socket_.joinGroup(sacnGroup(layout.firstUniverse + joined), address)) {
            ++joined;
        }
        if (receiver->named_) receiver->named_->groupCount = joined;
        if (joined < count) {
            notices.push_back("sacn: joined the multicast groups of " + std::to_string(joined) +
                              " of the wall's " + std::to_string(count) +
                              " universes (the system's limit); send the others unicast");
        }
    } else if (spec.protocol == FeedProtocol::sacn) {
        notices.push_back("sacn: on IPv6 the wall takes unicast only: send to " +
                          addressText(address) + ", not to the multicast groups");
    }
    return receiver;
}

// Linux delivers a group's traffic and broadcasts only to sockets on the wildcard address, so
// the port is taken on every address and each datagram is checked against the named one. The
// wildcard address itself takes everything sent to the port, and the groups joined on the
// default interface.
bool FeedReceiver::bindOnEveryAddress(const PeerAddress& address, std::string& error) {
    PeerAddress everyAddress;
    everyAddress.port = address.port;
    const bool named = !isWildcard(address);
    NamedAddressListen listen;
    if (named) {
        listen.unicast = address;
        listen.firstUniverse = layout_.firstUniverse;
        listen.takesBroadcast = spec_.protocol == FeedProtocol::artnet;
        const UdpSocket::Interface found = UdpSocket::interfaceOf(address);
        listen.interfaceIndex = found.index;
        listen.broadcast = found.broadcast;
        if (listen.interfaceIndex == 0) {
            error = "cannot bind port " + std::to_string(address.port) + " of " +
                    addressText(address) + ": no interface of this machine has that address";
            return false;
        }
    }
    if (!socket_.bind(everyAddress, error)) {
        if (named)
            error += std::string(" (to take ") +
                     (listen.takesBroadcast ? "broadcasts" : "multicast") + " on " +
                     addressText(address) + " the wall listens on every address)";
        return false;
    }
    if (!socket_.receiveOnlyJoinedGroups() || (named && !socket_.reportDestinations())) {
        error = "the system cannot tell which address a datagram was sent to";
        return false;
    }
    if (named) named_ = listen;
    return true;
}

FeedReceiver::~FeedReceiver() {
    stop();
}

void FeedReceiver::start() {
    if (thread_.joinable()) return;
    stopping_ = false;
    wakeSignal_.clear();
    thread_ = std::thread([this] { run(); });
}

void FeedReceiver::stop() {
    if (!thread_.joinable()) return;
    stopping_ = true;
    wakeSignal_.raise();
    thread_.join();
}

void FeedReceiver::run() {
    std::vector<std::vector<std::uint8_t>> buffers(kBatch,
                                                   std::vector<std::uint8_t>(kDatagramBytes));
    std::vector<ReceivedDatagram> received;
    received.reserve(kBatch);
    UdpSocket* const sockets[] = {&socket_};
    while (!stopping_.load(std::memory_order_relaxed)) {
        const auto deadline = decoder_->deadline();
        int waitMs = -1;
        if (deadline != kNoFrameDue) {
            const auto left =
                std::chrono::ceil<std::chrono::milliseconds>(deadline - FrameClock::now());
            waitMs = static_cast<int>(std::clamp<long>(left.count(), 0, 60'000));
        }
        if (waitMs < 0 && !wakeSignal_.isOpen()) waitMs = kWaitWithoutWakeMs;
        if (UdpSocket::waitReadable(sockets, waitMs, &wakeSignal_)) {
            for (int taken = 0; taken < kDatagramsPerTurn;) {
                const int got = socket_.receiveBatch(buffers, received);
                if (got == 0) break;
                taken += got;
                datagramAt_ = FrameClock::now();
                if (!named_) FeedCounters::add(counters_.packets, got);
                for (const ReceivedDatagram& datagram : received) {
                    if (named_) {
                        // Sent to another address or group of the machine: not ours at all.
                        if (!acceptsDestination(*named_, datagram.to)) continue;
                        FeedCounters::add(counters_.packets);
                    }
                    if (datagram.truncated) {
                        FeedCounters::add(counters_.bad);
                        continue;
                    }
                    decoder_->receive(datagram.bytes, datagram.from, datagramAt_);
                }
            }
        }
        const auto now = FrameClock::now();
        if (now >= decoder_->deadline()) decoder_->expire(now);
    }
    cpuSeconds_ = currentThreadCpuSeconds();
}

const std::uint8_t* FeedReceiver::handOver(std::vector<std::uint8_t>& frame) {
    const std::uint64_t serial = counters_.frames.load(std::memory_order_relaxed) + 1;
    // A frame shown on a deadline came with the last datagram before it.
    const std::uint8_t* published = frameSlot_.publish(frame, serial, datagramAt_);
    FeedCounters::add(counters_.frames);
    if (const FrameWake wake = wake_.load(std::memory_order_acquire)) wake();
    return published;
}

void FeedReceiver::reply(std::span<const std::uint8_t> datagram, const PeerAddress& to) {
    socket_.sendTo(datagram, to);
}

std::array<std::uint8_t, 4> FeedReceiver::localAddressTowards(const PeerAddress& peer) {
    return UdpSocket::localAddressTowards(peer);
}

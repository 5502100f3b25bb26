// A feed's protocol logic between the socket and the display: each datagram parsed, checked
// against the wall, drawn into the frame being assembled, and whole frames handed out. No
// sockets, threads or clock: the receiver passes the time in, so the rules are tested directly.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "feeds/feed_counters.h"
#include "feeds/feed_protocol.h"
#include "feeds/peer_address.h"
#include "feeds/wall_layout.h"
#include "frames/frame_source.h"

// Where a decoder's results go.
class FeedOutput {
  public:
    virtual ~FeedOutput() = default;
    // Hands over a whole frame of the wall (RGB rows from the top, as senders address the
    // wall, so their bytes are written in the order they come) without copying it:
    // takes `frame`'s buffer and puts another of the same size in its place, holding pixels
    // of some older frame. Returns the frame handed over, readable until the next hand-over.
    virtual const std::uint8_t* handOver(std::vector<std::uint8_t>& frame) = 0;
    virtual void reply(std::span<const std::uint8_t> datagram, const PeerAddress& to) = 0;
    // This machine's IPv4 address as `peer` reaches it, for replies that carry it.
    virtual std::array<std::uint8_t, 4> localAddressTowards(const PeerAddress& peer) = 0;
};

class FeedDecoder {
  public:
    virtual ~FeedDecoder() = default;
    // One whole datagram (the receiver has counted it as a packet).
    virtual void receive(std::span<const std::uint8_t> datagram, const PeerAddress& from,
                         FrameClock::time_point now) = 0;
    // When expire must be called, if no datagram comes first; kNoFrameDue for never.
    virtual FrameClock::time_point deadline() const { return kNoFrameDue; }
    virtual void expire(FrameClock::time_point now) { (void)now; }
};

std::unique_ptr<FeedDecoder> makeFeedDecoder(FeedProtocol protocol, const WallLayout& layout,
                                             FeedCounters& counters, FeedOutput& output);

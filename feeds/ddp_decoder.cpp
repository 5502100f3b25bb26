// DDP onto the wall: bytes at their offsets, shown on the push flag; a sender that has never
// pushed is shown whenever a packet reaches the wall's last byte. Queries, replies and
// packets for other destinations (configuration, status) are ignored: the wall answers none.
#include <algorithm>
#include <cstring>

#include "feeds/ddp_packet.h"
#include "feeds/decoders.h"
#include "feeds/frame_canvas.h"

namespace {

constexpr int kDdpSequenceCount = 15;  // DDP numbers packets 1 to 15
// Numbers this many steps behind the newest, or fewer, are late packets, not a round of
// losses: networks reorder by a packet or two, while with 15 numbers a gap of more than 10
// in a row is past counting anyway.
constexpr int kLateSequenceSteps = 3;

class DdpDecoder final : public FeedDecoder {
  public:
    DdpDecoder(const WallLayout& layout, FeedCounters& counters, FeedOutput& output)
        : layout_(layout), counters_(counters), canvas_(layout.frameBytes(), output) {}

    void receive(std::span<const std::uint8_t> datagram, const PeerAddress&,
                 FrameClock::time_point) override {
        const ParsedPacket<DdpPacket> parsed = parseDdpPacket(datagram);
        if (!parsed.ok()) return FeedCounters::add(counters_.bad);
        const DdpPacket& packet = parsed.packet;
        if (!packet.carriesPixels()) return;
        const std::uint64_t end = std::uint64_t{packet.offset} + packet.data.size();
        if (end > canvas_.size()) return FeedCounters::add(counters_.bad);
        countSequence(packet.sequence);
        if (canvas_.stale()) cover(packet.offset, end);
        std::memcpy(canvas_.pixels() + packet.offset, packet.data.data(), packet.data.size());
        pushes_ = pushes_ || packet.push;
        if (packet.push || (!pushes_ && end == canvas_.size())) {
            if (canvas_.stale()) restoreUncovered();
            canvas_.handOver();
            coveredBegin_ = coveredEnd_ = 0;
        }
    }

  private:
    // Senders send a frame's bytes in order, so what a frame has drawn is kept as one range;
    // a packet that leaves a gap has the rest restored at once.
    void cover(std::size_t begin, std::size_t end) {
        if (begin == end) return;
        if (coveredBegin_ == coveredEnd_) {
            coveredBegin_ = begin, coveredEnd_ = end;
        } else if (begin <= coveredEnd_ && end >= coveredBegin_) {
            coveredBegin_ = std::min(coveredBegin_, begin);
            coveredEnd_ = std::max(coveredEnd_, end);
        } else {
            restoreUncovered();
        }
    }

    void restoreUncovered() {
        canvas_.restore(0, coveredBegin_);
        canvas_.restore(coveredEnd_, canvas_.size() - coveredEnd_);
        canvas_.restored();
    }

    // Sequence numbers run 1 to 15 and round again; 0 means the sender does not number. Only
    // a gap counts as lost: some senders give every packet of a frame one number, so a number
    // repeated loses nothing, and one a few steps behind the newest is a packet that came late
    // (the newest stays). Four bits cannot tell a long gap from a late packet, so the steps
    // ahead that count are bounded.
    void countSequence(int sequence) {
        if (sequence == 0 || lastSequence_ == 0) {
            lastSequence_ = sequence;
            return;
        }
        const int ahead = (sequence - lastSequence_ + kDdpSequenceCount) % kDdpSequenceCount;
        if (ahead == 0 || ahead >= kDdpSequenceCount - kLateSequenceSteps) return;
        FeedCounters::add(counters_.lost, ahead - 1);
        lastSequence_ = sequence;
    }

    WallLayout layout_;
    FeedCounters& counters_;
    FrameCanvas canvas_;
    std::size_t coveredBegin_ = 0, coveredEnd_ = 0;  // drawn since the hand-over
    bool pushes_ = false;
    int lastSequence_ = 0;
};

}  // namespace

std::unique_ptr<FeedDecoder> makeDdpDecoder(const WallLayout& layout, FeedCounters& counters,
                                            FeedOutput& output) {
    return std::make_unique<DdpDecoder>(layout, counters, output);
}

// DDP onto the wall: bytes at their offsets, shown on the push flag; a sender that has never
// pushed is shown whenever a packet reaches the wall's last byte. Queries, replies and
// packets for other destinations (configuration, status) are ignored: the wall answers none.
#include <vector>

#include "feeds/ddp_packet.h"
#include "feeds/decoders.h"

namespace {

class DdpDecoder final : public FeedDecoder {
  public:
    DdpDecoder(const WallLayout& layout, FeedCounters& counters, FeedOutput& output)
        : layout_(layout), counters_(counters), output_(output), frame_(layout.frameBytes(), 0) {}

    void receive(std::span<const std::uint8_t> datagram, const PeerAddress&,
                 FrameClock::time_point) override {
        const ParsedPacket<DdpPacket> parsed = parseDdpPacket(datagram);
        if (!parsed.ok()) return FeedCounters::add(counters_.bad);
        const DdpPacket& packet = parsed.packet;
        if (!packet.carriesPixels()) return;
        const std::uint64_t end = std::uint64_t{packet.offset} + packet.data.size();
        if (end > frame_.size()) return FeedCounters::add(counters_.bad);
        countSequence(packet.sequence);
        drawAtByteOffset(layout_.width, layout_.height, packet.offset, packet.data, frame_.data());
        pushes_ = pushes_ || packet.push;
        if (packet.push || (!pushes_ && end == frame_.size())) output_.publishFrame(frame_.data());
    }

  private:
    // Sequence numbers run 1 to 15 and round again; 0 means the sender does not number.
    void countSequence(int sequence) {
        if (sequence != 0 && lastSequence_ != 0) {
            const int expected = lastSequence_ % 15 + 1;
            FeedCounters::add(counters_.lost, (sequence - expected + 15) % 15);
        }
        lastSequence_ = sequence;
    }

    WallLayout layout_;
    FeedCounters& counters_;
    FeedOutput& output_;
    std::vector<std::uint8_t> frame_;
    bool pushes_ = false;
    int lastSequence_ = 0;
};

}  // namespace

std::unique_ptr<FeedDecoder> makeDdpDecoder(const WallLayout& layout, FeedCounters& counters,
                                            FeedOutput& output) {
    return std::make_unique<DdpDecoder>(layout, counters, output);
}

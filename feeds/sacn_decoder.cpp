// sACN onto the wall: data of the wall's universes through the source rules, drawn by the
// shared universe assembly; sync packets of the address the data names show the frame.
// Packets with another start code (per-channel priority, text) are not levels and are ignored.
#include "feeds/decoders.h"
#include "feeds/sacn_packet.h"
#include "feeds/sacn_sources.h"
#include "feeds/universe_assembly.h"

namespace {

class SacnDecoder final : public FeedDecoder {
  public:
    SacnDecoder(const WallLayout& layout, FeedCounters& counters, FeedOutput& output)
        : layout_(layout),
          counters_(counters),
          sources_(layout.universeCount()),
          assembly_(layout, output) {}

    void receive(std::span<const std::uint8_t> datagram, const PeerAddress&,
                 FrameClock::time_point now) override {
        const ParsedPacket<SacnPacket> parsed = parseSacnPacket(datagram);
        if (!parsed.ok()) return FeedCounters::add(counters_.bad);
        const SacnPacket& packet = parsed.packet;
        if (packet.kind == SacnPacket::Kind::sync) {
            if (syncAddress_ != 0 && packet.syncAddress == syncAddress_) assembly_.sync();
            return;
        }
        if (packet.kind != SacnPacket::Kind::data || packet.startCode != 0) return;
        const int index = packet.universe - layout_.firstUniverse;
        if (index < 0 || index >= layout_.universeCount()) return FeedCounters::add(counters_.bad);
        const SacnVerdict verdict = sources_.accept(index, packet, now);
        if (verdict.lost > 0) FeedCounters::add(counters_.lost, verdict.lost);
        if (verdict.dropped) FeedCounters::add(counters_.dropped);
        if (!verdict.apply) return;
        syncAddress_ = packet.syncAddress;
        assembly_.add(index, packet.channels, packet.syncAddress != 0, now);
    }

    FrameClock::time_point deadline() const override { return assembly_.deadline(); }
    void expire(FrameClock::time_point now) override { assembly_.expire(now); }

  private:
    WallLayout layout_;
    FeedCounters& counters_;
    SacnSources sources_;
    UniverseAssembly assembly_;
    int syncAddress_ = 0;  // what the latest data named
};

}  // namespace

std::unique_ptr<FeedDecoder> makeSacnDecoder(const WallLayout& layout, FeedCounters& counters,
                                             FeedOutput& output) {
    return std::make_unique<SacnDecoder>(layout, counters, output);
}

// Art-Net onto the wall: ArtDmx of the wall's port addresses drawn by the shared universe
// assembly. After an ArtSync the sender synchronises: frames wait for its next ArtSync, until
// none has come for 4 s. An ArtPoll is answered with one ArtPollReply a group of four ports,
// at the poller's address on the Art-Net port, and at its own port when that is another.
#include <algorithm>
#include <chrono>
#include <vector>

#include "feeds/artnet_packet.h"
#include "feeds/decoders.h"
#include "feeds/universe_assembly.h"

namespace {

constexpr int kArtnetPort = 6454;
constexpr auto kSyncLapse = std::chrono::seconds(4);
// Polls answered at most this often, and replies sent at most this many a poll: a flood of
// polls must not make the wall a flood of replies. Lighting software polls every few seconds.
constexpr auto kPollInterval = std::chrono::milliseconds(250);
constexpr int kMaxRepliesPerPoll = 64;
constexpr const char* kNodeName = "Glimmerboard";

class ArtnetDecoder final : public FeedDecoder {
  public:
    ArtnetDecoder(const WallLayout& layout, FeedCounters& counters, FeedOutput& output)
        : layout_(layout),
          counters_(counters),
          output_(output),
          assembly_(layout, output),
          sequences_(static_cast<std::size_t>(layout.universeCount()), 0) {}

    void receive(std::span<const std::uint8_t> datagram, const PeerAddress& from,
                 FrameClock::time_point now) override {
        const ParsedPacket<ArtnetPacket> parsed = parseArtnetPacket(datagram);
        if (!parsed.ok()) return FeedCounters::add(counters_.bad);
        const ArtnetPacket& packet = parsed.packet;
        switch (packet.kind) {
            case ArtnetPacket::Kind::dmx:
                return receiveDmx(packet, now);
            case ArtnetPacket::Kind::sync:
                lastSync_ = now;
                synchronising_ = true;
                return assembly_.sync();
            case ArtnetPacket::Kind::poll:
                return answerPoll(from, now);
            case ArtnetPacket::Kind::other:
                return;
        }
    }

    FrameClock::time_point deadline() const override { return assembly_.deadline(); }
    void expire(FrameClock::time_point now) override { assembly_.expire(now); }

  private:
    void receiveDmx(const ArtnetPacket& packet, FrameClock::time_point now) {
        const int index = packet.portAddress - layout_.firstUniverse;
        if (index < 0 || index >= layout_.universeCount()) return FeedCounters::add(counters_.bad);
        countSequence(sequences_[index], packet.sequence);
        if (synchronising_ && now - lastSync_ > kSyncLapse) synchronising_ = false;
        assembly_.add(index, packet.channels, synchronising_, now);
    }

    // Sequence numbers run 1 to 255 and round again; 0 means the sender does not number. A
    // step of more than half the range is a late packet, not a gap.
    void countSequence(int& last, int sequence) {
        if (sequence != 0 && last != 0) {
            const int expected = last % 255 + 1;
            const int gap = (sequence - expected + 255) % 255;
            if (gap < 128) FeedCounters::add(counters_.lost, gap);
        }
        last = sequence;
    }

    void answerPoll(const PeerAddress& from, FrameClock::time_point now) {
        if (answered_ && now - lastAnswer_ < kPollInterval) return;
        answered_ = true;
        lastAnswer_ = now;
        const int universeCount = layout_.universeCount();
        const int replies =
            std::min(artPollReplyCount(layout_.firstUniverse, universeCount), kMaxRepliesPerPoll);
        PeerAddress artnetPort = from;
        artnetPort.port = kArtnetPort;
        std::uint8_t reply[kArtPollReplyBytes];
        for (int group = 0; group < replies; ++group) {
            ArtPollReplyFields fields =
                artPollReplyGroup(layout_.firstUniverse, universeCount, group);
            fields.address = output_.localAddressTowards(from);
            fields.name = kNodeName;
            writeArtPollReply(fields, reply);
            output_.reply(reply, artnetPort);
            if (from.port != kArtnetPort) output_.reply(reply, from);
        }
    }

    WallLayout layout_;
    FeedCounters& counters_;
    FeedOutput& output_;
    UniverseAssembly assembly_;
    std::vector<int> sequences_;
    bool synchronising_ = false;
    FrameClock::time_point lastSync_{};
    bool answered_ = false;
    FrameClock::time_point lastAnswer_{};
};

}  // namespace

std::unique_ptr<FeedDecoder> makeArtnetDecoder(const WallLayout& layout, FeedCounters& counters,
                                               FeedOutput& output) {
    return std::make_unique<ArtnetDecoder>(layout, counters, output);
}

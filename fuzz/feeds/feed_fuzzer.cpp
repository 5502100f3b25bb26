// libFuzzer target for one feed protocol (FUZZED_PROTOCOL): any bytes as one datagram through
// the protocol's parser, and through its decoder onto a wall whose layout the first byte
// picks. A parsed packet's spans must lie inside the datagram; every frame handed out is read
// whole, so the sanitizers see a short buffer.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "feeds/artnet_packet.h"
#include "feeds/ddp_packet.h"
#include "feeds/feed_decoder.h"
#include "feeds/flaschen_packet.h"
#include "feeds/sacn_packet.h"

namespace {

struct ReadingOutput : FeedOutput {
    std::size_t frameBytes = 0;
    std::vector<std::uint8_t> last;
    const std::uint8_t* handOver(std::vector<std::uint8_t>& frame) override {
        if (frame.size() != frameBytes) std::abort();
        last.resize(frameBytes);
        last.swap(frame);
        volatile unsigned sum = 0;
        for (std::size_t i = 0; i < frameBytes; ++i) sum = sum + last[i];
        return last.data();
    }
    void reply(std::span<const std::uint8_t> datagram, const PeerAddress&) override {
        if (datagram.size() != kArtPollReplyBytes) std::abort();
    }
    std::array<std::uint8_t, 4> localAddressTowards(const PeerAddress&) override {
        return {127, 0, 0, 1};
    }
};

void checkInside(std::span<const std::uint8_t> part, std::span<const std::uint8_t> whole) {
    if (part.empty()) return;
    if (part.data() < whole.data() || part.data() + part.size() > whole.data() + whole.size())
        std::abort();
}

void checkParser(std::span<const std::uint8_t> datagram) {
    switch (FUZZED_PROTOCOL) {
        case FeedProtocol::ddp:
            return checkInside(parseDdpPacket(datagram).packet.data, datagram);
        case FeedProtocol::sacn:
            return checkInside(parseSacnPacket(datagram).packet.channels, datagram);
        case FeedProtocol::artnet:
            return checkInside(parseArtnetPacket(datagram).packet.channels, datagram);
        case FeedProtocol::flaschen: {
            const auto parsed = parseFlaschenPacket(datagram);
            if (parsed.ok() && parsed.packet.pixels.size() !=
                                   std::size_t{3} * parsed.packet.width * parsed.packet.height)
                std::abort();
            return checkInside(parsed.packet.pixels, datagram);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> datagram(data, size);
    checkParser(datagram);
    if (size == 0) return 0;
    WallLayout layout;
    layout.width = 1 + data[0] % 7;
    layout.height = 1 + data[0] / 7 % 5;
    layout.universePixels = 1 + data[0] % 3;
    layout.firstUniverse = FUZZED_PROTOCOL == FeedProtocol::artnet ? 0 : 1;
    layout.serpentine = data[0] & 0x80;
    layout.order = static_cast<ChannelOrder>(data[0] % 6);
    FeedCounters counters;
    ReadingOutput output;
    output.frameBytes = layout.frameBytes();
    auto decoder = makeFeedDecoder(FUZZED_PROTOCOL, layout, counters, output);
    PeerAddress from;
    from.port = 6454 + (data[0] & 1);
    const auto now = FrameClock::now();
    decoder->receive(datagram, from, now);
    decoder->receive(datagram, from, now + std::chrono::milliseconds(30));
    decoder->expire(now + std::chrono::seconds(2));
    return 0;
}

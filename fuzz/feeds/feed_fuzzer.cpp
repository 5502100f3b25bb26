// libFuzzer target for one feed protocol (FUZZED_PROTOCOL): the input lays out a wall and
// carries a sequence of datagrams (see feed_input.h), each checked through the protocol's
// parser and then given, in order, to one decoder on that wall, with the time stepped as the
// input says and expiry called as the receiver thread calls it. A parsed packet's spans must
// lie inside the datagram; every frame handed out is read whole, so the sanitizers see a
// short buffer.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "feeds/artnet_packet.h"
#include "feeds/ddp_packet.h"
#include "feeds/feed_decoder.h"
#include "feeds/flaschen_packet.h"
#include "feeds/sacn_packet.h"
#include "fuzz/feeds/feed_input.h"

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
    if (size < kFeedInputHeaderBytes) return 0;
    const std::span<const std::uint8_t> input(data, size);
    const WallLayout layout = feedInputLayout(input.first<kFeedInputHeaderBytes>());
    FeedCounters counters;
    ReadingOutput output;
    output.frameBytes = layout.frameBytes();
    auto decoder = makeFeedDecoder(FUZZED_PROTOCOL, layout, counters, output);
    const int ownPort = defaultPort(FUZZED_PROTOCOL);
    // A fixed start keeps every run of an input the same.
    FrameClock::time_point now{std::chrono::hours(1)};
    forEachFeedRecord(input.subspan(kFeedInputHeaderBytes), [&](const FeedRecord& record) {
        checkParser(record.datagram);
        if (record.stepMs > 0) {
            // Time passes between turns of the receiver's loop: it expires what is due at the
            // end of a turn, then sleeps until the next datagram or a pending frame's deadline.
            if (now >= decoder->deadline()) decoder->expire(now);
            const auto next = now + std::chrono::milliseconds(record.stepMs);
            const auto due = decoder->deadline();
            if (due <= next) decoder->expire(std::max(due, now));
            now = next;
        }
        PeerAddress from;
        from.bytes = {127, 0, 0, 1};
        from.port = record.otherPort ? ownPort + 1 : ownPort;
        decoder->receive(record.datagram, from, now);
    });
    if (now >= decoder->deadline()) decoder->expire(now);
    if (const auto due = decoder->deadline(); due != kNoFrameDue) decoder->expire(due);
    return 0;
}

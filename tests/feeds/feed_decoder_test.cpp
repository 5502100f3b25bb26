// The frame rules of each protocol, datagram by datagram with the time given: what is shown
// when, and where on the wall each channel lands.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "feeds/artnet_packet.h"
#include "feeds/feed_decoder.h"
#include "tests/support/feed_packets.h"

using namespace testsupport;
using namespace std::chrono_literals;

namespace {

struct RecordedOutput : FeedOutput {
    explicit RecordedOutput(const WallLayout& layout) : layout(layout) {}
    // Gives back a buffer of left-overs, as the receiver's hand-over may, so a decoder that
    // did not restore what it left undrawn shows them.
    const std::uint8_t* handOver(std::vector<std::uint8_t>& frame) override {
        frames.push_back(frame);
        std::fill(frame.begin(), frame.end(), 0xA5);
        return frames.back().data();
    }
    void reply(std::span<const std::uint8_t> datagram, const PeerAddress& to) override {
        replies.emplace_back(datagram.begin(), datagram.end());
        replyPorts.push_back(to.port);
    }
    std::array<std::uint8_t, 4> localAddressTowards(const PeerAddress&) override {
        return {127, 0, 0, 1};
    }
    // The pixel at column x of row y, rows counted from the top.
    std::array<int, 3> pixel(int x, int y, std::size_t frame = ~std::size_t{0}) const {
        const Bytes& f = frames.at(frame == ~std::size_t{0} ? frames.size() - 1 : frame);
        const std::size_t at = (y * std::size_t(layout.width) + x) * 3;
        return {f[at], f[at + 1], f[at + 2]};
    }
    WallLayout layout;
    std::vector<Bytes> frames;
    std::vector<Bytes> replies;
    std::vector<int> replyPorts;
};

struct Feed {
    Feed(FeedProtocol protocol, const WallLayout& layout)
        : output(layout), decoder(makeFeedDecoder(protocol, layout, counters, output)) {}
    void receive(const Bytes& datagram, FrameClock::duration at = 0ms) {
        PeerAddress from;
        from.bytes = {127, 0, 0, 1};
        from.port = 40000;
        decoder->receive(datagram, from, start + at);
    }
    FeedCounters counters;
    RecordedOutput output;
    std::unique_ptr<FeedDecoder> decoder;
    FrameClock::time_point start = FrameClock::now();
};

WallLayout smallWall(int width, int height, int universePixels, int firstUniverse = 1) {
    WallLayout layout;
    layout.width = width;
    layout.height = height;
    layout.universePixels = universePixels;
    layout.firstUniverse = firstUniverse;
    return layout;
}

Bytes levels(std::initializer_list<int> values) {
    return Bytes(values.begin(), values.end());
}

}  // namespace

TEST(FeedDecoderTest, DdpShowsOnPushOrAtTheWallsEndForSendersThatNeverPush) {
    Feed feed(FeedProtocol::ddp, smallWall(2, 2, 170));
    feed.receive(ddpPacket(0, Bytes(6, 50), false));
    EXPECT_TRUE(feed.output.frames.empty());
    feed.receive(ddpPacket(6, Bytes(6, 90), false));
    ASSERT_EQ(feed.output.frames.size(), 1u);
    EXPECT_EQ(feed.output.pixel(1, 0), (std::array<int, 3>{50, 50, 50}));
    EXPECT_EQ(feed.output.pixel(0, 1), (std::array<int, 3>{90, 90, 90}));
    feed.receive(ddpPacket(0, Bytes(3, 7), true));
    ASSERT_EQ(feed.output.frames.size(), 2u);
    // Once it has pushed, reaching the end shows nothing until the next push.
    feed.receive(ddpPacket(6, Bytes(6, 1), false));
    EXPECT_EQ(feed.output.frames.size(), 2u);
    feed.receive(ddpPacket(10, Bytes(6, 1), true));  // past the wall's 12 bytes
    EXPECT_EQ(feed.counters.bad.load(), 1u);
    EXPECT_EQ(feed.output.frames.size(), 2u);
}

TEST(FeedDecoderTest, DdpCountsSequenceGapsAcrossTheWrap) {
    Feed feed(FeedProtocol::ddp, smallWall(2, 2, 170));
    // A number repeated (a sender that numbers frames, not packets) or a step back (a late
    // packet) loses nothing, and the late one does not move the count back.
    for (int sequence : {14, 14, 14, 15, 14, 15, 2, 3, 3})
        feed.receive(ddpPacket(0, Bytes(3, 1), true, sequence));
    EXPECT_EQ(feed.counters.lost.load(), 1u);  // 1 is missing
}

TEST(FeedDecoderTest, UniversesRunOnAcrossRowsInSerpentineAndChannelOrder) {
    WallLayout layout = smallWall(3, 2, 2);
    layout.serpentine = true;
    layout.order = ChannelOrder::grb;
    Feed feed(FeedProtocol::sacn, layout);
    SacnFields fields;
    for (int u = 1; u <= 3; ++u) {
        fields.universe = u;
        fields.sequence = u;
        // Pixel k of the wall gets G = 10 k + 1, R = 10 k + 2, B = 10 k + 3.
        const int k = (u - 1) * 2;
        feed.receive(sacnData(fields, levels({10 * k + 1, 10 * k + 2, 10 * k + 3, 10 * k + 11,
                                              10 * k + 12, 10 * k + 13})));
    }
    ASSERT_EQ(feed.output.frames.size(), 1u);
    EXPECT_EQ(feed.output.pixel(0, 0), (std::array<int, 3>{2, 1, 3}));
    EXPECT_EQ(feed.output.pixel(2, 0), (std::array<int, 3>{22, 21, 23}));
    // The second row runs right to left: wall pixel 3 is its rightmost.
    EXPECT_EQ(feed.output.pixel(2, 1), (std::array<int, 3>{32, 31, 33}));
    EXPECT_EQ(feed.output.pixel(0, 1), (std::array<int, 3>{52, 51, 53}));
}

TEST(FeedDecoderTest, SacnDropsBackwardSequencesAndFollowsTheHighestPriority) {
    Feed feed(FeedProtocol::sacn, smallWall(1, 1, 1));
    SacnFields low;
    low.priority = 50;
    low.sequence = 10;
    SacnFields high = low;
    high.priority = 120;
    high.source[0] = 99;
    feed.receive(sacnData(low, levels({1, 1, 1})));
    feed.receive(sacnData(high, levels({2, 2, 2})));
    low.sequence = 11;
    feed.receive(sacnData(low, levels({3, 3, 3})));  // outranked
    high.sequence = 9;
    feed.receive(sacnData(high, levels({4, 4, 4})));  // went backwards
    high.sequence = 13;
    feed.receive(sacnData(high, levels({5, 5, 5})));  // 11 and 12 lost
    ASSERT_EQ(feed.output.frames.size(), 3u);
    EXPECT_EQ(feed.output.pixel(0, 0, 1)[0], 2);
    EXPECT_EQ(feed.output.pixel(0, 0, 2)[0], 5);
    EXPECT_EQ(feed.counters.lost.load(), 2u);
    EXPECT_EQ(feed.counters.dropped.load(), 1u);
    high.sequence = 14;
    high.terminated = true;
    feed.receive(sacnData(high, levels({6, 6, 6})));
    low.sequence = 12;
    feed.receive(sacnData(low, levels({7, 7, 7})));  // the released source no longer outranks
    EXPECT_EQ(feed.output.pixel(0, 0)[0], 7);
}

TEST(FeedDecoderTest, SacnCountsTheFramesOfASenderRestartedWithinTheLossTimeAsDropped) {
    Feed feed(FeedProtocol::sacn, smallWall(1, 1, 1));
    SacnFields fields;
    fields.sequence = 5;
    feed.receive(sacnData(fields, levels({1, 1, 1})));
    // Restarted 1 s later, numbering from 0: E1.31 sets aside what seems older than the last.
    for (int sequence = 0; sequence <= 6; ++sequence) {
        fields.sequence = sequence;
        feed.receive(sacnData(fields, levels({2, 2, 2})), 1s);
    }
    EXPECT_EQ(feed.output.frames.size(), 2u);  // the first and 6
    EXPECT_EQ(feed.counters.dropped.load(), 6u);
    EXPECT_EQ(feed.counters.lost.load(), 0u);
    // After 2.5 s of silence the source is new: its first packet is drawn.
    fields.sequence = 0;
    feed.receive(sacnData(fields, levels({3, 3, 3})), 4s);
    EXPECT_EQ(feed.output.pixel(0, 0)[0], 3);
    EXPECT_EQ(feed.counters.dropped.load(), 6u);
}

TEST(FeedDecoderTest, SacnWaitsForSyncOrForTheLastUniverseOr25Ms) {
    Feed feed(FeedProtocol::sacn, smallWall(2, 1, 1));
    SacnFields fields;
    fields.syncAddress = 500;
    feed.receive(sacnData(fields, levels({1, 1, 1})));
    fields.universe = 2;
    feed.receive(sacnData(fields, levels({2, 2, 2})));
    EXPECT_TRUE(feed.output.frames.empty()) << "held for its sync packet";
    feed.receive(sacnSync(501));
    EXPECT_TRUE(feed.output.frames.empty()) << "another address";
    feed.receive(sacnSync(500));
    ASSERT_EQ(feed.output.frames.size(), 1u);

    Feed unsynced(FeedProtocol::sacn, smallWall(2, 1, 1));
    unsynced.receive(sacnData(SacnFields{}, levels({1, 1, 1})));
    unsynced.decoder->expire(unsynced.start + 24ms);
    EXPECT_TRUE(unsynced.output.frames.empty());
    EXPECT_EQ(unsynced.decoder->deadline(), unsynced.start + 25ms);
    unsynced.decoder->expire(unsynced.start + 25ms);
    EXPECT_EQ(unsynced.output.frames.size(), 1u);
}

TEST(FeedDecoderTest, ArtnetMapsPortAddressesAndFollowsArtSync) {
    Feed feed(FeedProtocol::artnet, smallWall(2, 1, 1, 0));
    feed.receive(artDmx(0, levels({1, 2, 3, 0})));
    feed.receive(artDmx(1, levels({4, 5, 6, 0})));
    ASSERT_EQ(feed.output.frames.size(), 1u);
    EXPECT_EQ(feed.output.pixel(1, 0), (std::array<int, 3>{4, 5, 6}));
    feed.receive(artDmx(2, levels({1, 1})));
    EXPECT_EQ(feed.counters.bad.load(), 1u) << "port address beyond the wall";

    feed.receive(artSync(), 10ms);
    feed.receive(artDmx(0, levels({7, 7, 7, 0})), 20ms);
    feed.receive(artDmx(1, levels({8, 8, 8, 0})), 20ms);
    EXPECT_EQ(feed.output.frames.size(), 1u) << "a synchronising sender's frame waits";
    feed.receive(artSync(), 30ms);
    ASSERT_EQ(feed.output.frames.size(), 2u);
    EXPECT_EQ(feed.output.pixel(1, 0)[0], 8);
}

TEST(FeedDecoderTest, ArtPollIsAnsweredWithTheWallsPortsAtBothPorts) {
    Feed feed(FeedProtocol::artnet, smallWall(10, 1, 1, 14));  // ports 14 to 23
    feed.receive(artPoll());
    ASSERT_EQ(feed.output.replies.size(), 6u);  // 3 groups (14-15, 16-19, 20-23), 2 ports each
    EXPECT_EQ(feed.output.replyPorts[0], 6454);
    EXPECT_EQ(feed.output.replyPorts[1], 40000);
    const Bytes& reply = feed.output.replies[0];
    ASSERT_EQ(reply.size(), kArtPollReplyBytes);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&reply[26])), "Glimmerboard");
    EXPECT_EQ(reply[10], 127);
    EXPECT_EQ(reply[173], 2);  // two ports in the first group
    EXPECT_EQ(reply[190], 14);
    EXPECT_EQ(reply[191], 15);
}

// Rows long enough to be streamed past the cache, at every alignment the picture can have
// against the wall: each byte lands where it belongs, the edges of each row included.
TEST(FeedDecoderTest, FlaschenDrawsWideRowsWhole) {
    for (int x = 0; x < 3; ++x) {
        Feed feed(FeedProtocol::flaschen, smallWall(131 + x, 4, 170));
        Bytes pixels(std::size_t{3} * 131 * 3);
        for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = std::uint8_t(i % 251 + 1);
        feed.receive(flaschenPacket(131, 3, pixels, x, 1));
        ASSERT_EQ(feed.output.frames.size(), 1u);
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 131; ++column) {
                const std::size_t at = (std::size_t{131} * row + column) * 3;
                ASSERT_EQ(feed.output.pixel(x + column, row + 1),
                          (std::array<int, 3>{pixels[at], pixels[at + 1], pixels[at + 2]}))
                    << "x " << x << " row " << row << " column " << column;
            }
        }
        EXPECT_EQ(feed.output.pixel(0, 0), (std::array<int, 3>{0, 0, 0}));
    }
}

TEST(FeedDecoderTest, FlaschenDrawsAtItsOffsetClippedToTheWall) {
    Feed feed(FeedProtocol::flaschen, smallWall(3, 3, 170));
    Bytes pixels;
    for (int i = 1; i <= 4; ++i) {
        pixels.push_back(std::uint8_t(i));
        pixels.resize(pixels.size() + 2, 0);
    }
    feed.receive(flaschenPacket(2, 2, pixels, 2, -1));  // only its bottom-left pixel lands
    ASSERT_EQ(feed.output.frames.size(), 1u);
    EXPECT_EQ(feed.output.pixel(2, 0)[0], 3);
    EXPECT_EQ(feed.output.pixel(1, 0)[0], 0);
    feed.receive(flaschenPacket(2, 2, Bytes(12, 9), -3, 0));  // wholly left of the wall
    feed.receive(flaschenPacket(2, 2, Bytes(12, 9), 4, 0));   // and wholly right of it
    ASSERT_EQ(feed.output.frames.size(), 3u);
    EXPECT_EQ(feed.output.frames[2], feed.output.frames[0]);
    feed.receive(Bytes{'P', '6', ' ', '9'});
    EXPECT_EQ(feed.counters.bad.load(), 1u);
}

TEST(FeedDecoderTest, WhatAFrameLeavesUndrawnStaysAsTheFrameBefore) {
    using Pixel = std::array<int, 3>;
    Feed ddp(FeedProtocol::ddp, smallWall(2, 2, 170));
    ddp.receive(ddpPacket(0, Bytes(12, 40), true));
    ddp.receive(ddpPacket(3, Bytes(3, 7), true));  // the top row's second pixel only
    ddp.receive(ddpPacket(0, Bytes(3, 8), false));
    ddp.receive(ddpPacket(9, Bytes(3, 9), true));  // a gap between
    ASSERT_EQ(ddp.output.frames.size(), 3u);
    EXPECT_EQ(ddp.output.pixel(1, 0, 1), (Pixel{7, 7, 7}));
    EXPECT_EQ(ddp.output.pixel(0, 0, 1), (Pixel{40, 40, 40}));
    EXPECT_EQ(ddp.output.pixel(1, 1, 1), (Pixel{40, 40, 40}));
    EXPECT_EQ(ddp.output.pixel(0, 0), (Pixel{8, 8, 8}));
    EXPECT_EQ(ddp.output.pixel(1, 0), (Pixel{7, 7, 7}));
    EXPECT_EQ(ddp.output.pixel(0, 1), (Pixel{40, 40, 40}));
    EXPECT_EQ(ddp.output.pixel(1, 1), (Pixel{9, 9, 9}));

    WallLayout serpentine = smallWall(2, 2, 3);  // universes of 3 pixels and 1
    serpentine.serpentine = true;
    Feed sacn(FeedProtocol::sacn, serpentine);
    SacnFields fields;
    fields.sequence = 1;
    sacn.receive(sacnData(fields, levels({1, 1, 1, 2, 2, 2, 3, 3, 3})));
    fields.universe = 2;
    sacn.receive(sacnData(fields, levels({4, 4, 4})));
    fields.universe = 1;
    fields.sequence = 2;
    sacn.receive(sacnData(fields, levels({5, 5, 5})), 1ms);  // short: the first pixel only
    sacn.decoder->expire(sacn.start + 30ms);                 // universe 2 never came
    ASSERT_EQ(sacn.output.frames.size(), 2u);
    EXPECT_EQ(sacn.output.pixel(0, 0), (Pixel{5, 5, 5}));
    EXPECT_EQ(sacn.output.pixel(1, 0), (Pixel{2, 2, 2}));
    EXPECT_EQ(sacn.output.pixel(1, 1), (Pixel{3, 3, 3}));  // wall pixel 2, right to left
    EXPECT_EQ(sacn.output.pixel(0, 1), (Pixel{4, 4, 4}));

    Feed flaschen(FeedProtocol::flaschen, smallWall(2, 2, 170));
    flaschen.receive(flaschenPacket(2, 2, Bytes(12, 60)));
    flaschen.receive(flaschenPacket(1, 1, Bytes(3, 5), 1, 1));
    ASSERT_EQ(flaschen.output.frames.size(), 2u);
    EXPECT_EQ(flaschen.output.pixel(1, 1), (Pixel{5, 5, 5}));
    EXPECT_EQ(flaschen.output.pixel(0, 1), (Pixel{60, 60, 60}));
    EXPECT_EQ(flaschen.output.pixel(1, 0), (Pixel{60, 60, 60}));
}

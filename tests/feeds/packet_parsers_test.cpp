// The four parsers on datagrams of our own sender, and on the same cut short or altered.
#include <gtest/gtest.h>

#include "feeds/artnet_packet.h"
#include "feeds/ddp_packet.h"
#include "feeds/flaschen_packet.h"
#include "feeds/sacn_packet.h"
#include "tests/support/feed_packets.h"

using namespace testsupport;

namespace {

template <class Parse>
void expectEveryCutRefused(const Bytes& whole, Parse parse) {
    for (std::size_t size = 0; size < whole.size(); ++size) {
        EXPECT_FALSE(parse(std::span(whole.data(), size)).ok()) << "cut to " << size;
    }
}

}  // namespace

TEST(PacketParsersTest, DdpGivesOffsetDataAndFlags) {
    const Bytes packet = ddpPacket(300, {1, 2, 3, 4}, true, 7);
    const auto parsed = parseDdpPacket(packet);
    ASSERT_TRUE(parsed.ok()) << parsed.refusal;
    EXPECT_EQ(parsed.packet.offset, 300u);
    EXPECT_EQ(parsed.packet.data.size(), 4u);
    EXPECT_EQ(parsed.packet.data[3], 4);
    EXPECT_TRUE(parsed.packet.push);
    EXPECT_EQ(parsed.packet.sequence, 7);
    EXPECT_TRUE(parsed.packet.carriesPixels());
    expectEveryCutRefused(packet, parseDdpPacket);
    Bytes version2 = packet;
    version2[0] = 0x80;
    EXPECT_FALSE(parseDdpPacket(version2).ok());
}

TEST(PacketParsersTest, SacnDataAndSyncPackets) {
    SacnFields fields;
    fields.universe = 42;
    fields.priority = 150;
    fields.sequence = 9;
    fields.syncAddress = 7;
    const Bytes data = sacnData(fields, {10, 20, 30});
    const auto parsed = parseSacnPacket(data);
    ASSERT_TRUE(parsed.ok()) << parsed.refusal;
    EXPECT_EQ(parsed.packet.kind, SacnPacket::Kind::data);
    EXPECT_EQ(parsed.packet.universe, 42);
    EXPECT_EQ(parsed.packet.priority, 150);
    EXPECT_EQ(parsed.packet.sequence, 9);
    EXPECT_EQ(parsed.packet.syncAddress, 7);
    ASSERT_EQ(parsed.packet.channels.size(), 3u);
    EXPECT_EQ(parsed.packet.channels[2], 30);
    expectEveryCutRefused(data, parseSacnPacket);
    Bytes tooHighPriority = data;
    tooHighPriority[108] = 201;
    EXPECT_FALSE(parseSacnPacket(tooHighPriority).ok());

    const auto sync = parseSacnPacket(sacnSync(7));
    ASSERT_TRUE(sync.ok()) << sync.refusal;
    EXPECT_EQ(sync.packet.kind, SacnPacket::Kind::sync);
    EXPECT_EQ(sync.packet.syncAddress, 7);
}

TEST(PacketParsersTest, ArtnetDmxSyncAndPoll) {
    const Bytes dmx = artDmx(0x123, {1, 2, 3, 4}, 5);
    const auto parsed = parseArtnetPacket(dmx);
    ASSERT_TRUE(parsed.ok()) << parsed.refusal;
    EXPECT_EQ(parsed.packet.kind, ArtnetPacket::Kind::dmx);
    EXPECT_EQ(parsed.packet.portAddress, 0x123);
    EXPECT_EQ(parsed.packet.sequence, 5);
    EXPECT_EQ(parsed.packet.channels.size(), 4u);
    expectEveryCutRefused(dmx, parseArtnetPacket);
    EXPECT_FALSE(parseArtnetPacket(artDmx(0, {1, 2, 3})).ok()) << "odd length";
    EXPECT_EQ(parseArtnetPacket(artSync()).packet.kind, ArtnetPacket::Kind::sync);
    EXPECT_EQ(parseArtnetPacket(artPoll()).packet.kind, ArtnetPacket::Kind::poll);
}

TEST(PacketParsersTest, ArtPollRepliesSplitPortsBySubnet) {
    // Port addresses 14 to 19: 14 and 15 in sub-net 0, then 16 to 19 in sub-net 1.
    EXPECT_EQ(artPollReplyCount(14, 6), 2);
    const ArtPollReplyFields second = artPollReplyGroup(14, 6, 1);
    EXPECT_EQ(second.firstPortAddress, 16);
    EXPECT_EQ(second.portCount, 4);
    EXPECT_EQ(second.bindIndex, 2);
}

TEST(PacketParsersTest, FlaschenPictureWithOffsetCommentOrFooter) {
    const Bytes pixels(2 * 3 * 3, 9);
    const auto parsed = parseFlaschenPacket(flaschenPacket(2, 3, pixels, -1, 4));
    ASSERT_TRUE(parsed.ok()) << parsed.refusal;
    EXPECT_EQ(parsed.packet.width, 2);
    EXPECT_EQ(parsed.packet.height, 3);
    EXPECT_EQ(parsed.packet.x, -1);
    EXPECT_EQ(parsed.packet.y, 4);
    EXPECT_EQ(parsed.packet.pixels.size(), pixels.size());

    Bytes withFooter = flaschenPacket(2, 3, pixels);
    for (char c : std::string("5 6 1\n")) withFooter.push_back(std::uint8_t(c));
    const auto footer = parseFlaschenPacket(withFooter);
    ASSERT_TRUE(footer.ok());
    EXPECT_EQ(footer.packet.x, 5);
    EXPECT_EQ(footer.packet.layer, 1);
    expectEveryCutRefused(flaschenPacket(2, 3, pixels), parseFlaschenPacket);
}

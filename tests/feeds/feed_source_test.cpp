// The receiver and the feed source over real sockets on loopback: frames reach the display's
// side whole, over IPv4 and IPv6; a flood of junk is counted and the feed still shows frames;
// a port that is taken is an error before anything starts.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "feeds/artnet_packet.h"
#include "feeds/feed_source.h"
#include "tests/support/feed_packets.h"

using namespace testsupport;
using namespace std::chrono_literals;

namespace {

std::unique_ptr<FeedSource> openFeed(FeedProtocol protocol, const std::string& address,
                                     const WallLayout& layout, int& port) {
    ListenSpec spec;
    spec.protocol = protocol;
    spec.address = address;
    spec.port = 0;  // the kernel picks one
    std::string error;
    std::vector<std::string> notices;
    auto receiver = FeedReceiver::open(spec, layout, error, notices);
    EXPECT_TRUE(receiver) << error;
    if (!receiver) return nullptr;
    port = receiver->port();
    return std::make_unique<FeedSource>(std::move(receiver), layout);
}

WallLayout wall(int width, int height) {
    WallLayout layout;
    layout.width = width;
    layout.height = height;
    return layout;
}

}  // namespace

TEST(FeedSourceTest, DarkUntilTheFirstFrameThenTheNewestFrame) {
    int port = 0;
    auto feed = openFeed(FeedProtocol::ddp, "127.0.0.1", wall(2, 1), port);
    ASSERT_TRUE(feed);
    EXPECT_EQ(feed->frameAt(FrameClock::now()).pixels, nullptr);
    LoopbackSender sender;
    ASSERT_TRUE(sender.send(ddpPacket(0, {1, 2, 3, 4, 5, 6}, true), port));
    ASSERT_TRUE(feed->waitForFirstFrame(FrameClock::now() + 2s));
    const FrameView view = feed->frameAt(FrameClock::now());
    ASSERT_NE(view.pixels, nullptr);
    EXPECT_EQ(view.serial, 1u);
    EXPECT_EQ(Bytes(view.pixels, view.pixels + 8), (Bytes{1, 2, 3, 255, 4, 5, 6, 255}));
    ASSERT_NE(view.mipmaps, nullptr);  // the one texel below: the mean of the two
    EXPECT_EQ(Bytes(view.mipmaps, view.mipmaps + 4), (Bytes{3, 4, 5, 255}));
    EXPECT_EQ(feed->statsLine(false), "ddp: 1 frames, 1 packets, 0 bad, 0 lost");
    const auto now = FrameClock::now();
    EXPECT_EQ(feed->nextFrameDue(now), kNoFrameDue);
    feed->show(true, now);
    EXPECT_EQ(feed->nextFrameDue(now), now + kFeedPollInterval);
}

namespace {

std::atomic<int> wakes{0};
void countWake() {
    ++wakes;
}

}  // namespace

// Shown with a wake, a feed is not polled: each frame it takes wakes the display, and once
// uploaded it is counted in the latency of --stats.
TEST(FeedSourceTest, AShownFeedWakesTheDisplayForEachFrame) {
    int port = 0;
    auto feed = openFeed(FeedProtocol::ddp, "127.0.0.1", wall(2, 1), port);
    ASSERT_TRUE(feed);
    feed->wakeOnFrame(countWake);
    LoopbackSender sender;
    ASSERT_TRUE(sender.send(ddpPacket(0, {1, 2, 3, 4, 5, 6}, true), port));
    ASSERT_TRUE(feed->waitForFirstFrame(FrameClock::now() + 2s));
    EXPECT_EQ(wakes.load(), 0);  // not shown: the display is not disturbed
    const auto now = FrameClock::now();
    feed->show(true, now);
    EXPECT_EQ(feed->nextFrameDue(now), kNoFrameDue);
    ASSERT_TRUE(sender.send(ddpPacket(0, {7, 8, 9, 4, 5, 6}, true), port));
    for (int i = 0; i < 200 && wakes.load() == 0; ++i) std::this_thread::sleep_for(10ms);
    EXPECT_EQ(wakes.load(), 1);
    EXPECT_EQ(feed->frameAt(FrameClock::now()).serial, 2u);
    EXPECT_EQ(feed->statsLine(true).find(" latency"), std::string::npos);
    feed->frameUploaded();
    EXPECT_NE(feed->statsLine(true).find(" lost, "), std::string::npos) << feed->statsLine(true);
    EXPECT_EQ(feed->statsLine(true).substr(feed->statsLine(true).size() - 11), " ms latency");
}

// Wide enough for the vector loops that make the RGBA and their remainder: every pixel as sent,
// the wall's top row sent first and stored last.
TEST(FeedSourceTest, AWideWallIsShownAsSent) {
    int port = 0;
    auto feed = openFeed(FeedProtocol::ddp, "127.0.0.1", wall(101, 2), port);
    ASSERT_TRUE(feed);
    Bytes levels(std::size_t{3} * 101 * 2);
    for (std::size_t i = 0; i < levels.size(); ++i) levels[i] = std::uint8_t(i * 7 + 1);
    LoopbackSender sender;
    ASSERT_TRUE(sender.send(ddpPacket(0, levels, true), port));
    ASSERT_TRUE(feed->waitForFirstFrame(FrameClock::now() + 2s));
    const FrameView view = feed->frameAt(FrameClock::now());
    ASSERT_NE(view.pixels, nullptr);
    Bytes expected;
    for (int row : {1, 0}) {
        for (std::size_t i = 0; i < 101; ++i) {
            const std::size_t at = (std::size_t{101} * row + i) * 3;
            expected.insert(expected.end(), {levels[at], levels[at + 1], levels[at + 2], 255});
        }
    }
    EXPECT_EQ(Bytes(view.pixels, view.pixels + expected.size()), expected);
}

TEST(FeedSourceTest, IPv6LoopbackReceivesToo) {
    int port = 0;
    auto feed = openFeed(FeedProtocol::flaschen, "::1", wall(1, 1), port);
    ASSERT_TRUE(feed);
    LoopbackSender sender(true);
    ASSERT_TRUE(sender.send(flaschenPacket(1, 1, {9, 8, 7}), port));
    ASSERT_TRUE(feed->waitForFirstFrame(FrameClock::now() + 2s));
    const FrameView view = feed->frameAt(FrameClock::now());
    EXPECT_EQ(Bytes(view.pixels, view.pixels + 4), (Bytes{9, 8, 7, 255}));
}

TEST(FeedSourceTest, AFloodOfJunkIsCountedAndFramesStillCome) {
    int port = 0;
    auto feed = openFeed(FeedProtocol::sacn, "127.0.0.1", wall(1, 1), port);
    ASSERT_TRUE(feed);
    LoopbackSender sender;
    const Bytes junk(1200, 0xAB);
    for (int i = 0; i < 2000; ++i) sender.send(junk, port);
    sender.send(sacnData(SacnFields{}, {5, 6, 7}), port);
    ASSERT_TRUE(feed->waitForFirstFrame(FrameClock::now() + 5s));
    EXPECT_EQ(feed->statsLine(true).find("sacn: 1 frames"), 0u) << feed->statsLine(true);
    EXPECT_NE(feed->statsLine(true).find(" bad, 0 lost, 0 dropped"), std::string::npos)
        << feed->statsLine(true);
}

TEST(FeedSourceTest, ArtPollIsAnsweredOverTheSocket) {
    int port = 0;
    WallLayout layout = wall(1, 1);
    layout.firstUniverse = 0;
    auto feed = openFeed(FeedProtocol::artnet, "127.0.0.1", layout, port);
    ASSERT_TRUE(feed);
    LoopbackSender poller;
    ASSERT_TRUE(poller.send(artPoll(), port));
    const Bytes reply = poller.receive(2000);
    ASSERT_EQ(reply.size(), kArtPollReplyBytes);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&reply[26])), "Glimmerboard");
}

TEST(FeedSourceTest, ATakenPortIsAClearError) {
    int port = 0;
    auto first = openFeed(FeedProtocol::ddp, "127.0.0.1", wall(1, 1), port);
    ASSERT_TRUE(first);
    ListenSpec spec;
    spec.port = port;
    std::string error;
    std::vector<std::string> notices;
    EXPECT_FALSE(FeedReceiver::open(spec, wall(1, 1), error, notices));
    EXPECT_EQ(error, "ddp: port " + std::to_string(port) + " of 127.0.0.1 is taken");
    spec.address = "10.0.0.0.1";
    EXPECT_FALSE(FeedReceiver::open(spec, wall(1, 1), error, notices));
    EXPECT_EQ(error, "\"10.0.0.0.1\" is not a numeric IPv4 or IPv6 address");
}

TEST(FeedSourceTest, ListenSpecsNameProtocolAddressAndPort) {
    std::string error;
    const auto plain = parseListenSpec("sacn", error);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->address, "127.0.0.1");
    EXPECT_EQ(plain->port, 5568);
    const auto v6 = parseListenSpec("ddp=[::1]:4049", error);
    ASSERT_TRUE(v6);
    EXPECT_EQ(v6->address, "::1");
    EXPECT_EQ(v6->port, 4049);
    const auto portOnly = parseListenSpec("artnet:7000", error);
    ASSERT_TRUE(portOnly);
    EXPECT_EQ(portOnly->port, 7000);
    EXPECT_FALSE(parseListenSpec("dmx", error));
    EXPECT_FALSE(parseListenSpec("flaschen:99999", error));
}

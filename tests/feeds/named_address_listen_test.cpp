// What a socket on every address takes for a named address: its unicast, and the wall's sACN
// groups or Art-Net's broadcasts on its interface only; and the socket telling where each
// datagram was sent, over loopback.
#include <gtest/gtest.h>

#include "feeds/named_address_listen.h"
#include "feeds/udp_socket.h"
#include "tests/support/feed_packets.h"

namespace {

DatagramDestination sentTo(std::array<std::uint8_t, 4> address, int interfaceIndex) {
    DatagramDestination destination;
    std::copy(address.begin(), address.end(), destination.address.bytes.begin());
    destination.interfaceIndex = interfaceIndex;
    return destination;
}

}  // namespace

TEST(NamedAddressListenTest, TakesTheNamedAddressAndTheWallsGroupsOnItsInterfaceOnly) {
    NamedAddressListen listen;
    listen.unicast = sentTo({192, 0, 2, 2}, 0).address;
    listen.interfaceIndex = 2;
    listen.firstUniverse = 7;
    listen.groupCount = 300;  // universes 7 to 306: 306 is 239.255.1.50

    EXPECT_TRUE(acceptsDestination(listen, sentTo({192, 0, 2, 2}, 2)));
    EXPECT_TRUE(acceptsDestination(listen, sentTo({192, 0, 2, 2}, 1)));  // from this machine
    EXPECT_TRUE(acceptsDestination(listen, sentTo({239, 255, 0, 7}, 2)));
    EXPECT_TRUE(acceptsDestination(listen, sentTo({239, 255, 1, 50}, 2)));
    EXPECT_EQ(sacnGroup(306).bytes, sentTo({239, 255, 1, 50}, 2).address.bytes);

    EXPECT_FALSE(acceptsDestination(listen, sentTo({239, 255, 0, 7}, 3)));  // another interface
    EXPECT_FALSE(acceptsDestination(listen, sentTo({239, 255, 0, 6}, 2)));  // not the wall's
    EXPECT_FALSE(acceptsDestination(listen, sentTo({239, 255, 1, 51}, 2)));
    EXPECT_FALSE(acceptsDestination(listen, sentTo({239, 254, 0, 7}, 2)));
    EXPECT_FALSE(acceptsDestination(listen, sentTo({127, 0, 0, 1}, 1)));  // another address
    EXPECT_FALSE(acceptsDestination(listen, sentTo({192, 0, 2, 3}, 2)));
    EXPECT_FALSE(acceptsDestination(listen, sentTo({255, 255, 255, 255}, 2)));  // sACN
    listen.groupCount = 0;  // the system let none be joined
    EXPECT_FALSE(acceptsDestination(listen, sentTo({239, 255, 0, 7}, 2)));
}

TEST(NamedAddressListenTest, ArtNetTakesBroadcastsOnItsInterfaceOnly) {
    NamedAddressListen listen;
    listen.unicast = sentTo({192, 0, 2, 2}, 0).address;
    listen.interfaceIndex = 2;
    listen.takesBroadcast = true;
    listen.broadcast = sentTo({192, 0, 2, 255}, 0).address;

    EXPECT_TRUE(acceptsDestination(listen, sentTo({192, 0, 2, 2}, 2)));
    EXPECT_TRUE(acceptsDestination(listen, sentTo({192, 0, 2, 255}, 2)));
    EXPECT_TRUE(acceptsDestination(listen, sentTo({255, 255, 255, 255}, 2)));
    EXPECT_FALSE(acceptsDestination(listen, sentTo({192, 0, 2, 255}, 3)));  // another interface
    EXPECT_FALSE(acceptsDestination(listen, sentTo({255, 255, 255, 255}, 3)));
    EXPECT_FALSE(acceptsDestination(listen, sentTo({10, 255, 255, 255}, 2)));  // not its network
    EXPECT_FALSE(acceptsDestination(listen, sentTo({239, 255, 0, 1}, 2)));     // no groups
}

TEST(NamedAddressListenTest, TheSocketTellsWhereEachDatagramWasSentAndOnWhichInterface) {
    PeerAddress loopback;
    std::string error;
    ASSERT_TRUE(parseNumericAddress("127.0.0.1", 0, loopback, error));
    UdpSocket socket;
    ASSERT_TRUE(socket.bind(loopback, error)) << error;
    ASSERT_TRUE(socket.reportDestinations());
    testsupport::LoopbackSender sender;
    ASSERT_TRUE(sender.send(testsupport::Bytes(10, 1), socket.localPort()));
    UdpSocket* const sockets[] = {&socket};
    ASSERT_TRUE(UdpSocket::waitReadable(sockets, 2000));
    std::vector<std::vector<std::uint8_t>> buffers(4, std::vector<std::uint8_t>(64));
    std::vector<ReceivedDatagram> received;
    ASSERT_EQ(socket.receiveBatch(buffers, received), 1);
    EXPECT_EQ(received[0].to.address.bytes, loopback.bytes);
    const int loopbackInterface = UdpSocket::interfaceOf(loopback).index;
    EXPECT_GT(loopbackInterface, 0);
    EXPECT_EQ(received[0].to.interfaceIndex, loopbackInterface);
}

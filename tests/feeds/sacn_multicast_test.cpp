// What a socket on every address takes for a named address: its unicast, and the wall's groups
// on its interface only.
#include <gtest/gtest.h>

#include "feeds/sacn_multicast.h"

namespace {

DatagramDestination sentTo(std::array<std::uint8_t, 4> address, int interfaceIndex) {
    DatagramDestination destination;
    std::copy(address.begin(), address.end(), destination.address.bytes.begin());
    destination.interfaceIndex = interfaceIndex;
    return destination;
}

}  // namespace

TEST(SacnMulticastTest, TakesTheNamedAddressAndTheWallsGroupsOnItsInterfaceOnly) {
    MulticastListen listen;
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
    listen.groupCount = 0;  // the system let none be joined
    EXPECT_FALSE(acceptsDestination(listen, sentTo({239, 255, 0, 7}, 2)));
}

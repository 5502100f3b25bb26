#include "feeds/sacn_multicast.h"

#include <algorithm>

PeerAddress sacnGroup(int universe) {
    PeerAddress group;
    group.bytes[0] = 239;
    group.bytes[1] = 255;
    group.bytes[2] = static_cast<std::uint8_t>(universe >> 8);
    group.bytes[3] = static_cast<std::uint8_t>(universe);
    return group;
}

bool acceptsDestination(const MulticastListen& listen, const DatagramDestination& destination) {
    const PeerAddress& to = destination.address;
    if (to.ipv6 != listen.unicast.ipv6) return false;
    const std::size_t length = to.ipv6 ? 16 : 4;
    if (std::equal(to.bytes.begin(), to.bytes.begin() + length, listen.unicast.bytes.begin()))
        return true;
    if (to.ipv6 || to.bytes[0] != 239 || to.bytes[1] != 255) return false;
    if (destination.interfaceIndex != listen.interfaceIndex) return false;
    const int universe = to.bytes[2] << 8 | to.bytes[3];
    return universe >= listen.firstUniverse && universe < listen.firstUniverse + listen.groupCount;
}

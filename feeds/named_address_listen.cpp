// What a feed on a named address takes from the socket bound to every address: datagrams
// sent to that address, to the wall's sACN groups, or broadcast on its network.
#include "feeds/named_address_listen.h"

#include <algorithm>

PeerAddress sacnGroup(int universe) {
    PeerAddress group;
    group.bytes[0] = 239;
    group.bytes[1] = 255;
    group.bytes[2] = static_cast<std::uint8_t>(universe >> 8);
    group.bytes[3] = static_cast<std::uint8_t>(universe);
    return group;
}

namespace {

bool isBroadcast(const NamedAddressListen& listen, const PeerAddress& to) {
    const bool toAll = std::all_of(to.bytes.begin(), to.bytes.begin() + 4,
                                   [](std::uint8_t byte) { return byte == 255; });
    return toAll || (listen.broadcast && sameHost(to, *listen.broadcast));
}

}  // namespace

bool acceptsDestination(const NamedAddressListen& listen, const DatagramDestination& destination) {
    const PeerAddress& to = destination.address;
    if (to.ipv6 != listen.unicast.ipv6) return false;
    if (sameHost(to, listen.unicast)) return true;
    if (to.ipv6 || destination.interfaceIndex != listen.interfaceIndex) return false;
    if (listen.takesBroadcast && isBroadcast(listen, to)) return true;
    if (to.bytes[0] != 239 || to.bytes[1] != 255) return false;
    const int universe = to.bytes[2] << 8 | to.bytes[3];
    return universe >= listen.firstUniverse && universe < listen.firstUniverse + listen.groupCount;
}

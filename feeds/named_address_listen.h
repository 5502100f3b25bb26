// Which datagrams a socket listening on every address for one named address takes: those sent
// to that address; for sACN those sent to one of the wall's groups, and for Art-Net those
// broadcast (to all, or to the interface's network), when they arrive on that address's
// interface. Anything else reaching the port belongs to other addresses or other interfaces
// and is not ours. Pure: the receiver passes in what the kernel told of each one.
#pragma once

#include <optional>

#include "feeds/peer_address.h"

// E1.31's IPv4 multicast group of a universe: 239.255.hi.lo.
PeerAddress sacnGroup(int universe);

struct NamedAddressListen {
    PeerAddress unicast;                   // the address the user named
    int interfaceIndex = 0;                // its interface
    int firstUniverse = 1;                 // the sACN groups joined: these universes' ...
    int groupCount = 0;                    // ... this many of them
    bool takesBroadcast = false;           // Art-Net: lighting desks broadcast their polls and data
    std::optional<PeerAddress> broadcast;  // the interface's network broadcast, if it has one
};

bool acceptsDestination(const NamedAddressListen& listen, const DatagramDestination& destination);

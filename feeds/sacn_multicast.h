// Which datagrams a socket listening on every address for one named address takes: those sent
// to that address, and those sent to one of the wall's sACN groups that arrive on that
// address's interface. Anything else reaching the port belongs to other addresses or other
// interfaces and is not ours. Pure: the receiver passes in what the kernel told of each one.
#pragma once

#include "feeds/peer_address.h"

// E1.31's IPv4 multicast group of a universe: 239.255.hi.lo.
PeerAddress sacnGroup(int universe);

struct MulticastListen {
    PeerAddress unicast;     // the address the user named
    int interfaceIndex = 0;  // its interface
    int firstUniverse = 1;   // the groups joined: these universes' ...
    int groupCount = 0;      // ... this many of them
};

bool acceptsDestination(const MulticastListen& listen, const DatagramDestination& destination);

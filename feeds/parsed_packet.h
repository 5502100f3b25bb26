// The one outcome of every protocol parser: the packet, or why the datagram was refused.
#pragma once

template <class Packet>
struct ParsedPacket {
    Packet packet{};
    const char* refusal = nullptr;  // a fixed text; null when the datagram parsed

    bool ok() const { return refusal == nullptr; }
};

template <class Packet>
ParsedPacket<Packet> refused(const char* reason) {
    ParsedPacket<Packet> outcome;
    outcome.refusal = reason;
    return outcome;
}

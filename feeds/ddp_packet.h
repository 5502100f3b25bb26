// DDP datagrams: a 10-byte header (14 with a time code) and pixel bytes at an offset into the
// display. Parsed without sockets or state, so the receiver, the tests and the fuzzer share it.
#pragma once

#include <cstdint>
#include <span>

#include "feeds/parsed_packet.h"

// Destinations of the header's id byte that address the display's pixels.
inline constexpr int kDdpDefaultOutput = 1;
inline constexpr int kDdpAllDevices = 255;
inline constexpr std::size_t kDdpHeaderBytes = 10;

struct DdpPacket {
    bool push = false;         // show what has arrived
    bool query = false;        // asks for status or configuration instead of carrying pixels
    bool reply = false;        // an answer from another display
    int sequence = 0;          // 1 to 15; 0 when the sender does not number its packets
    int destination = 0;       // the id byte
    std::uint32_t offset = 0;  // byte offset of the data into the display
    std::span<const std::uint8_t> data{};  // RGB bytes, rows from the top, left to right

    bool carriesPixels() const {
        return !query && !reply &&
               (destination == kDdpDefaultOutput || destination == kDdpAllDevices);
    }
};

ParsedPacket<DdpPacket> parseDdpPacket(std::span<const std::uint8_t> datagram);

// FlaschenTaschen datagrams: one binary PPM (P6) picture with an optional offset, given as a
// "#FT: x y z" comment in its header or as "x y z" text after the pixels. Parsed without
// sockets or state.
#pragma once

#include <cstdint>
#include <span>

#include "feeds/parsed_packet.h"

struct FlaschenPacket {
    int width = 0;
    int height = 0;
    int maxValue = 255;  // 1 to 255: one byte a channel
    int x = 0;           // where the picture's top left goes on the wall; may be negative
    int y = 0;
    int layer = 0;                           // above 0, black pixels leave the wall as it was
    std::span<const std::uint8_t> pixels{};  // RGB, rows from the top
};

ParsedPacket<FlaschenPacket> parseFlaschenPacket(std::span<const std::uint8_t> datagram);

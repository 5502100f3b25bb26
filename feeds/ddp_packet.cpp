// parseDdpPacket: the header's fields checked in order, each against the bytes present.
#include "feeds/ddp_packet.h"

#include "feeds/byte_fields.h"

namespace {

constexpr std::uint8_t kVersionMask = 0xC0;
constexpr std::uint8_t kVersion1 = 0x40;
constexpr std::uint8_t kTimeCodeFlag = 0x10;
constexpr std::uint8_t kReplyFlag = 0x04;
constexpr std::uint8_t kQueryFlag = 0x02;
constexpr std::uint8_t kPushFlag = 0x01;
constexpr std::size_t kTimeCodeBytes = 4;

// The data type byte: 0 (undefined, the display's own format, which is RGB 8-bit here),
// 0x0B (RGB, 8 bits a channel) and 1, which some senders write for RGB.
bool isRgb8(std::uint8_t type) {
    return type == 0x00 || type == 0x01 || type == 0x0B;
}

}  // namespace

ParsedPacket<DdpPacket> parseDdpPacket(std::span<const std::uint8_t> datagram) {
    if (datagram.size() < kDdpHeaderBytes) return refused<DdpPacket>("shorter than the header");
    const std::uint8_t flags = datagram[0];
    if ((flags & kVersionMask) != kVersion1) return refused<DdpPacket>("not version 1");
    std::size_t headerBytes = kDdpHeaderBytes;
    if (flags & kTimeCodeFlag) headerBytes += kTimeCodeBytes;
    if (datagram.size() < headerBytes) return refused<DdpPacket>("time code cut short");

    ParsedPacket<DdpPacket> outcome;
    DdpPacket& packet = outcome.packet;
    packet.push = flags & kPushFlag;
    packet.query = flags & kQueryFlag;
    packet.reply = flags & kReplyFlag;
    packet.sequence = datagram[1] & 0x0F;
    packet.destination = datagram[3];
    packet.offset = readBigEndian32(&datagram[4]);
    const std::size_t length = readBigEndian16(&datagram[8]);
    if (length > datagram.size() - headerBytes) return refused<DdpPacket>("data cut short");
    if (packet.carriesPixels() && length > 0 && !isRgb8(datagram[2])) {
        return refused<DdpPacket>("data type is not RGB 8-bit");
    }
    packet.data = datagram.subspan(headerBytes, length);
    return outcome;
}

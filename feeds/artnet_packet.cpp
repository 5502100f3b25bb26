// parseArtnetPacket and writeArtPollReply. Op codes are little-endian, every other field of
// more than one byte big-endian.
#include "feeds/artnet_packet.h"

#include <algorithm>
#include <cstring>

#include "feeds/byte_fields.h"

namespace {

constexpr std::uint8_t kIdentifier[8] = {'A', 'r', 't', '-', 'N', 'e', 't', 0};
constexpr std::uint16_t kOpPoll = 0x2000;
constexpr std::uint16_t kOpPollReply = 0x2100;
constexpr std::uint16_t kOpDmx = 0x5000;
constexpr std::uint16_t kOpSync = 0x5200;
constexpr int kProtocolVersion = 14;
constexpr std::size_t kHeaderBytes = 12;  // identifier, op code, protocol version
constexpr std::size_t kDmxHeaderBytes = 18;
constexpr std::size_t kPollBytes = 14;
constexpr std::size_t kSyncBytes = 14;
constexpr std::uint16_t kArtnetPort = 0x1936;
constexpr std::size_t kShortNameBytes = 18;
constexpr std::size_t kLongNameBytes = 64;
constexpr std::uint8_t kPortTypeDmxOutput = 0x80;
constexpr std::uint8_t kGoodOutputTransmitting = 0x80;
constexpr std::uint8_t kStatus2ArtNet4 = 0x08;  // port addresses of 15 bits
constexpr std::uint8_t kStyleNode = 0x00;

ParsedPacket<ArtnetPacket> parseDmx(std::span<const std::uint8_t> datagram) {
    if (datagram.size() < kDmxHeaderBytes) return refused<ArtnetPacket>("ArtDmx cut short");
    ParsedPacket<ArtnetPacket> outcome;
    ArtnetPacket& packet = outcome.packet;
    packet.kind = ArtnetPacket::Kind::dmx;
    packet.sequence = datagram[12];
    if (datagram[15] & 0x80) return refused<ArtnetPacket>("net above 127");
    packet.portAddress = datagram[15] << 8 | datagram[14];
    const std::size_t length = readBigEndian16(&datagram[16]);
    if (length < 2 || length > 512 || length % 2 != 0)
        return refused<ArtnetPacket>("length not even from 2 to 512");
    if (length > datagram.size() - kDmxHeaderBytes)
        return refused<ArtnetPacket>("levels cut short");
    packet.channels = datagram.subspan(kDmxHeaderBytes, length);
    return outcome;
}

void writeName(std::uint8_t* field, std::size_t fieldBytes, std::string_view name) {
    std::memcpy(field, name.data(), std::min(name.size(), fieldBytes - 1));  // keeps a 0 last
}

}  // namespace

ParsedPacket<ArtnetPacket> parseArtnetPacket(std::span<const std::uint8_t> datagram) {
    if (datagram.size() < kHeaderBytes) return refused<ArtnetPacket>("shorter than the header");
    if (std::memcmp(datagram.data(), kIdentifier, sizeof kIdentifier) != 0)
        return refused<ArtnetPacket>("not an Art-Net packet");
    const std::uint16_t opCode = readLittleEndian16(&datagram[8]);
    // An ArtPollReply carries no protocol version where the others do.
    if (opCode == kOpPollReply) return ParsedPacket<ArtnetPacket>{};
    if (readBigEndian16(&datagram[10]) < kProtocolVersion)
        return refused<ArtnetPacket>("protocol version below 14");
    switch (opCode) {
        case kOpDmx:
            return parseDmx(datagram);
        case kOpSync: {
            if (datagram.size() < kSyncBytes) return refused<ArtnetPacket>("ArtSync cut short");
            ParsedPacket<ArtnetPacket> outcome;
            outcome.packet.kind = ArtnetPacket::Kind::sync;
            return outcome;
        }
        case kOpPoll: {
            if (datagram.size() < kPollBytes) return refused<ArtnetPacket>("ArtPoll cut short");
            ParsedPacket<ArtnetPacket> outcome;
            outcome.packet.kind = ArtnetPacket::Kind::poll;
            return outcome;
        }
        default:
            return ParsedPacket<ArtnetPacket>{};  // another node's business
    }
}

int artPollReplyCount(int firstPortAddress, int universeCount) {
    int count = 0;
    for (int index = 0; index < universeCount; ++count) {
        index += artPollReplyGroup(firstPortAddress, universeCount, count).portCount;
    }
    return count;
}

ArtPollReplyFields artPollReplyGroup(int firstPortAddress, int universeCount, int group) {
    ArtPollReplyFields fields;
    int index = 0;
    for (int g = 0;; ++g) {
        const int address = firstPortAddress + index;
        const int roomInSubnet = 16 - (address & 0x0F);
        const int count = std::min({kArtPollReplyPorts, roomInSubnet, universeCount - index});
        if (g == group || count <= 0) {
            fields.firstPortAddress = address;
            fields.portCount = std::max(count, 1);
            fields.bindIndex = group + 1;
            return fields;
        }
        index += count;
    }
}

void writeArtPollReply(const ArtPollReplyFields& fields,
                       std::span<std::uint8_t, kArtPollReplyBytes> reply) {
    std::uint8_t* r = reply.data();
    std::fill(reply.begin(), reply.end(), 0);
    std::memcpy(r, kIdentifier, sizeof kIdentifier);
    writeLittleEndian16(r + 8, kOpPollReply);
    std::copy(fields.address.begin(), fields.address.end(), r + 10);
    writeLittleEndian16(r + 14, kArtnetPort);
    r[18] = static_cast<std::uint8_t>(fields.firstPortAddress >> 8 & 0x7F);  // net
    r[19] = static_cast<std::uint8_t>(fields.firstPortAddress >> 4 & 0x0F);  // sub-net
    writeName(r + 26, kShortNameBytes, fields.name);
    writeName(r + 44, kLongNameBytes, fields.name);
    writeName(r + 108, kLongNameBytes, "#0001 [0000] Receiving");
    writeBigEndian16(r + 172, static_cast<std::uint16_t>(fields.portCount));
    for (int port = 0; port < fields.portCount && port < kArtPollReplyPorts; ++port) {
        r[174 + port] = kPortTypeDmxOutput;
        r[182 + port] = kGoodOutputTransmitting;
        r[190 + port] = static_cast<std::uint8_t>((fields.firstPortAddress + port) & 0x0F);
    }
    r[200] = kStyleNode;
    std::copy(fields.address.begin(), fields.address.end(), r + 207);  // bind address
    r[211] = static_cast<std::uint8_t>(fields.bindIndex);
    r[212] = kStatus2ArtNet4;
}

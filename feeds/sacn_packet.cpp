// parseSacnPacket: the root layer, then the framing layer its vector names, then for data the
// DMP layer. Every layer's length field must agree with the bytes present.
#include "feeds/sacn_packet.h"

#include <algorithm>
#include <cstring>

#include "feeds/byte_fields.h"

namespace {

constexpr std::uint8_t kPacketIdentifier[12] = {'A', 'S', 'C', '-', 'E', '1',
                                                '.', '1', '7', 0,   0,   0};
constexpr std::uint32_t kRootData = 0x00000004;
constexpr std::uint32_t kRootExtended = 0x00000008;
constexpr std::uint32_t kFramingData = 0x00000002;
constexpr std::uint32_t kExtendedSync = 0x00000001;
constexpr std::uint32_t kExtendedDiscovery = 0x00000002;
constexpr std::uint8_t kDmpSetProperty = 0x02;
constexpr std::uint8_t kDmpAddressType = 0xA1;
constexpr int kMaxPriority = 200;
constexpr std::uint8_t kPreviewOption = 0x80;
constexpr std::uint8_t kTerminatedOption = 0x40;

// Where each layer starts, and the smallest packet of each kind.
constexpr std::size_t kRootLayer = 16;
constexpr std::size_t kFramingLayer = 38;
constexpr std::size_t kDmpLayer = 115;
constexpr std::size_t kDataHeaderBytes = 126;  // up to and including the start code
constexpr std::size_t kSyncBytes = 49;
constexpr std::size_t kDiscoveryMinBytes = 120;

// A layer's flags and length: the flags are 0x7, the length counts from the layer's start
// to the end of the datagram.
bool layerLengthFits(std::span<const std::uint8_t> datagram, std::size_t layer) {
    const std::uint16_t field = readBigEndian16(&datagram[layer]);
    return (field >> 12) == 0x7 && (field & 0x0FFF) == datagram.size() - layer;
}

ParsedPacket<SacnPacket> parseData(std::span<const std::uint8_t> datagram,
                                   ParsedPacket<SacnPacket> outcome) {
    if (datagram.size() < kDataHeaderBytes) return refused<SacnPacket>("data packet cut short");
    if (readBigEndian32(&datagram[40]) != kFramingData)
        return refused<SacnPacket>("unknown framing vector");
    if (!layerLengthFits(datagram, kFramingLayer) || !layerLengthFits(datagram, kDmpLayer))
        return refused<SacnPacket>("layer length does not match the datagram");
    SacnPacket& packet = outcome.packet;
    packet.kind = SacnPacket::Kind::data;
    packet.priority = datagram[108];
    packet.syncAddress = readBigEndian16(&datagram[109]);
    packet.sequence = datagram[111];
    packet.preview = datagram[112] & kPreviewOption;
    packet.terminated = datagram[112] & kTerminatedOption;
    packet.universe = readBigEndian16(&datagram[113]);
    if (packet.priority > kMaxPriority) return refused<SacnPacket>("priority above 200");
    if (packet.universe < 1 || packet.universe > kSacnMaxUniverse)
        return refused<SacnPacket>("universe out of range");
    if (datagram[117] != kDmpSetProperty || datagram[118] != kDmpAddressType ||
        readBigEndian16(&datagram[119]) != 0 || readBigEndian16(&datagram[121]) != 1)
        return refused<SacnPacket>("not a DMP set-property layer");
    const std::size_t valueCount = readBigEndian16(&datagram[123]);
    if (valueCount < 1 || valueCount > kDmxChannels + 1 ||
        valueCount != datagram.size() - (kDataHeaderBytes - 1))
        return refused<SacnPacket>("property count does not match the datagram");
    packet.startCode = datagram[125];
    packet.channels = datagram.subspan(kDataHeaderBytes);
    return outcome;
}

ParsedPacket<SacnPacket> parseExtended(std::span<const std::uint8_t> datagram,
                                       ParsedPacket<SacnPacket> outcome) {
    if (datagram.size() < kFramingLayer + 6) return refused<SacnPacket>("framing layer cut short");
    if (!layerLengthFits(datagram, kFramingLayer))
        return refused<SacnPacket>("layer length does not match the datagram");
    const std::uint32_t vector = readBigEndian32(&datagram[40]);
    SacnPacket& packet = outcome.packet;
    if (vector == kExtendedSync) {
        if (datagram.size() != kSyncBytes) return refused<SacnPacket>("sync packet of wrong size");
        packet.kind = SacnPacket::Kind::sync;
        packet.sequence = datagram[44];
        packet.syncAddress = readBigEndian16(&datagram[45]);
        if (packet.syncAddress < 1 || packet.syncAddress > kSacnMaxUniverse)
            return refused<SacnPacket>("sync address out of range");
        return outcome;
    }
    if (vector == kExtendedDiscovery) {
        if (datagram.size() < kDiscoveryMinBytes)
            return refused<SacnPacket>("discovery packet cut short");
        packet.kind = SacnPacket::Kind::discovery;
        return outcome;
    }
    return refused<SacnPacket>("unknown extended vector");
}

}  // namespace

ParsedPacket<SacnPacket> parseSacnPacket(std::span<const std::uint8_t> datagram) {
    if (datagram.size() < kFramingLayer) return refused<SacnPacket>("shorter than the root layer");
    if (readBigEndian16(&datagram[0]) != 0x0010 || readBigEndian16(&datagram[2]) != 0 ||
        std::memcmp(&datagram[4], kPacketIdentifier, sizeof kPacketIdentifier) != 0)
        return refused<SacnPacket>("not an ACN packet");
    if (!layerLengthFits(datagram, kRootLayer))
        return refused<SacnPacket>("layer length does not match the datagram");
    ParsedPacket<SacnPacket> outcome;
    std::copy_n(&datagram[22], outcome.packet.source.size(), outcome.packet.source.begin());
    const std::uint32_t vector = readBigEndian32(&datagram[18]);
    if (vector == kRootData) return parseData(datagram, outcome);
    if (vector == kRootExtended) return parseExtended(datagram, outcome);
    return refused<SacnPacket>("unknown root vector");
}

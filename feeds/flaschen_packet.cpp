// parseFlaschenPacket: the PPM header read token by token, comments skipped (one of them may
// carry the offset), then the pixels, then an optional offset footer.
#include "feeds/flaschen_packet.h"

#include <cstring>

namespace {

// Sides no datagram can exceed: 65507 bytes hold at most 21835 pixels.
constexpr int kMaxSide = 65535;
constexpr int kMaxOffset = 1 << 20;

struct TextCursor {
    std::span<const std::uint8_t> bytes;
    std::size_t at = 0;
    bool offsetSeen = false;
    int offset[3] = {0, 0, 0};

    bool atEnd() const { return at >= bytes.size(); }
    static bool isSpace(std::uint8_t c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
    }

    // Reads up to three signed numbers of the line in [from, to), as "x y z" or "x y".
    static int readOffset(std::span<const std::uint8_t> line, int (&values)[3]) {
        int count = 0;
        std::size_t i = 0;
        while (count < 3) {
            while (i < line.size() && isSpace(line[i])) ++i;
            if (i >= line.size()) break;
            bool negative = false;
            if (line[i] == '-' || line[i] == '+') negative = line[i++] == '-';
            if (i >= line.size() || line[i] < '0' || line[i] > '9') break;
            long value = 0;
            while (i < line.size() && line[i] >= '0' && line[i] <= '9') {
                if (value < kMaxOffset) value = value * 10 + (line[i] - '0');
                ++i;
            }
            if (value > kMaxOffset) value = kMaxOffset;
            values[count++] = static_cast<int>(negative ? -value : value);
        }
        return count;
    }

    void skipSpaceAndComments() {
        while (!atEnd()) {
            if (isSpace(bytes[at])) {
                ++at;
            } else if (bytes[at] == '#') {
                const std::size_t start = at;
                while (!atEnd() && bytes[at] != '\n') ++at;
                const auto comment = bytes.subspan(start, at - start);
                if (comment.size() >= 4 && std::memcmp(comment.data(), "#FT:", 4) == 0 &&
                    readOffset(comment.subspan(4), offset) >= 2) {
                    offsetSeen = true;
                }
            } else {
                return;
            }
        }
    }

    // A decimal number from 0 to kMaxSide; false when there is none or it is larger.
    bool readNumber(int& value) {
        skipSpaceAndComments();
        if (atEnd() || bytes[at] < '0' || bytes[at] > '9') return false;
        long number = 0;
        while (!atEnd() && bytes[at] >= '0' && bytes[at] <= '9') {
            number = number * 10 + (bytes[at++] - '0');
            if (number > kMaxSide) return false;
        }
        value = static_cast<int>(number);
        return true;
    }
};

}  // namespace

ParsedPacket<FlaschenPacket> parseFlaschenPacket(std::span<const std::uint8_t> datagram) {
    if (datagram.size() < 2 || datagram[0] != 'P' || datagram[1] != '6')
        return refused<FlaschenPacket>("not a binary PPM");
    TextCursor cursor{datagram, 2};
    ParsedPacket<FlaschenPacket> outcome;
    FlaschenPacket& packet = outcome.packet;
    if (!cursor.readNumber(packet.width) || !cursor.readNumber(packet.height) ||
        !cursor.readNumber(packet.maxValue))
        return refused<FlaschenPacket>("PPM header incomplete");
    if (packet.width < 1 || packet.height < 1) return refused<FlaschenPacket>("empty picture");
    if (packet.maxValue < 1 || packet.maxValue > 255)
        return refused<FlaschenPacket>("not one byte a channel");
    // Exactly one white-space byte ends the header.
    if (cursor.atEnd() || !TextCursor::isSpace(datagram[cursor.at]))
        return refused<FlaschenPacket>("PPM header incomplete");
    ++cursor.at;
    const std::uint64_t pixelBytes = std::uint64_t{3} * packet.width * packet.height;
    if (pixelBytes > datagram.size() - cursor.at)
        return refused<FlaschenPacket>("pixels cut short");
    packet.pixels = datagram.subspan(cursor.at, pixelBytes);
    int footer[3] = {0, 0, 0};
    const auto rest = datagram.subspan(cursor.at + pixelBytes);
    if (cursor.offsetSeen) {
        packet.x = cursor.offset[0], packet.y = cursor.offset[1], packet.layer = cursor.offset[2];
    } else if (TextCursor::readOffset(rest, footer) >= 2) {
        packet.x = footer[0], packet.y = footer[1], packet.layer = footer[2];
    }
    if (packet.layer < 0) packet.layer = 0;
    return outcome;
}

// decodeGifLzw: codes read least significant bit first, each table entry a prefix code and a
// last index, strings written back to front straight into place.
#include "pictures/gif_lzw.h"

#include <array>

namespace {

constexpr int kMaxCodeBits = 12;
constexpr int kTableSize = 1 << kMaxCodeBits;

struct LzwTable {
    std::array<std::uint16_t, kTableSize> prefix{};
    std::array<std::uint8_t, kTableSize> last{};     // the string's last index
    std::array<std::uint8_t, kTableSize> first{};    // and its first
    std::array<std::uint16_t, kTableSize> length{};  // in indices
};

}  // namespace

LzwOutcome decodeGifLzw(std::span<const std::uint8_t> data, int minCodeSize,
                        std::span<std::uint8_t> indices) {
    if (indices.empty()) return {};
    if (minCodeSize < 2 || minCodeSize > kMaxLzwCodeSize) return {LzwEnd::badCode, 0};
    LzwTable table;
    const int clear = 1 << minCodeSize, end = clear + 1;
    for (int code = 0; code < clear; ++code) {
        table.last[code] = table.first[code] = static_cast<std::uint8_t>(code);
        table.length[code] = 1;
    }
    int width = minCodeSize + 1, next = end + 1, previous = -1;
    std::size_t written = 0, at = 0;
    std::uint32_t bits = 0;
    int bitCount = 0;
    for (;;) {
        while (bitCount < width) {
            if (at == data.size()) return {LzwEnd::dataEnd, written};
            bits |= std::uint32_t{data[at++]} << bitCount;
            bitCount += 8;
        }
        const int code = static_cast<int>(bits & ((1u << width) - 1));
        bits >>= width;
        bitCount -= width;
        if (code == clear) {
            width = minCodeSize + 1;
            next = end + 1;
            previous = -1;
            continue;
        }
        if (code == end) return {LzwEnd::endCode, written};
        if (previous < 0 ? code > end : code > next || (code == next && next == kTableSize))
            return {LzwEnd::badCode, written};
        if (previous >= 0 && next < kTableSize) {
            // The code about to be made may be used before it is made: its string is the
            // previous one and that one's first index.
            const int string = code == next ? previous : code;
            table.prefix[next] = static_cast<std::uint16_t>(previous);
            table.last[next] = table.first[string];
            table.first[next] = table.first[previous];
            table.length[next] = static_cast<std::uint16_t>(table.length[previous] + 1);
            ++next;
            if (next == (1 << width) && width < kMaxCodeBits) ++width;
        }
        previous = code;
        // The string of `code`, written back to front; what lies past the last pixel is cut.
        const std::size_t length = table.length[code];
        const std::size_t room = indices.size() - written;
        int link = code;
        for (std::size_t i = length; i-- > 0; link = table.prefix[link]) {
            if (i < room) indices[written + i] = table.last[link];
        }
        if (length >= room) return {LzwEnd::complete, indices.size()};
        written += length;
    }
}

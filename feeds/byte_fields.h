// Fixed-width fields of network packets, read from and written to byte spans. Callers check
// the span's length first; these never look past the bytes they are given.
#pragma once

#include <cstdint>

inline std::uint16_t readBigEndian16(const std::uint8_t* bytes) {
    return static_cast<std::uint16_t>(bytes[0] << 8 | bytes[1]);
}

inline std::uint32_t readBigEndian32(const std::uint8_t* bytes) {
    return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
           std::uint32_t{bytes[2]} << 8 | bytes[3];
}

inline std::uint16_t readLittleEndian16(const std::uint8_t* bytes) {
    return static_cast<std::uint16_t>(bytes[1] << 8 | bytes[0]);
}

inline void writeBigEndian16(std::uint8_t* bytes, std::uint16_t value) {
    bytes[0] = static_cast<std::uint8_t>(value >> 8);
    bytes[1] = static_cast<std::uint8_t>(value);
}

inline void writeBigEndian32(std::uint8_t* bytes, std::uint32_t value) {
    writeBigEndian16(bytes, static_cast<std::uint16_t>(value >> 16));
    writeBigEndian16(bytes + 2, static_cast<std::uint16_t>(value));
}

inline void writeLittleEndian16(std::uint8_t* bytes, std::uint16_t value) {
    bytes[0] = static_cast<std::uint8_t>(value);
    bytes[1] = static_cast<std::uint8_t>(value >> 8);
}

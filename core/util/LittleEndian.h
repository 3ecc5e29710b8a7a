#pragma once

// Little-endian fields of the stored formats, read and written byte by byte so that neither
// alignment nor the host's byte order matters.

#include <cstddef>
#include <cstdint>
#include <vector>

inline uint16_t LoadLe16(const uint8_t* bytes)
{
    return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

inline void StoreLe16(uint8_t* bytes, uint16_t value)
{
    bytes[0] = static_cast<uint8_t>(value);
    bytes[1] = static_cast<uint8_t>(value >> 8);
}

inline uint32_t LoadLe32(const uint8_t* bytes)
{
    return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 |
           uint32_t{bytes[3]} << 24;
}

inline void StoreLe32(uint8_t* bytes, uint32_t value)
{
    bytes[0] = static_cast<uint8_t>(value);
    bytes[1] = static_cast<uint8_t>(value >> 8);
    bytes[2] = static_cast<uint8_t>(value >> 16);
    bytes[3] = static_cast<uint8_t>(value >> 24);
}

inline void AppendLe32(std::vector<uint8_t>& bytes, uint32_t value)
{
    const size_t at = bytes.size();
    bytes.resize(at + 4);
    StoreLe32(&bytes[at], value);
}

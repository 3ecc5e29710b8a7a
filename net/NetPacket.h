#pragma once

// What every datagram of network play shares: the 4-byte header (type, a zero byte, target
// slot, sender slot), little-endian fields at fixed offsets, and 20-byte name fields. A slot is
// a rider number 0..25 and doubles as the machine's address in the protocol.
//
// NetFields reads and NetFieldWriter writes a datagram by offset; both assume the caller has
// checked the length, and assert it.

#include <array>
#include <cassert>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "net/NetMsgType.h"

inline constexpr size_t kNetHeaderSize = 4;
inline constexpr size_t kNetSlotCount = 26;
inline constexpr uint8_t kNetAllSlots = 255;  // target: every machine
inline constexpr uint8_t kNetNoSlot = 255;    // sender: not in a session yet
constexpr bool IsNetSlot(uint32_t value)
{
    return value < kNetSlotCount;
}
// The receive buffer; no datagram of the protocol is longer.
inline constexpr size_t kNetReceiveBufferSize = 40960;

struct NetPacketHeader
{
    uint8_t type = 0;  // a NetMsgType, or any other byte as received
    uint8_t target = kNetAllSlots;
    uint8_t sender = kNetNoSlot;
};

// Nothing for a datagram shorter than the header. The zero byte is not looked at.
std::optional<NetPacketHeader> ReadNetHeader(std::span<const uint8_t> datagram);
void WriteNetHeader(std::span<uint8_t> datagram, const NetPacketHeader& header);
// Starts a datagram of the type: the first `length` bytes zeroed (the type's fixed length when
// not given), the header with the type written. Returns the length.
size_t BeginNetDatagram(std::span<uint8_t> out, NetPacketHeader header, NetMsgType type,
                        size_t length = 0);

// A 20-byte name: Windows-1252 bytes, zero-padded. A name always ends within its field, so at
// most 19 bytes of one are kept, from a datagram too.
class NetName
{
public:
    static constexpr size_t kSize = 20;

    NetName() = default;
    explicit NetName(std::string_view text);

    std::string_view View() const;
    bool operator==(const NetName& other) const = default;

private:
    std::array<char, kSize> bytes_{};
};

class NetFields
{
public:
    explicit NetFields(std::span<const uint8_t> datagram) : datagram_(datagram) {}

    uint8_t U8(size_t offset) const { return datagram_[Checked(offset, 1)]; }
    int8_t I8(size_t offset) const { return static_cast<int8_t>(U8(offset)); }
    uint16_t U16(size_t offset) const;
    int16_t I16(size_t offset) const { return static_cast<int16_t>(U16(offset)); }
    uint32_t U32(size_t offset) const;
    int32_t I32(size_t offset) const { return static_cast<int32_t>(U32(offset)); }
    float F32(size_t offset) const;
    NetName Name(size_t offset) const;
    std::span<const uint8_t> Bytes(size_t offset, size_t count) const
    {
        return datagram_.subspan(Checked(offset, count), count);
    }

private:
    size_t Checked(size_t offset, [[maybe_unused]] size_t count) const
    {
        assert(offset + count <= datagram_.size());
        return offset;
    }

    std::span<const uint8_t> datagram_;
};

class NetFieldWriter
{
public:
    explicit NetFieldWriter(std::span<uint8_t> datagram) : datagram_(datagram) {}

    void U8(size_t offset, uint8_t value) { datagram_[Checked(offset, 1)] = value; }
    void I8(size_t offset, int8_t value) { U8(offset, static_cast<uint8_t>(value)); }
    void U16(size_t offset, uint16_t value);
    void I16(size_t offset, int16_t value) { U16(offset, static_cast<uint16_t>(value)); }
    void U32(size_t offset, uint32_t value);
    void I32(size_t offset, int32_t value) { U32(offset, static_cast<uint32_t>(value)); }
    void F32(size_t offset, float value);
    void Name(size_t offset, const NetName& name);
    void Bytes(size_t offset, std::span<const uint8_t> bytes);

private:
    size_t Checked(size_t offset, [[maybe_unused]] size_t count) const
    {
        assert(offset + count <= datagram_.size());
        return offset;
    }

    std::span<uint8_t> datagram_;
};

// A datagram's length fits its type: exactly its fixed length, or for the two growing types
// the length with blocks, n of them (nothing when it does not fit).
bool HasFixedLength(std::span<const uint8_t> datagram, NetMsgType type);
std::optional<size_t> BlockCount(std::span<const uint8_t> datagram, NetMsgType type);

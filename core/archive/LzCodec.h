#pragma once

// The block codec of packed archive members and of animation frames: a Lempel-Ziv coder with
// a 510-byte window and 2-byte keys whose codes are packed least significant bit first into
// little-endian 32-bit words.
//
// Block: i32 header, then
//   header 0   nothing (an empty block);
//   header -n  n bytes stored as they are;
//   header +n  a bit stream that expands to n bytes:
//     literal  bit 0, then the byte (8 bits);
//     match    bit 1, distance class c (3 bits), distance field (c + 1 bits), length code;
//              the match copies from d + 1 bytes back, d = (2^(c+1) - 2) + field, so 1 to 510;
//     length   2 plus a 2-bit field; while a field is all ones, a field one bit wider follows
//              and is added too.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

// Members are packed in independent blocks of this many bytes.
inline constexpr size_t kLzBlockSize = 0x20000;
// A block never grows beyond its stored form.
inline constexpr size_t kLzMaxBlockOverhead = 4;
inline constexpr size_t kLzWindowPositions = 510;

// The packer's search state: per 2-byte key the newest position that had it, chained to older
// ones, for the most recent 510 positions. Indices into ring; -1 = none.
struct LzPackTables
{
    struct Node
    {
        uint32_t position = 0;
        int16_t older = -1;
        int16_t newer = -1;
    };

    std::array<int16_t, 65536> newestByKey;
    std::array<Node, kLzWindowPositions> ring;
};

// Packs source (at most INT32_MAX bytes) into destination, which must hold source.size() + 4
// bytes; returns the length of the block written. Greedy and deterministic: the same input
// always gives the same block.
size_t LzPackBlock(std::span<const uint8_t> source, std::span<uint8_t> destination,
                   LzPackTables& tables);

// Expands one block into destination; returns the expanded length, or nothing when the block
// is malformed or would not fit. Reads no byte outside source and writes none outside
// destination.
std::optional<size_t> LzUnpackBlock(std::span<const uint8_t> source,
                                    std::span<uint8_t> destination);

// Owns the packer's tables, so that a caller packing many blocks allocates them once.
class LzCodec
{
public:
    LzCodec();

    size_t Pack(std::span<const uint8_t> source, std::span<uint8_t> destination);
    // The same as LzUnpackBlock.
    std::optional<size_t> Unpack(std::span<const uint8_t> source,
                                 std::span<uint8_t> destination) const;

private:
    std::unique_ptr<LzPackTables> tables_;
};

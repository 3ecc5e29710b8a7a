#pragma once

// LZ blocks written by hand, straight from the format, to check the codec against something
// other than itself.

#include <cstdint>
#include <vector>

class CodeStream
{
public:
    explicit CodeStream(int32_t header) : header_(header) {}

    CodeStream& Bits(uint64_t value, unsigned count)
    {
        for (unsigned i = 0; i < count; ++i)
        {
            bits_.push_back(((value >> i) & 1) != 0);
        }
        return *this;
    }

    CodeStream& Literal(uint8_t byte) { return Bits(0, 1).Bits(byte, 8); }

    // Copies length bytes from distance (1 to 510) bytes back.
    CodeStream& Match(uint32_t distance, uint32_t length)
    {
        const uint32_t d = distance - 1;
        uint32_t distanceClass = 0;
        while (d >= (4u << distanceClass) - 2)
        {
            ++distanceClass;
        }
        Bits(1, 1).Bits(distanceClass, 3).Bits(d - ((2u << distanceClass) - 2), distanceClass + 1);
        uint32_t rest = length - 2;
        unsigned width = 2;
        while (rest >= (1u << width) - 1)
        {
            Bits((1u << width) - 1, width);
            rest -= (1u << width) - 1;
            ++width;
        }
        return Bits(rest, width);
    }

    // Header, then the bits in whole 32-bit little-endian words, the last padded with zeros.
    std::vector<uint8_t> Bytes() const
    {
        std::vector<uint8_t> bytes(4 + (bits_.size() + 31) / 32 * 4, 0);
        for (size_t i = 0; i < 4; ++i)
        {
            bytes[i] = static_cast<uint8_t>(static_cast<uint32_t>(header_) >> (8 * i));
        }
        for (size_t i = 0; i < bits_.size(); ++i)
        {
            if (bits_[i])
            {
                bytes[4 + i / 8] |= static_cast<uint8_t>(1u << (i % 8));
            }
        }
        return bytes;
    }

private:
    int32_t header_;
    std::vector<bool> bits_;
};

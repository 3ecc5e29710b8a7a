#include <algorithm>
#include <bit>
#include <cstring>

#include "core/archive/LzCodec.h"
#include "core/util/LittleEndian.h"

namespace
{
// The stream's bytes are loaded eight at a time into the low end of one word.
static_assert(std::endian::native == std::endian::little);

constexpr uint32_t kDistanceBase[8] = {0, 2, 6, 14, 30, 62, 126, 254};
constexpr unsigned kMaxLengthFieldBits = 31;
// Flag, class, the widest distance field and the first length field.
constexpr unsigned kLongestMatchHead = 1 + 3 + 8 + 2;

constexpr uint64_t LowBits(unsigned count)
{
    return (uint64_t{1} << count) - 1;
}

// The code stream, least significant bit first. Its 32-bit little-endian words are the same
// bits as its bytes taken in order, so the buffer is topped up a byte at a time, eight at once
// while they last. Bits above the count are bytes not yet counted, never garbage.
class BitStream
{
public:
    explicit BitStream(std::span<const uint8_t> words)
        : next_(words.data()), end_(words.data() + words.size() / 4 * 4)
    {
    }

    // At least 56 bits in the buffer, or all the stream has left.
    void Refill()
    {
        if (end_ - next_ >= 8)
        {
            uint64_t bytes;
            std::memcpy(&bytes, next_, 8);
            bits_ |= bytes << count_;
            next_ += (63 - count_) >> 3;
            count_ |= 56;
            return;
        }
        while (count_ <= 56 && next_ < end_)
        {
            bits_ |= uint64_t{*next_++} << count_;
            count_ += 8;
        }
    }

    uint64_t Bits() const { return bits_; }
    unsigned Available() const { return count_; }

    void Skip(unsigned count)
    {
        bits_ >>= count;
        count_ -= count;
    }

private:
    const uint8_t* next_;
    const uint8_t* end_;
    uint64_t bits_ = 0;
    unsigned count_ = 0;
};

// Copies from distance bytes back, byte by byte in effect, so that a match may repeat bytes
// it has just produced. Where the block's own later output has room to absorb an overshoot,
// whole words are copied from a multiple of the distance at least a word back.
void CopyMatch(uint8_t* out, size_t distance, size_t length, size_t roomAfter)
{
    const uint8_t* from = out - distance;
    if (distance == 1)
    {
        std::memset(out, from[0], length);
        return;
    }
    const size_t stride = distance >= 8 ? distance : distance * ((8 + distance - 1) / distance);
    // A short distance first lays down one stride byte by byte, so that a word lies behind.
    const size_t firstWordAt = distance >= 8 ? 0 : stride;
    size_t done = 0;
    if (roomAfter >= 8 && length > firstWordAt)
    {
        for (; done < firstWordAt; ++done)
        {
            out[done] = from[done];
        }
        for (; done < length; done += 8)
        {
            std::memcpy(out + done, out + done - stride, 8);
        }
        return;
    }
    for (; done < length; ++done)
    {
        out[done] = from[done];
    }
}

// The hot loop of the unpacker. The stream state lives in this function alone, so that the
// compiler can keep it in registers although every output byte is written through a char
// pointer.
bool ExpandCodes(std::span<const uint8_t> stream, std::span<uint8_t> out)
{
    BitStream in(stream);
    const size_t total = out.size();
    size_t produced = 0;
    while (produced < total)
    {
        in.Refill();
        // Literals come in runs; a full buffer holds six of them.
        while ((in.Bits() & 1) == 0)
        {
            if (in.Available() < 9)
            {
                return false;
            }
            out[produced++] = static_cast<uint8_t>(in.Bits() >> 1);
            in.Skip(9);
            if (produced == total)
            {
                return true;
            }
            if (in.Available() < kLongestMatchHead)
            {
                in.Refill();
            }
        }

        const uint64_t bits = in.Bits();
        const unsigned distanceClass = static_cast<unsigned>(bits >> 1) & 7;
        const unsigned fieldBits = distanceClass + 1;
        const unsigned headBits = 1 + 3 + fieldBits + 2;
        if (in.Available() < headBits)
        {
            return false;
        }
        const size_t distance =
            kDistanceBase[distanceClass] + ((bits >> 4) & LowBits(fieldBits)) + 1;
        uint64_t field = (bits >> (4 + fieldBits)) & 3;
        in.Skip(headBits);

        const size_t remaining = total - produced;
        size_t length = 2 + field;
        // While a length field is all ones, a field one bit wider follows.
        for (unsigned width = 3; field == LowBits(width - 1); ++width)
        {
            if (width > kMaxLengthFieldBits || length > remaining)
            {
                return false;
            }
            in.Refill();
            if (in.Available() < width)
            {
                return false;
            }
            field = in.Bits() & LowBits(width);
            in.Skip(width);
            length += field;
        }
        if (distance > produced || length > remaining)
        {
            return false;
        }
        CopyMatch(&out[produced], distance, length, remaining - length);
        produced += length;
    }
    return true;
}
}  // namespace

std::optional<size_t> LzUnpackBlock(std::span<const uint8_t> source, std::span<uint8_t> destination)
{
    if (source.size() < 4)
    {
        return std::nullopt;
    }
    const int64_t header = static_cast<int32_t>(LoadLe32(source.data()));
    const std::span<const uint8_t> body = source.subspan(4);
    if (header == 0)
    {
        return 0;
    }
    if (header < 0)
    {
        const size_t length = static_cast<size_t>(-header);
        if (length > body.size() || length > destination.size())
        {
            return std::nullopt;
        }
        std::ranges::copy(body.first(length), destination.begin());
        return length;
    }
    const size_t length = static_cast<size_t>(header);
    if (length > destination.size())
    {
        return std::nullopt;
    }
    if (!ExpandCodes(body, destination.first(length)))
    {
        return std::nullopt;
    }
    return length;
}

std::optional<size_t> LzCodec::Unpack(std::span<const uint8_t> source,
                                      std::span<uint8_t> destination) const
{
    return LzUnpackBlock(source, destination);
}

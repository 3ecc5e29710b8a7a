#include <bit>
#include <cassert>
#include <climits>
#include <cstring>

#include "core/archive/LzCodec.h"
#include "core/util/LittleEndian.h"

namespace
{
// The first differing byte of two words is found from their lowest set bit.
static_assert(std::endian::native == std::endian::little);

constexpr size_t kSmallestCodedBlock = 16;
constexpr size_t kMinMatch = 2;

uint32_t KeyAt(std::span<const uint8_t> source, size_t position)
{
    return uint32_t{source[position]} | uint32_t{source[position + 1]} << 8;
}

// Bytes from the two positions that agree, up to the end of the input.
size_t AgreementLength(std::span<const uint8_t> source, size_t older, size_t current)
{
    const size_t limit = source.size() - current;
    size_t length = kMinMatch;
    while (length + 8 <= limit)
    {
        uint64_t a;
        uint64_t b;
        std::memcpy(&a, &source[older + length], 8);
        std::memcpy(&b, &source[current + length], 8);
        if (a != b)
        {
            return length + static_cast<size_t>(std::countr_zero(a ^ b)) / 8;
        }
        length += 8;
    }
    while (length < limit && source[older + length] == source[current + length])
    {
        ++length;
    }
    return length;
}

// The window of recent positions, chained per 2-byte key from the newest to the oldest.
class MatchWindow
{
public:
    MatchWindow(std::span<const uint8_t> source, LzPackTables& tables)
        : source_(source), tables_(tables)
    {
        tables_.newestByKey.fill(-1);
    }

    void Insert(size_t position)
    {
        // The last byte has no key; nothing is searched after it is passed anyway.
        if (position + 1 >= source_.size())
        {
            return;
        }
        LzPackTables::Node& node = tables_.ring[cursor_];
        if (inserted_ >= kLzWindowPositions)
        {
            Forget(node);
        }
        const uint32_t key = KeyAt(source_, position);
        const int16_t previous = tables_.newestByKey[key];
        node = {static_cast<uint32_t>(position), previous, -1};
        if (previous >= 0)
        {
            tables_.ring[previous].newer = cursor_;
        }
        tables_.newestByKey[key] = cursor_;
        cursor_ = static_cast<int16_t>((cursor_ + 1) % kLzWindowPositions);
        ++inserted_;
    }

    void InsertRange(size_t first, size_t end)
    {
        for (size_t position = first; position < end; ++position)
        {
            Insert(position);
        }
    }

    struct Match
    {
        size_t position = 0;
        size_t length = 0;  // 0 = none
    };

    // The longest earlier occurrence of the bytes at current; the nearest among equals, and
    // the first found that runs to the end of the input.
    Match FindLongest(size_t current) const
    {
        Match best;
        for (int16_t index = tables_.newestByKey[KeyAt(source_, current)]; index >= 0;
             index = tables_.ring[index].older)
        {
            const size_t candidate = tables_.ring[index].position;
            const size_t length = AgreementLength(source_, candidate, current);
            if (current + length == source_.size())
            {
                return {candidate, length};
            }
            if (length > best.length)
            {
                best = {candidate, length};
            }
        }
        return best;
    }

private:
    // The slot's node is the oldest of its key's chain: either the only one or the tail.
    void Forget(const LzPackTables::Node& node)
    {
        if (node.newer < 0)
        {
            tables_.newestByKey[KeyAt(source_, node.position)] = -1;
        }
        else
        {
            tables_.ring[node.newer].older = -1;
        }
    }

    std::span<const uint8_t> source_;
    LzPackTables& tables_;
    int16_t cursor_ = 0;
    size_t inserted_ = 0;
};

// Writes codes into 32-bit words after the header. Gives up as soon as the next word would
// make the block as long as the input, since the stored form is then no longer.
class CodeWriter
{
public:
    CodeWriter(std::span<uint8_t> destination, size_t sourceLength)
        : destination_(destination), sourceLength_(sourceLength)
    {
    }

    bool GaveUp() const { return gaveUp_; }
    size_t Length() const { return written_; }

    void Put(uint32_t value, unsigned bitCount)
    {
        pending_ |= uint64_t{value} << pendingBits_;
        pendingBits_ += bitCount;
        if (pendingBits_ >= 32)
        {
            WriteWord(static_cast<uint32_t>(pending_));
            pending_ >>= 32;
            pendingBits_ -= 32;
        }
    }

    void Literal(uint8_t byte) { Put(uint32_t{byte} << 1, 9); }

    void Match(size_t distance, size_t length)
    {
        const uint32_t d = static_cast<uint32_t>(distance - 1);
        const unsigned distanceClass = static_cast<unsigned>(std::bit_width(d + 2)) - 2;
        const uint32_t field = d - ((2u << distanceClass) - 2);
        Put(1 | distanceClass << 1 | field << 4, 4 + distanceClass + 1);

        uint32_t rest = static_cast<uint32_t>(length - kMinMatch);
        for (unsigned width = 2;; ++width)
        {
            const uint32_t full = (1u << width) - 1;
            if (rest < full)
            {
                Put(rest, width);
                break;
            }
            Put(full, width);
            rest -= full;
        }
    }

    void Finish()
    {
        if (pendingBits_ > 0)
        {
            WriteWord(static_cast<uint32_t>(pending_));
            pendingBits_ = 0;
        }
    }

private:
    void WriteWord(uint32_t word)
    {
        if (gaveUp_ || written_ + 4 >= sourceLength_)
        {
            gaveUp_ = true;
            return;
        }
        StoreLe32(&destination_[written_], word);
        written_ += 4;
    }

    std::span<uint8_t> destination_;
    size_t sourceLength_;
    size_t written_ = 4;  // the header
    uint64_t pending_ = 0;
    unsigned pendingBits_ = 0;
    bool gaveUp_ = false;
};

size_t WriteStored(std::span<const uint8_t> source, std::span<uint8_t> destination)
{
    StoreLe32(destination.data(), static_cast<uint32_t>(-static_cast<int32_t>(source.size())));
    if (!source.empty())
    {
        std::memcpy(&destination[4], source.data(), source.size());
    }
    return source.size() + 4;
}

// The length of the run of equal bytes that continues the byte at position, counted from the
// next byte on.
size_t RunAfter(std::span<const uint8_t> source, size_t position)
{
    size_t length = 0;
    while (position + 1 + length < source.size() &&
           source[position + 1 + length] == source[position + length])
    {
        ++length;
    }
    return length;
}
}  // namespace

size_t LzPackBlock(std::span<const uint8_t> source, std::span<uint8_t> destination,
                   LzPackTables& tables)
{
    assert(source.size() <= INT32_MAX && destination.size() >= source.size() + 4);
    const size_t length = source.size();
    if (length < kSmallestCodedBlock)
    {
        return WriteStored(source, destination);
    }

    StoreLe32(destination.data(), static_cast<uint32_t>(length));
    CodeWriter out(destination, length);
    MatchWindow window(source, tables);
    out.Literal(source[0]);
    window.Insert(0);
    size_t position = 1;
    while (position + 1 < length && !out.GaveUp())
    {
        if (const size_t run = RunAfter(source, position); run >= 2)
        {
            out.Literal(source[position]);
            window.Insert(position);
            ++position;
            out.Match(1, run);
            window.InsertRange(position, position + run);
            position += run;
            continue;
        }
        const MatchWindow::Match match = window.FindLongest(position);
        if (match.length == 0)
        {
            out.Literal(source[position]);
            window.Insert(position);
            ++position;
            continue;
        }
        out.Match(position - match.position, match.length);
        window.InsertRange(position, position + match.length);
        position += match.length;
    }
    if (position + 1 == length)
    {
        out.Literal(source[position]);
    }
    out.Finish();
    return out.GaveUp() ? WriteStored(source, destination) : out.Length();
}

LzCodec::LzCodec() : tables_(std::make_unique<LzPackTables>()) {}

size_t LzCodec::Pack(std::span<const uint8_t> source, std::span<uint8_t> destination)
{
    return LzPackBlock(source, destination, *tables_);
}

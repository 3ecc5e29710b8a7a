#include "view/motion/MotionTracks.h"

#include <bit>

#include "core/util/LittleEndian.h"

namespace
{
constexpr uint32_t kRiderBlockTag = 1;
constexpr uint32_t kBikeBlockTag = 2;
constexpr uint32_t kEndTag = 0xFFFFFFFF;
constexpr uint64_t kTripleBytes = 6;

// Reads words and triples front to back; every read past the end fails.
class ByteReader
{
public:
    explicit ByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    bool Word(uint32_t& value)
    {
        if (bytes_.size() - at_ < 4)
        {
            return false;
        }
        value = LoadLe32(&bytes_[at_]);
        at_ += 4;
        return true;
    }

    bool Triples(uint32_t byteCount, std::vector<MotionTriple>& triples)
    {
        if (bytes_.size() - at_ < byteCount || byteCount % kTripleBytes != 0)
        {
            return false;
        }
        triples.resize(byteCount / kTripleBytes);
        for (MotionTriple& triple : triples)
        {
            for (int16_t& value : triple)
            {
                value = static_cast<int16_t>(LoadLe16(&bytes_[at_]));
                at_ += 2;
            }
        }
        return true;
    }

private:
    std::span<const uint8_t> bytes_;
    size_t at_ = 0;
};

void AppendTriples(std::vector<uint8_t>& bytes, const std::vector<MotionTriple>& triples)
{
    for (const MotionTriple& triple : triples)
    {
        for (const int16_t value : triple)
        {
            const size_t at = bytes.size();
            bytes.resize(at + 2);
            StoreLe16(&bytes[at], static_cast<uint16_t>(value));
        }
    }
}

bool ReadBlock(ByteReader& reader, uint64_t expectedBytes, std::vector<MotionTriple>& block)
{
    uint32_t size = 0;
    return reader.Word(size) && size == expectedBytes && reader.Triples(size, block);
}
}  // namespace

MotionTracks MotionTracks::Zeroed(int32_t frameCount)
{
    MotionTracks tracks;
    tracks.frameCount = frameCount;
    const auto slots = static_cast<size_t>(frameCount + 1);
    tracks.rider.assign(slots * kRiderTracks, MotionTriple{});
    tracks.bike.assign(slots * kBikeTracks, MotionTriple{});
    return tracks;
}

std::span<MotionTriple> MotionTracks::RiderTrack(int32_t track)
{
    return std::span(rider).subspan(static_cast<size_t>(track * Slots()),
                                    static_cast<size_t>(Slots()));
}

std::span<const MotionTriple> MotionTracks::RiderTrack(int32_t track) const
{
    return std::span(rider).subspan(static_cast<size_t>(track * Slots()),
                                    static_cast<size_t>(Slots()));
}

std::span<MotionTriple> MotionTracks::BikeTrack(int32_t track)
{
    return std::span(bike).subspan(static_cast<size_t>(track * Slots()),
                                   static_cast<size_t>(Slots()));
}

std::span<const MotionTriple> MotionTracks::BikeTrack(int32_t track) const
{
    return std::span(bike).subspan(static_cast<size_t>(track * Slots()),
                                   static_cast<size_t>(Slots()));
}

std::optional<MotionTracks> DecodeMotionTracks(std::span<const uint8_t> bytes)
{
    ByteReader reader(bytes);
    uint32_t frameCount = 0;
    if (!reader.Word(frameCount) || frameCount < 1)
    {
        return std::nullopt;
    }
    // The blocks' sizes must match the count, so a count beyond the file's size fails there.
    MotionTracks tracks;
    const uint64_t slots = uint64_t{frameCount} + 1;
    bool riderRead = false;
    for (uint32_t tag = 0; tag != kEndTag;)
    {
        if (!reader.Word(tag))
        {
            return std::nullopt;
        }
        if (tag == kRiderBlockTag)
        {
            uint32_t speedBits = 0;
            uint32_t size = 0;
            if (!reader.Word(size) || size != slots * kTripleBytes * MotionTracks::kRiderTracks ||
                !reader.Word(speedBits) || !reader.Triples(size, tracks.rider))
            {
                return std::nullopt;
            }
            tracks.speed = std::bit_cast<float>(speedBits);
            riderRead = true;
        }
        else if (tag == kBikeBlockTag &&
                 !ReadBlock(reader, slots * kTripleBytes * MotionTracks::kBikeTracks, tracks.bike))
        {
            return std::nullopt;
        }
    }
    if (!riderRead)
    {
        return std::nullopt;
    }
    tracks.frameCount = static_cast<int32_t>(frameCount);
    if (tracks.bike.empty())
    {
        tracks.bike.assign(slots * MotionTracks::kBikeTracks, MotionTriple{});
    }
    return tracks;
}

std::vector<uint8_t> EncodeMotionTracks(const MotionTracks& tracks)
{
    std::vector<uint8_t> bytes;
    bytes.reserve(28 + (tracks.rider.size() + tracks.bike.size()) * kTripleBytes);
    AppendLe32(bytes, static_cast<uint32_t>(tracks.frameCount));
    AppendLe32(bytes, kRiderBlockTag);
    AppendLe32(bytes, static_cast<uint32_t>(tracks.rider.size() * kTripleBytes));
    AppendLe32(bytes, std::bit_cast<uint32_t>(tracks.speed));
    AppendTriples(bytes, tracks.rider);
    AppendLe32(bytes, kBikeBlockTag);
    AppendLe32(bytes, static_cast<uint32_t>(tracks.bike.size() * kTripleBytes));
    AppendTriples(bytes, tracks.bike);
    AppendLe32(bytes, kEndTag);
    return bytes;
}

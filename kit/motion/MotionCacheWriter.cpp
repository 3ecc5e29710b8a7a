#include "kit/motion/MotionCacheWriter.h"

#include <bit>
#include <cassert>

#include "core/util/LittleEndian.h"

namespace kit
{
namespace
{
constexpr uint32_t kTrackSlotBytes = 6;

// The frames' triples and a zero wrap slot.
void AppendTrack(std::vector<uint8_t>& bytes, const std::vector<MotionTriple>& track)
{
    for (const MotionTriple& triple : track)
    {
        for (const int16_t value : triple)
        {
            bytes.push_back(static_cast<uint8_t>(value));
            bytes.push_back(static_cast<uint8_t>(static_cast<uint16_t>(value) >> 8));
        }
    }
    bytes.insert(bytes.end(), kTrackSlotBytes, 0);
}
}  // namespace

std::vector<uint8_t> WriteMotionCache(const ClipSlots& clip)
{
    const auto frames = static_cast<uint32_t>(clip.root.size());
    assert(frames > 0 && clip.bikePositions.size() == frames && clip.bikeAngles.size() == frames);
    const uint32_t slots = frames + 1;
    std::vector<uint8_t> bytes;
    AppendLe32(bytes, frames);
    AppendLe32(bytes, 1);
    AppendLe32(bytes, slots * kTrackSlotBytes * (1 + kMotionPartCount));
    AppendLe32(bytes, std::bit_cast<uint32_t>(clip.speed));
    AppendTrack(bytes, clip.root);
    for (const std::vector<MotionTriple>& part : clip.parts)
    {
        assert(part.size() == frames);
        AppendTrack(bytes, part);
    }
    AppendLe32(bytes, 2);
    AppendLe32(bytes, slots * kTrackSlotBytes * 2);
    AppendTrack(bytes, clip.bikePositions);
    AppendTrack(bytes, clip.bikeAngles);
    AppendLe32(bytes, 0xFFFFFFFF);
    return bytes;
}
}  // namespace kit

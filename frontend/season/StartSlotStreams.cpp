#include "frontend/season/StartSlotStreams.h"

#include <algorithm>
#include <cmath>

#include "core/util/ByteFields.h"

namespace
{
constexpr double kHeadingUnitsPerRadian = 651.8986469044033;  // 4096 per turn
constexpr float kCompactUnitsPerMetre = 25.0f;
constexpr size_t kHeadSize = 8;
constexpr size_t kBytesPerSlot = 4 + 4 + 2;

size_t UsedSlots(const StartSlots& slots)
{
    return std::min<size_t>(slots.count, StartSlots::kMaxSlots);
}

// Truncated to the stored 16 bits, as the compact form has always kept them; a value beyond
// any integer (or none) cannot be truncated and is held at the nearest end.
uint16_t CompactWord(double value)
{
    if (std::isnan(value))
    {
        return 0;
    }
    const double clamped = std::clamp(value, -2147483648.0, 2147483647.0);
    return static_cast<uint16_t>(static_cast<int32_t>(clamped));
}
}  // namespace

std::vector<uint8_t> StoreStartSlots(const StartSlots& slots)
{
    const size_t used = UsedSlots(slots);
    FieldWriter writer(kHeadSize + used * kBytesPerSlot);
    writer.Field(static_cast<uint16_t>(used));
    writer.Field(slots.firstPracticeSlot);
    writer.Field(slots.gridHeading);
    for (size_t slot = 0; slot < used; ++slot)
    {
        writer.Field(slots.x[slot]);
    }
    for (size_t slot = 0; slot < used; ++slot)
    {
        writer.Field(slots.z[slot]);
    }
    for (size_t slot = 0; slot < used; ++slot)
    {
        writer.Field(slots.node[slot]);
    }
    return writer.Take();
}

bool LoadStartSlots(std::span<const uint8_t> bytes, StartSlots& slots)
{
    if (bytes.size() < kHeadSize)
    {
        return false;
    }
    FieldReader reader(bytes);
    StartSlots loaded = slots;
    reader.Field(loaded.count);
    reader.Field(loaded.firstPracticeSlot);
    reader.Field(loaded.gridHeading);
    if (loaded.count > StartSlots::kMaxSlots ||
        bytes.size() < kHeadSize + loaded.count * kBytesPerSlot)
    {
        return false;
    }
    for (size_t slot = 0; slot < loaded.count; ++slot)
    {
        reader.Field(loaded.x[slot]);
    }
    for (size_t slot = 0; slot < loaded.count; ++slot)
    {
        reader.Field(loaded.z[slot]);
    }
    for (size_t slot = 0; slot < loaded.count; ++slot)
    {
        reader.Field(loaded.node[slot]);
    }
    slots = loaded;
    return true;
}

std::vector<uint8_t> StoreStartSlotsCompact(const StartSlots& slots)
{
    const size_t used = UsedSlots(slots);
    FieldWriter writer(6 + used * 6);
    writer.Field(static_cast<uint16_t>(used));
    writer.Field(slots.firstPracticeSlot);
    writer.Field(CompactWord(slots.gridHeading * kHeadingUnitsPerRadian));
    for (size_t slot = 0; slot < used; ++slot)
    {
        writer.Field(CompactWord(slots.x[slot] * kCompactUnitsPerMetre));
        writer.Field(CompactWord(slots.z[slot] * kCompactUnitsPerMetre));
        writer.Field(slots.node[slot]);
    }
    return writer.Take();
}

void CopyStartSlots(StartSlots& to, const StartSlots& from)
{
    const size_t used = UsedSlots(from);
    to.count = static_cast<uint16_t>(used);
    to.firstPracticeSlot = from.firstPracticeSlot;
    to.gridHeading = from.gridHeading;
    std::copy_n(from.x.begin(), used, to.x.begin());
    std::copy_n(from.z.begin(), used, to.z.begin());
    std::copy_n(from.node.begin(), used, to.node.begin());
}

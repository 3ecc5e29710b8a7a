#include "race/collision/SweepAndPrune.h"

#include <bit>

void SweepAndPrune::Clear()
{
    count_ = 0;
    values_.fill(kNoEntity);
    matrix_ = {};
    counts_ = {};
}

bool SweepAndPrune::Add(uint32_t value, float halfWidth)
{
    if (count_ == kMaxEntities)
    {
        return false;
    }
    values_[count_] = value;
    halfWidths_[count_] = halfWidth;
    ++count_;
    return true;
}

void SweepAndPrune::Build(const std::function<void(uint32_t value, float& x, float& z)>& position)
{
    // Each entity's two ends side by side: an order in which nothing overlaps, which is what
    // the cleared matrices say; the sort then sets the overlaps as the ends pass each other.
    matrix_ = {};
    counts_ = {};
    for (uint32_t axis = 0; axis < kAxes; ++axis)
    {
        for (uint32_t entity = 0; entity < count_; ++entity)
        {
            ends_[axis][2 * entity] = {entity, 0.0f};
            ends_[axis][2 * entity + 1] = {entity | kUpperEnd, 0.0f};
        }
    }
    Update(position);
}

void SweepAndPrune::Update(const std::function<void(uint32_t value, float& x, float& z)>& position)
{
    PlaceEnds(position);
    for (uint32_t axis = 0; axis < kAxes; ++axis)
    {
        SortAxis(axis);
    }
}

void SweepAndPrune::PlaceEnds(
    const std::function<void(uint32_t value, float& x, float& z)>& position)
{
    std::array<std::array<float, kMaxEntities>, kAxes> centre{};
    for (uint32_t entity = 0; entity < count_; ++entity)
    {
        position(values_[entity], centre[0][entity], centre[1][entity]);
    }
    for (uint32_t axis = 0; axis < kAxes; ++axis)
    {
        for (uint32_t i = 0; i < 2 * count_; ++i)
        {
            EndPoint& end = ends_[axis][i];
            const uint32_t entity = end.id & ~kUpperEnd;
            const float half = halfWidths_[entity];
            end.coordinate = centre[axis][entity] + ((end.id & kUpperEnd) != 0 ? half : -half);
        }
    }
}

// Stable: an end moves left only past ends strictly above it, so ends that meet stay apart.
void SweepAndPrune::SortAxis(uint32_t axis)
{
    auto& ends = ends_[axis];
    for (uint32_t i = 1; i < 2 * count_; ++i)
    {
        const EndPoint moving = ends[i];
        uint32_t j = i;
        while (j > 0 && moving.coordinate < ends[j - 1].coordinate)
        {
            const EndPoint passed = ends[j - 1];
            const bool movingUpper = (moving.id & kUpperEnd) != 0;
            const bool passedUpper = (passed.id & kUpperEnd) != 0;
            const uint32_t a = moving.id & ~kUpperEnd;
            const uint32_t b = passed.id & ~kUpperEnd;
            if (a != b && movingUpper != passedUpper)
            {
                // A lower end below another's upper end: they overlap; an upper end below
                // another's lower end: they no longer do.
                SetOverlap(axis, a, b, !movingUpper);
            }
            ends[j] = passed;
            --j;
        }
        ends[j] = moving;
    }
}

void SweepAndPrune::SetOverlap(uint32_t axis, uint32_t a, uint32_t b, bool on)
{
    if (Overlap(axis, a, b) == on)
    {
        return;
    }
    matrix_[axis][a] ^= uint64_t{1} << b;
    matrix_[axis][b] ^= uint64_t{1} << a;
    const int change = on ? 1 : -1;
    counts_[axis][a] = static_cast<uint8_t>(counts_[axis][a] + change);
    counts_[axis][b] = static_cast<uint8_t>(counts_[axis][b] + change);
}

void SweepAndPrune::ForEachPair(const std::function<void(uint32_t a, uint32_t b)>& pair) const
{
    for (uint32_t a = 0; a < count_; ++a)
    {
        if (counts_[0][a] == 0 || counts_[1][a] == 0)
        {
            continue;
        }
        // Only the entities above a.
        uint64_t both = matrix_[0][a] & matrix_[1][a];
        both &= a + 1 < 64 ? ~((uint64_t{1} << (a + 1)) - 1) : 0;
        while (both != 0)
        {
            const auto b = static_cast<uint32_t>(std::countr_zero(both));
            both &= both - 1;
            pair(a, b);
        }
    }
}

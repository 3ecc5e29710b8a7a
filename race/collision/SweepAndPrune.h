#pragma once

// The broad phase of the collisions: every rider and trackside object is an interval on the x
// and on the z axis (its position plus and minus a half width), and two entities are a pair
// while their intervals overlap on both. Both axes are kept sorted between steps by an
// insertion sort, which also keeps a 64 x 64 overlap bit matrix per axis up to date as end
// points pass each other; as the field moves little in a step, that costs little.
//
// Intervals that only touch do not overlap. The whole state is plain data, so that a
// rollback can copy it. Main thread.

#include <array>
#include <cstdint>
#include <functional>

class SweepAndPrune
{
public:
    static constexpr uint32_t kMaxEntities = 64;
    static constexpr uint32_t kNoEntity = 0xFFFFFFFF;
    static constexpr uint32_t kUpperEnd = 0x80000000;  // on an end point's entity id
    static constexpr uint32_t kAxes = 2;               // x and z

    struct EndPoint
    {
        uint32_t id;  // entity, kUpperEnd set on the upper end
        float coordinate;
    };

    // No entities.
    void Clear();
    // Adds an entity that stands for the given value (a rider, or an object); false when the
    // table is full.
    bool Add(uint32_t value, float halfWidth);
    // The entities' positions now; sorts from scratch with no overlaps known.
    void Build(const std::function<void(uint32_t value, float& x, float& z)>& position);
    // The positions of this step: the axes re-sorted and the overlaps brought up to date.
    void Update(const std::function<void(uint32_t value, float& x, float& z)>& position);
    // Calls pair(a, b) for every pair of entities a < b that overlap on both axes.
    void ForEachPair(const std::function<void(uint32_t a, uint32_t b)>& pair) const;

    uint32_t Count() const { return count_; }
    uint32_t Value(uint32_t entity) const { return values_[entity]; }
    bool Overlap(uint32_t axis, uint32_t a, uint32_t b) const
    {
        return (matrix_[axis][a] >> b & 1) != 0;
    }
    uint8_t OverlapCount(uint32_t axis, uint32_t entity) const { return counts_[axis][entity]; }

private:
    void PlaceEnds(const std::function<void(uint32_t value, float& x, float& z)>& position);
    void SortAxis(uint32_t axis);
    void SetOverlap(uint32_t axis, uint32_t a, uint32_t b, bool on);

    uint32_t count_ = 0;
    std::array<uint32_t, kMaxEntities> values_{};
    std::array<float, kMaxEntities> halfWidths_{};
    std::array<std::array<EndPoint, 2 * kMaxEntities>, kAxes> ends_{};
    std::array<std::array<uint64_t, kMaxEntities>, kAxes> matrix_{};
    std::array<std::array<uint8_t, kMaxEntities>, kAxes> counts_{};
};

#pragma once

// The riders by place as the TV pages and the final standing list them: taken from the
// standings' position table with each rider's lap and lap start, and sortable into the order
// at the last crossing of the line.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

struct BikeRecord;
class RaceStandings;

class PlaceTable
{
public:
    static constexpr size_t kRiders = 26;
    static constexpr uint8_t kEnd = 255;  // after the last place

    // Places 1..riderCount from the standings; an empty slot ends the table.
    void Build(const RaceStandings& standings, std::span<const BikeRecord> bikes,
               uint32_t riderCount);
    // More laps first; on the same lap the earlier lap start.
    void Sort();

    // kEnd beyond the table.
    uint8_t RiderAt(int32_t place) const;
    // -1 for a rider who has no place.
    int32_t FindPlaceOfRider(uint32_t rider) const;
    uint32_t Count() const { return count_; }
    int32_t Laps(uint32_t rider) const { return laps_[rider]; }
    int32_t LapStartMs(uint32_t rider) const { return lapStartMs_[rider]; }

private:
    // Index 0 is unused, so that an index is a place; one more for the end mark.
    std::array<uint8_t, kRiders + 2> riderAt_{};
    std::array<int32_t, kRiders> laps_{};
    std::array<int32_t, kRiders> lapStartMs_{};
    uint32_t count_ = 0;
};

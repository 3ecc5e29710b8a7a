#include "view/tv/PlaceTable.h"

#include <algorithm>

#include "race/BikeRecord.h"
#include "race/standings/RaceStandings.h"

void PlaceTable::Build(const RaceStandings& standings, std::span<const BikeRecord> bikes,
                       uint32_t riderCount)
{
    riderAt_.fill(kEnd);
    count_ = 0;
    const size_t places = std::min<size_t>({riderCount, kRiders, bikes.size()});
    for (size_t slot = 0; slot < places; ++slot)
    {
        const int32_t rider = standings.positionTable[slot];
        if (rider < 0 || static_cast<size_t>(rider) >= places)
        {
            break;
        }
        riderAt_[slot + 1] = static_cast<uint8_t>(rider);
        laps_[rider] = bikes[rider].timedLap;
        lapStartMs_[rider] = bikes[rider].aiLapStartMs;
        ++count_;
    }
}

void PlaceTable::Sort()
{
    const auto ahead = [this](uint8_t a, uint8_t b)
    { return laps_[a] > laps_[b] || (laps_[a] == laps_[b] && lapStartMs_[a] < lapStartMs_[b]); };
    // A bubble sort: riders level on both keep their order.
    for (uint32_t pass = 1; pass < count_; ++pass)
    {
        for (uint32_t place = 1; place + pass <= count_; ++place)
        {
            if (ahead(riderAt_[place + 1], riderAt_[place]))
            {
                std::swap(riderAt_[place], riderAt_[place + 1]);
            }
        }
    }
}

uint8_t PlaceTable::RiderAt(int32_t place) const
{
    if (place < 1 || static_cast<uint32_t>(place) > count_)
    {
        return kEnd;
    }
    return riderAt_[place];
}

int32_t PlaceTable::FindPlaceOfRider(uint32_t rider) const
{
    for (uint32_t place = 1; place <= count_; ++place)
    {
        if (riderAt_[place] == rider)
        {
            return static_cast<int32_t>(place);
        }
    }
    return -1;
}

#include "net/NetLineup.h"

#include <algorithm>
#include <vector>

namespace
{
constexpr std::array<uint32_t, 15> kPoints = {25, 20, 16, 13, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1};
}  // namespace

uint32_t ChampionshipPointsOf(const MenuState& settings, uint32_t rider)
{
    uint32_t points = 0;
    for (size_t circuit = 0; circuit < MenuState::kChampionshipCircuits; ++circuit)
    {
        const uint8_t place = settings.U8At(MenuState::kChampionshipOffset +
                                            rider * MenuState::kChampionshipCircuits + circuit);
        points += place < kPoints.size() ? kPoints[place] : 0;
    }
    return points;
}

RaceLineup BuildRaceLineup(LineupSlots& slots, BikeClass bikeClass, uint32_t riderCount,
                           const std::function<uint32_t(uint32_t slot)>& key)
{
    const uint32_t slotsOfClass = RidersOfClass(bikeClass);
    if (riderCount == 26 && bikeClass != BikeClass::Class250)
    {
        riderCount = 25;
    }
    riderCount = std::min(riderCount, slotsOfClass);

    RaceLineup lineup;
    std::vector<uint32_t> entries;
    for (uint32_t slot = 0; slot < kNetSlotCount; ++slot)
    {
        const NetPeerState state = slots.states[slot];
        lineup.human[slot] = state >= NetPeerState::Player || state == NetPeerState::Dropped;
        if (state >= NetPeerState::Player && entries.size() < riderCount)
        {
            entries.push_back(slot);
        }
    }
    for (uint32_t slot = 0; slot < slotsOfClass && entries.size() < riderCount; ++slot)
    {
        const NetPeerState state = slots.states[slot];
        if (state < NetPeerState::Player && state != NetPeerState::Dropped)
        {
            slots.states[slot] = NetPeerState::Computer;
            entries.push_back(slot);
        }
    }

    std::vector<std::pair<uint32_t, uint32_t>> keyed;  // key, slot
    for (const uint32_t slot : entries)
    {
        keyed.emplace_back(key(slot), slot);
    }
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    for (size_t place = 0; place < keyed.size(); ++place)
    {
        lineup.gridPlusOne[keyed[place].second] = static_cast<uint8_t>(place + 1);
    }
    for (uint32_t slot = 0; slot < kNetSlotCount; ++slot)
    {
        lineup.riderChoice[slot] = slots.riderChoices[slot];
        lineup.firstAid[slot] = slots.rideAids[slot][0];
        lineup.secondAid[slot] = slots.rideAids[slot][1];
        lineup.thirdAid[slot] = slots.rideAids[slot][2];
        lineup.peers[slot] = {slots.addresses[slot], static_cast<int32_t>(slots.states[slot])};
    }
    return lineup;
}

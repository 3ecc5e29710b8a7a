#pragma once

// The host's line-up of a network race, without the session around it. (A race's result
// enters the championship table with the race's scoring, alike on host and clients.)

#include <array>
#include <functional>

#include "app/settings/MenuState.h"
#include "core/game/GameEnums.h"
#include "net/NetPeer.h"
#include "net/NetRaceMessages.h"

// What the line-up is made from: the session's slots as the host keeps them.
struct LineupSlots
{
    std::array<NetPeerState, kNetSlotCount> states{};
    std::array<uint32_t, kNetSlotCount> addresses{};
    std::array<uint32_t, kNetSlotCount> riderChoices{};
    std::array<std::array<bool, 3>, kNetSlotCount> rideAids{};
};

// The championship points of a rider over the 18 races of the settings' results table:
// 25, 20, 16, 13, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1 for places 1..15.
uint32_t ChampionshipPointsOf(const MenuState& settings, uint32_t rider);

// Every player's slot first, then free slots up to the rider count, which the computer then
// rides (their state becomes Computer); the grid by descending key, equal keys in that order.
// `key` is asked once per entry, in entry order.
RaceLineup BuildRaceLineup(LineupSlots& slots, BikeClass bikeClass, uint32_t riderCount,
                           const std::function<uint32_t(uint32_t slot)>& key);

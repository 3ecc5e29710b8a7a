#pragma once

// The field of a test ride and of a single race: who rides, from where, and the trimming that
// leaves the riders past the field out of the session. Grid positions are from 1.

#include <array>
#include <cstdint>
#include <span>

#include "app/settings/MenuState.h"
#include "core/game/GameEnums.h"
#include "race/laps/LapRecord.h"

// The race's difficulty of the settings' level byte: level 0 rides difficulty 2, 1 rides 1,
// 2 rides 0.
uint32_t DifficultyOfLevel(uint8_t level);

struct SessionGrid
{
    uint32_t fieldSize = 1;
    std::array<int32_t, MenuState::kRiders> positions{};
};

// A test ride: the player alone, first; the others behind in rider order.
SessionGrid TestRideGrid(uint32_t player);

// A single race: the opponents of the settings and the player, at least as many as the chosen
// grid position needs. The player takes the chosen position; the computer riders line up by
// rating (the lower number on ties) around it; riders beyond the class follow.
SessionGrid SingleRaceGrid(const MenuState& settings, BikeClass bikeClass, uint32_t player,
                           std::span<const float> rating);

struct TrimmedField
{
    uint32_t riderCount = 0;                              // up to the last rider that takes part
    uint32_t leftOut = 0;                                 // riders within the count that do not
    std::array<int32_t, MenuState::kRiders> startList{};  // position - 1 -> rider, -1 none
};

inline constexpr uint32_t kLeftOutFlags = 0x80000001;

// Riders whose grid position lies past the field take no part: status 5, rank -8 (the caller
// sets their flags to kLeftOutFlags). Statuses and ranks are the session's, per rider.
TrimmedField TrimField(uint32_t fieldSize, std::span<const int32_t, MenuState::kRiders> positions,
                       std::span<uint32_t, MenuState::kRiders> status,
                       std::span<int16_t, MenuState::kRiders> ranks);

// A ghost lap's session into the settings: ghost race, the circuit, level, and the weather,
// humidity, temperature and pressure of all four slots. A header naming no circuit, class,
// level or weather is a damaged file and changes nothing: false. The lap's class is returned
// through bikeClass.
bool TakeGhostSession(const LapHeader& header, MenuState& settings, BikeClass& bikeClass);

#pragma once

// The championship table of the settings record: the place of every rider at every circuit
// (from 0; 0x7F took part without a classified place, 0xFF not yet raced), the points those
// places score, who leads, and whether the player has won when the last round is over.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "app/settings/MenuState.h"
#include "core/game/GameEnums.h"

inline constexpr uint8_t kUnplaced = 0x7F;
inline constexpr uint8_t kNotRaced = 0xFF;
inline constexpr uint32_t kLastChampionshipRound = 14;  // rounds run at circuits 0..14

// Places 0..14 score 25 down to 1; every other byte scores nothing.
uint32_t PointsOfPlace(uint8_t place);

uint8_t ChampionshipPlace(const MenuState& settings, uint32_t rider, size_t circuit);
void SetChampionshipPlace(MenuState& settings, uint32_t rider, size_t circuit, uint8_t place);
// Every place of every rider back to "not yet raced".
void ClearChampionship(MenuState& settings);

struct ChampionshipScore
{
    uint32_t points = 0;
    uint8_t bestPlace = kNotRaced;
    uint8_t currentPlace = kNotRaced;  // at the circuit of the round just raced
};

ChampionshipScore ScoreOfRider(const MenuState& settings, uint32_t rider, size_t currentCircuit);

// True when a ranks before b: more points, then the better best place, then the better place
// at the current circuit.
bool RanksBefore(const ChampionshipScore& a, const ChampionshipScore& b);

// The leader of the table; riders level on every count go to the lower rider number.
uint32_t ChampionshipLeader(const MenuState& settings, size_t currentCircuit);

// After a race of a weekend or a championship: every rider of the class gets its place at the
// circuit, its finishing position - 1, or kUnplaced when it has no position, is not classified
// or did not take part. Positions are from 1; ranks are g_sessionRanks (negative = no
// classification).
void EnterRacePlaces(MenuState& settings, size_t circuit, uint32_t ridersOfClass,
                     std::span<const int32_t> positions, std::span<const int16_t> ranks,
                     std::span<const bool> tookPart);

// After a network race: the riders in finishing order (position - 1 -> rider, -1 empty) get
// places 0, 1, 2 ... at the circuit until the first one that is not classified.
void EnterNetworkPlaces(MenuState& settings, size_t circuit, std::span<const int32_t> positionTable,
                        std::span<const int16_t> ranks);

// The network circuit list has no race after the current one.
bool IsLastNetworkRace(const MenuState& settings);

// True when the championship is over and the player leads it: in a championship once the
// circuit is the last round or later, in a network race once its circuit list has no further
// entry. The current circuit is the championship's circuit, or the network list's entry.
bool IsChampionshipWon(const MenuState& settings, GameMode mode, size_t currentCircuit,
                       uint32_t playerRider);
// The same for the game's settings and current race.
bool IsChampionshipWon();

#pragma once

// What a finished session leaves behind: better laps become the circuit's records, a timed
// session of a weekend goes into the weekend tables (simulated when nobody rode it), and a
// weekend's race into the championship table.

#include <array>
#include <cstdint>
#include <span>

#include "app/settings/MenuState.h"
#include "core/game/GameEnums.h"
#include "frontend/season/SessionWeather.h"
#include "frontend/season/WeekendSessions.h"
#include "frontend/toolkit/CircuitTexts.h"
#include "race/RaceAiSystem.h"
#include "race/standings/RaceStandings.h"

// A rider's best lap and best sectors of the session from the standings; -1 for none.
SessionTimes BestTimesOfRider(const RaceStandings& standings, uint32_t rider);

// Every rider's best lap of the session is offered to the race object's records (it must be a
// lap and beat the record); then every circuit's shown records take the race object's where
// those are better.
void TakeLapRecords(RaceAiSystem& race, const RaceStandings& standings, uint32_t riderCount,
                    BikeClass bikeClass, CircuitId circuit,
                    std::span<CircuitTextRecord, kCircuitCount> texts);

// A weekend's session into the settings: a timed session's times from the standings, simulated
// (keeping better stored times) when the standings hold none, then sorted; the race's places
// into the championship table at the circuit for the field (the settings' field mask).
void ScoreWeekendSession(MenuState& settings, uint32_t session, size_t circuit, BikeClass bikeClass,
                         const RaceStandings& standings, const SimulatedSessionInputs& simulation,
                         const RandomSource& random);

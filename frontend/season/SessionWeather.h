#pragma once

// The weather of a weekend's sessions and the air they are raced in. The settings record keeps
// four session slots (weather, humidity %, temperature in degrees C, pressure in mbar); a
// session rides in slot min(session / 2, 2), so practice and qualifying share the first two,
// the warm-up and the race the third; the fourth is rolled and never ridden.

#include <cstdint>
#include <functional>

#include "app/settings/MenuState.h"
#include "core/game/GameEnums.h"
#include "frontend/toolkit/CircuitTexts.h"
#include "race/CurrentRace.h"

// The runtime's generator: 0..0x7FFF a call.
using RandomSource = std::function<int()>;

inline constexpr uint8_t kWeatherChangeable = 0;
inline constexpr uint8_t kWeatherConstant = 1;
inline constexpr uint8_t kWeatherFixed = 2;

size_t WeatherSlotOfSession(uint32_t session);

// The sessions' weather: the chosen weather in every slot when the weather is fixed, or for a
// first roll (kind 0) of a test ride, single race, network race or ghost race; else each slot
// rolled from the circuit's sun and rain shares (kind 2 and above: in turn from the circuit
// on), all four like the first when the weather stays constant. Then the air of every slot.
void RollSessionWeather(MenuState& settings, GameMode mode, uint32_t kind, size_t circuit,
                        const CircuitClimate& climate, const RandomSource& random);

// The temperature, humidity (32..99 %) and pressure of every slot from the circuit's climate
// and the slot's weather: warmer, drier and higher in sun, cooler, wetter and lower in rain.
void RollWeatherConditions(MenuState& settings, const CircuitClimate& climate,
                           const RandomSource& random);

// The weather and air of every race of the network circuit list, into the list's per-race
// tables: the network weather choice when it is one of the three weathers, else rolled from
// the circuit's sun and rain shares; then its air as for a session.
using ClimateOfCircuit = std::function<const CircuitClimate&(size_t circuit)>;
void RollNetworkWeatherList(MenuState& settings, const ClimateOfCircuit& climateOf,
                            const RandomSource& random);

// The session's slot into the current race: its weather, the track's wetness and the air.
void ApplySessionWeather(const MenuState& settings, uint32_t session, CurrentRace& race);
// The current race of the network circuit list into the current race: the weather and air of
// its entry in the list's per-race tables.
void ApplyNetworkRaceWeather(const MenuState& settings, CurrentRace& race);

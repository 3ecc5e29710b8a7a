#pragma once

// The choices of the current race that every game subsystem reads: the settings copy their
// choices in when they are loaded, the session start sets them for each session. They are the
// game's race's own (RaceContext); the local player's rider, which the timer thread reads too,
// is g_playerRider beside g_bikes. Main thread only.

#include <cstdint>
#include <string_view>

#include "core/game/GameEnums.h"
#include "race/RaceContext.h"

inline BikeClass& g_bikeClass = g_raceContext.current.bikeClass;
inline CircuitId& g_circuitIndex = g_raceContext.current.circuitIndex;
inline std::string_view& g_circuitName = g_raceContext.current.circuitName;
inline Weather& g_weather = g_raceContext.current.weather;
inline uint32_t& g_difficulty = g_raceContext.current.difficulty;
inline GameMode& g_gameMode = g_raceContext.current.gameMode;
inline uint32_t& g_viewedRider = g_raceContext.current.viewedRider;
inline float& g_trackWetness = g_raceContext.current.trackWetness;
inline RaceConditions& g_raceConditions = g_raceContext.current.conditions;

// A demo race runs: every rider is computer-controlled, as the menus start it when left alone.
// The race sets g_demoEnded when it ends; the session loop then leaves the demo.
inline bool g_demoRace = false;
inline bool g_demoEnded = false;
// The player chose to race the same race again in the pause menu; the race loader clears it.
inline bool g_raceAgain = false;

// The language of every text the game shows.
inline Language g_language = Language::German;

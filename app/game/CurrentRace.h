#pragma once

// The choices of the current race that every game subsystem reads: the settings copy their
// choices in when they are loaded, the session start sets them for each session. The local
// player's rider, which the timer thread reads too, is g_playerRider beside g_bikes.
// Main thread only.

#include <cstdint>
#include <string_view>

#include "core/game/GameEnums.h"

inline BikeClass g_bikeClass = BikeClass::Class125;
inline CircuitId g_circuitIndex = CircuitId::ShahAlam;
inline std::string_view g_circuitName;  // the circuit's file stem
inline Weather g_weather = Weather::Fine;
inline uint32_t g_difficulty = 0;  // 0 the hardest level .. 2 the easiest
inline GameMode g_gameMode = GameMode::TestRide;
inline uint32_t g_viewedRider = 0;  // the rider that the camera and the display follow
inline uint32_t g_riderCount = 0;   // riders in the race

// A demo race runs: every rider is computer-controlled, as the menus start it when left alone.
// The race sets g_demoEnded when it ends; the session loop then leaves the demo.
inline bool g_demoRace = false;
inline bool g_demoEnded = false;
// The player chose to race the same race again in the pause menu; the race loader clears it.
inline bool g_raceAgain = false;

// The language of every text the game shows.
inline Language g_language = Language::German;

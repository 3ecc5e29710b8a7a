#pragma once

// What the menus settle for the next session. The menus make no choice yet, so the settings
// stand as they were loaded.

#include <cstdint>

class MenuState;

// Rolls the temperature, humidity and pressure of the weekend's sessions into the settings,
// from the climate of the settings' circuit.
void RollWeatherConditions(MenuState& settings);

// The circuit of the coming races and its file stem: the given one, or with a negative value
// (or no circuit's) the settings'.
void SetCurrentCircuit(int32_t circuit);

// Starts the countdown of a network session's time limit, when the session has one.
void StartSessionCountdown();

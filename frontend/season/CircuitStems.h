#pragma once

// The file stem of each circuit, which names its racing lines, scenery and collision model.

#include <string_view>

#include "core/game/GameEnums.h"

std::string_view CircuitStem(CircuitId circuit);

// The circuit itself for 0..17; any other number (a negative one asks for the settings'
// choice) gives `otherwise`.
CircuitId CircuitOrChosen(int32_t circuit, CircuitId otherwise);

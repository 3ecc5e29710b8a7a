#pragma once

// The circuit's title as the set-up and telemetry screens show it: its two words in two lines,
// 16 pixels apart, in the current font over the active repaint list. Main thread only.

#include <cstdint>

#include "core/game/GameEnums.h"

// A number that is no circuit draws nothing.
void DrawCircuitTitleLines(Language language, uint32_t circuit, int32_t x, int32_t y,
                           uint32_t colour, int32_t alignment);

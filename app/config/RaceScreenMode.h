#pragma once

// The race screen's mode as "config.dat" sets it: the race screen switches to it and the marshal
// flags' viewport spans it. Taken once at start-up; main thread only.

#include "app/config/ConfigBlock.h"
#include "render/RenderApi.h"

// Width, height, bits per pixel, refresh rate and the record's fifth word, in its order.
extern ScreenMode g_raceScreenMode;

// Copies the set-up file's display-mode record. A size the render library does not offer (an
// unset record is all zero) gives 640 x 480 x 16 at 60 Hz instead, so that no screen is opened
// in it and nothing divides by its height; the file's bytes stay as they are.
void TakeRaceScreenMode(const ConfigBlock& config);

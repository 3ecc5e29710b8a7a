#pragma once

// Places and numbers with their pictograms, as the panels and pages show them.

#include <cstdint>

#include "view/hud/HudCanvas.h"

// The position label, the place in big digits and its suffix.
void DrawPlace(HudCanvas& canvas, int32_t x, int32_t y, int32_t place);
// The lap label, the place in the TV font and its suffix.
void DrawPlaceSmall(HudCanvas& canvas, int32_t x, int32_t y, int32_t place);
// The number label and the number in the TV font.
void DrawNumber(HudCanvas& canvas, int32_t x, int32_t y, int32_t number);

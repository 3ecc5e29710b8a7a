#pragma once

// What the TV pages and the title pages share: the wipes that reveal or close a band through
// the clip rectangle, and the broadcaster's logo.

#include <cstdint>

#include "view/hud/HudCanvas.h"

// k = clock / 1000, or (1000 - clock) / 1000 inverted; clock is clamped to 0..1000.
// A rectangle centred on the band from top down to the screen's foot, k of its size.
void WipeFromCentre(HudCanvas& canvas, int32_t width, int32_t height, int32_t top, int32_t clock,
                    bool inverted);
// (0, top) to (k x width, height).
void WipeFromLeft(HudCanvas& canvas, int32_t width, int32_t height, int32_t top, int32_t clock,
                  bool inverted);

// The logo at the top right.
void DrawTvLogo(HudCanvas& canvas, int32_t width);

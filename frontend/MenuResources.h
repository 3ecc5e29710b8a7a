#pragma once

// The texts, fonts and pictures the menus and the race screens load and free; the main routine
// loads and frees them at the points where the game needs them.

#include "frontend/framework/MenuFlag.h"
#include "frontend/toolkit/CircuitInfoScreen.h"
#include "frontend/toolkit/MenuBackground.h"
#include "frontend/toolkit/MenuFonts.h"
#include "frontend/toolkit/MenuTexts.h"

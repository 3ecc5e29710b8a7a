#include "race/PlayerInputState.h"

PlayerInputState g_playerInputState;

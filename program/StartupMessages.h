#pragma once

// The main routine's own messages to the player, in each language.

#include <string>
#include <string_view>

#include "core/game/GameEnums.h"

// The render library named in "config.dat" could not be loaded, bound or started.
std::string RenderLibraryFailedMessage(Language language, std::string_view libraryName);

// The 3D screen could not be opened in the game's mode.
std::string_view ResolutionFailedMessage(Language language);

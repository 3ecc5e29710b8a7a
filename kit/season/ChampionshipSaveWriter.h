#pragma once

// Championship saves "save/wm/<name>": the head, the settings record and the player's set-up
// stream, in the current form or the older one that the game still reads.

#include <string>

#include "app/settings/MenuState.h"
#include "race/BikeSetup.h"

namespace kit
{
enum class SaveForm
{
    Current,  // record size 5360, version 2
    Older,    // record size 5348, version 1, the record without its control map
};

// The save at the path, folders created.
bool WriteChampionshipSave(const std::string& path, const MenuState& state, const BikeSetup& setup,
                           SaveForm form, std::string& error);
}  // namespace kit

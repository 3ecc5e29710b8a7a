#pragma once

// The telemetry screen's pictures: for each circuit the graph view's and the 3D view's
// backgrounds (panels where the graphs, the read-out, the map and the lap table go); the slot
// label strip, the pull-downs; the channel icons and the buttons.

#include <string>
#include <string_view>

#include "core/game/GameEnums.h"
#include "kit/CprWriter.h"

namespace kit
{
bool AddTelemetryBackgrounds(CprWriter& menuArchive, std::string_view circuit, std::string& error);
// The slot label strip and the pull-downs' headers and lists.
bool AddSlotLabels(CprWriter& menuArchive, std::string& error);
bool AddPulldowns(CprWriter& menuArchive, std::string& error);
// The channel icons and the buttons with the language's words.
bool AddChannelIcons(CprWriter& menuArchive, Language language, std::string& error);
bool AddButtonFaces(CprWriter& menuArchive, Language language, std::string& error);
}  // namespace kit

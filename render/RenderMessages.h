#pragma once

// Messages of the library, shown as modal boxes through the game's window once the game has
// handed it over, else as the platform shows them.

#include <string>

namespace render
{

void ShowRenderMessage(const std::string& text);

}  // namespace render

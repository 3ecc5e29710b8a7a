#pragma once

// A complete small installation of the game, generated from nothing: what the README's run
// command plays and what the end-to-end tests start on.

#include <string>

namespace kit
{
// Writes the installation into the folder (created when missing). On failure returns false
// and says why in error.
bool WriteDemoInstallation(const std::string& directory, std::string& error);
}  // namespace kit

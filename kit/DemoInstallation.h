#pragma once

// A complete small installation of the game, generated from nothing: what the README's run
// command plays and what the end-to-end tests start on.

#include <string>

#include "kit/CprWriter.h"

namespace kit
{
// The archives of an installation while they are being filled.
struct DemoArchives
{
    CprWriter data;
    CprWriter patch;
    CprWriter objects;
    CprWriter textures;
    CprWriter menu;  // the German menu archive
    // The English menu archive's own members; it takes every other member from menu.
    CprWriter englishMenu;
};

// Writes the installation into the folder (created when missing). On failure returns false
// and says why in error.
bool WriteDemoInstallation(const std::string& directory, std::string& error);
}  // namespace kit

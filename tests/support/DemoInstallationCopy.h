#pragma once

// The demo installation for tests that start the game on it. Writing one takes seconds, so a
// test program writes it once and every test gets its own copy, free to change or break.

#include <string>

// Copies the demo installation into the folder (created when missing). On failure returns
// false and says why in error.
bool CopyDemoInstallation(const std::string& directory, std::string& error);

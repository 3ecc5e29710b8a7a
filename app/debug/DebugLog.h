#pragma once

// The game's log file "Tempdaten/Debug.Log": made empty at start-up, appended to on request.
// Failures go to Trace only; the log never stops the game.

#include <string>

// Creates the "tempdaten" folder when it is missing, then creates or truncates the log.
void CreateDebugLog();

void AppendDebugLog(const std::string& text);

#pragma once

// Game texts are Windows-1252 bytes; the machine's window title, message boxes and
// terminal speak UTF-8. Conversion happens only at that edge.

#include <string>
#include <string_view>

std::string Windows1252ToUtf8(std::string_view text);

#pragma once

// Game texts are Windows-1252 bytes; the machine's window title, message boxes and
// terminal speak UTF-8. Conversion happens only at that edge.

#include <optional>
#include <string>
#include <string_view>

std::string Windows1252ToUtf8(std::string_view text);

// Nothing when the text is not valid UTF-8 or holds a character the code page lacks.
std::optional<std::string> Utf8ToWindows1252(std::string_view text);

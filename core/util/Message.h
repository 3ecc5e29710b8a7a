#pragma once

// Messages to the player. The code below the platform cannot open a message box itself: the
// platform installs the box as the sink while it runs, and without one the text goes to stderr
// (tools, tests without a platform, the render library before it has a window).

#include <string_view>

using MessageSink = void (*)(std::string_view text);

// Shows a message box through the installed sink, or writes the text to stderr. Text is
// Windows-1252.
void ShowMessage(std::string_view text);

// Returns the sink it replaces; nullptr restores stderr.
MessageSink SetMessageSink(MessageSink sink);

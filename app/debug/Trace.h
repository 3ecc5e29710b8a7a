#pragma once

// Formatted diagnostic messages. This build discards them; the format is still checked.

[[gnu::format(printf, 1, 2)]] void Trace(const char* format, ...);

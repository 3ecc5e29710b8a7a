#pragma once

// A text window that keeps the last 256 lines given to it, 16 pixels a line, and can mirror
// them to a log file. The game never shows it, so the lines it is given go nowhere.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/files/FileSystem.h"

class DebugLogWindow
{
public:
    static constexpr uint32_t kLineCount = 256;
    static constexpr int kLineHeight = 16;

    // The newest window is the one AddDebugLine writes to.
    DebugLogWindow();
    ~DebugLogWindow();
    DebugLogWindow(const DebugLogWindow&) = delete;
    DebugLogWindow& operator=(const DebugLogWindow&) = delete;

    // Gives the window a client area of the given height; only from then on are lines kept.
    void Show(int clientHeight);
    bool HasSystemWindow() const { return clientHeight_.has_value(); }

    // Every later line is also written to this file, which is created or truncated.
    bool OpenLogFile(std::string_view gamePath);
    bool IsLogFileOpen() const { return logFile_.IsOpen(); }

    // Nothing happens without a system window. A null text is an empty line.
    void AddLine(const char* text);

    // The text (null: none), then 0x0A 0x0D. False when no log file is open or a write fell short.
    bool WriteToFile(const char* text);

    // Scrolls one line away when the lines on show do not fit the height. The lines on show
    // run from the first visible index up to, not including, the write index.
    void Paint(int clientHeight);

    uint32_t FirstVisibleIndex() const { return firstVisible_; }
    uint32_t WriteIndex() const { return writeIndex_; }
    const std::string& Line(uint32_t ringIndex) const { return lines_[ringIndex % kLineCount]; }

private:
    std::array<std::string, kLineCount> lines_;
    uint32_t firstVisible_ = 0;
    uint32_t writeIndex_ = 0;
    std::optional<int> clientHeight_;
    files::File logFile_;
};

// The window of the game's output window, or null.
extern DebugLogWindow* g_debugLogWindow;

void AddDebugLine(const char* text);

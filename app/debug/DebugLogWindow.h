#pragma once

// A text window that keeps the last 256 lines given to it, 16 pixels a line, and can mirror
// them to a log file. The game never shows it, so the lines it is given go nowhere. Shown, it
// draws into a picture of its own, the size of its client area (no system window exists
// here): a button-face grey background with the lines on show in black, from the top.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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

    static constexpr uint16_t kBackgroundColour = 0xC618;  // RGB 5-6-5 of 192, 192, 192
    static constexpr uint16_t kTextColour = 0x0000;
    static constexpr int kGlyphAdvance = 6;  // pixels from one character to the next

    // Gives the window a client area of that size (a side below 1 counts as 1), erased; only
    // from then on are lines kept. Again, it changes the size and keeps the lines.
    void Show(int clientWidth, int clientHeight);
    bool HasSystemWindow() const { return !picture_.empty(); }

    // Every later line is also written to this file, which is created or truncated.
    bool OpenLogFile(std::string_view gamePath);
    bool IsLogFileOpen() const { return logFile_.IsOpen(); }

    // Nothing happens without a system window. A null text is an empty line.
    void AddLine(const char* text);

    // The text (null: none), then 0x0A 0x0D. False when no log file is open or a write fell short.
    bool WriteToFile(const char* text);

    // Scrolls one line away when the lines on show do not fit the height, then draws the
    // background and the lines on show. They run from the first visible index up to, not
    // including, the write index. Nothing without a system window.
    void OnPaint();
    // Fills the client area with the background; true, as the erase is then done.
    bool OnEraseBkgnd();

    int ClientWidth() const { return clientWidth_; }
    int ClientHeight() const { return clientHeight_; }
    // The client area, a row of ClientWidth pixels after another; empty while not shown.
    const std::vector<uint16_t>& Picture() const { return picture_; }

    uint32_t FirstVisibleIndex() const { return firstVisible_; }
    uint32_t WriteIndex() const { return writeIndex_; }
    const std::string& Line(uint32_t ringIndex) const { return lines_[ringIndex % kLineCount]; }

private:
    std::array<std::string, kLineCount> lines_;
    uint32_t firstVisible_ = 0;
    uint32_t writeIndex_ = 0;
    void DrawText(std::string_view text, int top);

    int clientWidth_ = 0;
    int clientHeight_ = 0;
    std::vector<uint16_t> picture_;
    files::File logFile_;
};

// The window of the game's output window, or null.
extern DebugLogWindow* g_debugLogWindow;

void AddDebugLine(const char* text);

#include "app/debug/DebugLogWindow.h"

#include <algorithm>

#include "core/util/GlyphShapes.h"

DebugLogWindow* g_debugLogWindow = nullptr;

namespace
{

std::string_view TextOrEmpty(const char* text)
{
    return text != nullptr ? text : "";
}

}  // namespace

DebugLogWindow::DebugLogWindow()
{
    g_debugLogWindow = this;
}

DebugLogWindow::~DebugLogWindow()
{
    if (g_debugLogWindow == this)
    {
        g_debugLogWindow = nullptr;
    }
}

void DebugLogWindow::Show(int clientWidth, int clientHeight)
{
    clientWidth_ = std::max(clientWidth, 1);
    clientHeight_ = std::max(clientHeight, 1);
    picture_.assign(static_cast<size_t>(clientWidth_) * clientHeight_, kBackgroundColour);
}

bool DebugLogWindow::OpenLogFile(std::string_view gamePath)
{
    logFile_ = files::File(gamePath, files::File::Mode::Write);
    return logFile_.IsOpen();
}

void DebugLogWindow::AddLine(const char* text)
{
    if (!HasSystemWindow())
    {
        return;
    }
    if (IsLogFileOpen())
    {
        WriteToFile(text);
    }
    lines_[writeIndex_] = TextOrEmpty(text);
    writeIndex_ = (writeIndex_ + 1) % kLineCount;
    OnPaint();
}

bool DebugLogWindow::WriteToFile(const char* text)
{
    if (!IsLogFileOpen())
    {
        return false;
    }
    static constexpr char kLineEnd[] = {0x0A, 0x0D};
    const std::string_view line = TextOrEmpty(text);
    const bool textWritten = logFile_.Write(line.data(), line.size()) == line.size();
    return logFile_.Write(kLineEnd, sizeof kLineEnd) == sizeof kLineEnd && textWritten;
}

void DebugLogWindow::OnPaint()
{
    if (!HasSystemWindow())
    {
        return;
    }
    const uint32_t linesOnShow = (writeIndex_ - firstVisible_) % kLineCount;
    if (static_cast<int>(linesOnShow) * kLineHeight > clientHeight_)
    {
        firstVisible_ = (firstVisible_ + 1) % kLineCount;
    }
    OnEraseBkgnd();
    int top = 0;
    for (uint32_t index = firstVisible_; index != writeIndex_; index = (index + 1) % kLineCount)
    {
        DrawText(lines_[index], top);
        top += kLineHeight;
    }
}

bool DebugLogWindow::OnEraseBkgnd()
{
    std::ranges::fill(picture_, kBackgroundColour);
    return true;
}

// Glyphs are clipped to the client area: a line below it or a text wider than it is cut.
void DebugLogWindow::DrawText(std::string_view text, int top)
{
    int left = 0;
    for (const char character : text)
    {
        const GlyphShape& shape = GlyphShapeOf(static_cast<uint8_t>(character));
        for (int row = 0; row < kGlyphRows && top + row < clientHeight_; ++row)
        {
            for (int column = 0; column < kGlyphColumns && left + column < clientWidth_; ++column)
            {
                if ((shape[row] & (1 << (kGlyphColumns - 1 - column))) != 0)
                {
                    picture_[static_cast<size_t>(top + row) * clientWidth_ + left + column] =
                        kTextColour;
                }
            }
        }
        left += kGlyphAdvance;
        if (left >= clientWidth_)
        {
            return;
        }
    }
}

void AddDebugLine(const char* text)
{
    if (g_debugLogWindow != nullptr)
    {
        g_debugLogWindow->AddLine(text);
    }
}

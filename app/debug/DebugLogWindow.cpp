#include "app/debug/DebugLogWindow.h"

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

void DebugLogWindow::Show(int clientHeight)
{
    clientHeight_ = clientHeight;
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
    Paint(*clientHeight_);
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

void DebugLogWindow::Paint(int clientHeight)
{
    const uint32_t linesOnShow = (writeIndex_ - firstVisible_) % kLineCount;
    if (static_cast<int>(linesOnShow) * kLineHeight > clientHeight)
    {
        firstVisible_ = (firstVisible_ + 1) % kLineCount;
    }
}

void AddDebugLine(const char* text)
{
    if (g_debugLogWindow != nullptr)
    {
        g_debugLogWindow->AddLine(text);
    }
}

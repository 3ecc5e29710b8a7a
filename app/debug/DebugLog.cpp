#include "app/debug/DebugLog.h"

#include "app/debug/Trace.h"
#include "core/files/FileSystem.h"

namespace
{

constexpr const char* kDebugLogPath = "Tempdaten/Debug.Log";

}  // namespace

void CreateDebugLog()
{
    // The log is made before anything else creates the game's scratch folder.
    files::MakeDirectories("tempdaten");
    files::File log(kDebugLogPath, files::File::Mode::Write);
    if (!log)
    {
        Trace("ERROR creating Log\n");
    }
}

void AppendDebugLog(const std::string& text)
{
    files::File log(kDebugLogPath, files::File::Mode::Append);
    if (!log)
    {
        Trace("ERROR writing log\n");
        return;
    }
    if (log.Write(text.data(), text.size()) != text.size())
    {
        Trace("Error writing exact length to Log\n");
    }
    if (!log.Flush())
    {
        Trace("Error flushing buffer\n");
    }
}

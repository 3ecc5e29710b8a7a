// How long the game takes from its start to the first frame on the display, on the demo
// installation in a scratch folder: the settings and set-up files, loading and binding the
// render library, mounting the five archives, opening the window and the 3D screen, and the
// main menu's first frame (its picture decoded from the menu archive). Measured on the
// scripted machine (the game's own work only) and under SDL's dummy video and audio drivers
// (with SDL's window, timer thread and audio device). Prints the median and the fastest of
// several runs per machine.

#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bench/startup/FirstFrameClock.h"
#include "kit/DemoInstallation.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "platform/sdl/SdlPlatform.h"
#include "program/GameApp.h"
#include "program/GameWindow.h"

namespace
{
namespace fs = std::filesystem;
using Milliseconds = std::chrono::duration<double, std::milli>;

constexpr int kRuns = 15;

// One start of the game on the machine: the time to its first frame, or a negative time when
// it showed none.
double TimeToFirstFrame(Platform& machine)
{
    FirstFrameClock clock(machine);
    const ScopedPlatform installed(clock);
    const auto start = FirstFrameClock::Clock::now();
    GameApp app;
    if (app.InitInstance() != GameWindow::kRunEnded || !clock.FirstFrame())
    {
        return -1.0;
    }
    return Milliseconds(*clock.FirstFrame() - start).count();
}

bool Report(const char* machineName, const std::function<double()>& run)
{
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i)
    {
        const double ms = run();
        if (ms < 0.0)
        {
            std::fprintf(stderr, "bench_startup: the game showed no frame on %s\n", machineName);
            return false;
        }
        times.push_back(ms);
    }
    std::ranges::sort(times);
    std::printf("%-28s median %7.1f ms   fastest %7.1f ms   (%d runs)\n", machineName,
                times[times.size() / 2], times.front(), kRuns);
    return true;
}
}  // namespace

int main()
{
    std::string folder = (fs::temp_directory_path() / "zarvo-bench-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr)
    {
        std::perror("bench_startup");
        return 1;
    }
    std::string error;
    if (!kit::WriteDemoInstallation(folder, error))
    {
        std::fprintf(stderr, "bench_startup: %s\n", error.c_str());
        return 1;
    }
    fs::current_path(folder);

    bool measured = Report("scripted machine",
                           []
                           {
                               ScriptedPlatform machine;
                               return TimeToFirstFrame(machine);
                           });
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    measured = Report("SDL, dummy drivers",
                      []
                      {
                          SdlPlatform machine;
                          return TimeToFirstFrame(machine);
                      }) &&
               measured;

    fs::current_path(fs::temp_directory_path());
    fs::remove_all(folder);
    return measured ? 0 : 1;
}

// How long a player waits from starting the game to its first real frame: the game program
// started afresh in a new process each run, on the demo installation in a scratch folder,
// under SDL's dummy video and audio drivers. Each run covers loading the program and its
// libraries, the settings and set-up files, loading and binding the render library, mounting
// the five archives, opening the window and the 3D screen, and the main menu's first frame
// that shows its picture; a library preloaded into the game notes that moment and ends the
// game. Prints the median and the fastest of the runs.

#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "kit/DemoInstallation.h"

extern char** environ;

namespace
{
namespace fs = std::filesystem;

constexpr int kRuns = 15;

int64_t MonotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// The environment of the bench with SDL on its dummy drivers, the shim preloaded and the
// descriptor the shim reports to.
std::vector<std::string> GameEnvironment(int reportDescriptor)
{
    std::vector<std::string> environment;
    for (char** variable = environ; *variable != nullptr; ++variable)
    {
        const std::string entry = *variable;
        if (!entry.starts_with("SDL_") && !entry.starts_with("LD_PRELOAD=") &&
            !entry.starts_with("DISPLAY=") && !entry.starts_with("WAYLAND_DISPLAY="))
        {
            environment.push_back(entry);
        }
    }
    environment.push_back("SDL_VIDEODRIVER=dummy");
    environment.push_back("SDL_AUDIODRIVER=dummy");
    environment.push_back(std::string("LD_PRELOAD=") + ZARVO_FIRST_FRAME_SHIM);
    environment.push_back("ZARVO_BENCH_FRAME_FD=" + std::to_string(reportDescriptor));
    return environment;
}

// One start of the game in the working directory: milliseconds to its first real frame, or
// nothing when it showed none or did not end cleanly.
std::optional<double> TimeToFirstFrame()
{
    int report[2];
    if (pipe(report) != 0)
    {
        return std::nullopt;
    }
    std::vector<std::string> variables = GameEnvironment(report[1]);
    std::vector<char*> environment;
    for (std::string& variable : variables)
    {
        environment.push_back(variable.data());
    }
    environment.push_back(nullptr);
    std::string program = ZARVO_GAME;
    char* arguments[] = {program.data(), nullptr};

    const int64_t start = MonotonicNs();
    pid_t child = 0;
    const bool spawned =
        posix_spawn(&child, program.c_str(), nullptr, nullptr, arguments, environment.data()) == 0;
    close(report[1]);
    std::string line;
    char buffer[64];
    for (ssize_t read = 0; spawned && (read = ::read(report[0], buffer, sizeof buffer)) > 0;)
    {
        line.append(buffer, static_cast<size_t>(read));
    }
    close(report[0]);
    int status = 0;
    if (!spawned || waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0 || line.empty())
    {
        return std::nullopt;
    }
    return static_cast<double>(std::stoll(line) - start) / 1e6;
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

    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run)
    {
        const std::optional<double> ms = TimeToFirstFrame();
        if (!ms)
        {
            std::fprintf(stderr, "bench_startup: the game showed no frame or did not end\n");
            break;
        }
        times.push_back(*ms);
    }
    fs::current_path(fs::temp_directory_path());
    fs::remove_all(folder);
    if (times.size() != kRuns)
    {
        return 1;
    }
    std::ranges::sort(times);
    std::printf("start to first real frame, a new process each run, SDL dummy drivers:\n");
    std::printf("  median %7.1f ms   fastest %7.1f ms   (%d runs)\n", times[times.size() / 2],
                times.front(), kRuns);
    return 0;
}

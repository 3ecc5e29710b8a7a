// The real game on the demo installation. Under SDL's dummy video and audio drivers it starts,
// stays up without keeping the processor busy, and ends normally when the process is
// interrupted, as a player's Ctrl+C or a session end asks it to. Without a display it says so
// and ends with a failure.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/DemoInstallationCopy.h"
#include "tests/support/TestDirectory.h"

extern char** environ;

namespace
{
using namespace std::chrono_literals;

constexpr auto kStayUp = 1500ms;
constexpr auto kIdleWatch = 1000ms;
// A loaded machine can stretch the start-up past kStayUp: a game that waits as it should shows
// one quiet watch within this time, one that spins never does.
constexpr auto kQuietWithin = 20s;
constexpr auto kEndWithin = 30s;  // generous: a sanitizer build is slow to shut down

// The environment of the test without a display, and with SDL's dummy sound driver; the video
// driver only when one is named.
std::vector<std::string> EnvironmentWithoutDisplay(const char* videoDriver)
{
    std::vector<std::string> variables;
    for (char** variable = environ; *variable != nullptr; ++variable)
    {
        const std::string entry = *variable;
        if (entry.starts_with("SDL_VIDEODRIVER=") || entry.starts_with("SDL_AUDIODRIVER=") ||
            entry.starts_with("DISPLAY=") || entry.starts_with("WAYLAND_DISPLAY=") ||
            entry.starts_with("XDG_RUNTIME_DIR="))
        {
            continue;
        }
        variables.push_back(entry);
    }
    if (videoDriver != nullptr)
    {
        variables.push_back(std::string("SDL_VIDEODRIVER=") + videoDriver);
    }
    variables.emplace_back("SDL_AUDIODRIVER=dummy");
    return variables;
}

// Starts the game in the folder's installation (the working directory) with its stderr in a
// file there.
pid_t StartGame(std::vector<std::string> variables, const std::string& stderrPath)
{
    std::vector<char*> environment;
    for (std::string& variable : variables)
    {
        environment.push_back(variable.data());
    }
    environment.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, stderrPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::string program = ZARVO_GAME;
    char* arguments[] = {program.data(), nullptr};
    pid_t child = 0;
    const int failed =
        posix_spawn(&child, program.c_str(), &actions, nullptr, arguments, environment.data());
    posix_spawn_file_actions_destroy(&actions);
    return failed == 0 ? child : -1;
}

// The processor time the process has had so far, user and system.
std::chrono::milliseconds ProcessorTime(pid_t process)
{
    std::ifstream stat("/proc/" + std::to_string(process) + "/stat");
    const std::string line((std::istreambuf_iterator<char>(stat)),
                           std::istreambuf_iterator<char>());
    // The fields after the name, which is in parentheses and may hold spaces: state is the
    // first, user time the twelfth and system time the thirteenth, in clock ticks.
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    long ticks = 0;
    for (int index = 1; index <= 13 && fields >> field; ++index)
    {
        if (index >= 12)
        {
            ticks += std::stol(field);
        }
    }
    return std::chrono::milliseconds(ticks * 1000 / sysconf(_SC_CLK_TCK));
}

// The child's exit status, once it has ended within the time; nothing when it has not.
std::optional<int> WaitForExit(pid_t child, std::chrono::steady_clock::duration limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;)
    {
        int status = 0;
        const pid_t ended = waitpid(child, &status, WNOHANG);
        if (ended == child)
        {
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        if (ended < 0 || std::chrono::steady_clock::now() > deadline)
        {
            return std::nullopt;
        }
        std::this_thread::sleep_for(20ms);
    }
}

// The child's exit status once it has ended; one that has not within kEndWithin is killed, and
// nothing returned.
std::optional<int> WaitForExitOrKill(pid_t child)
{
    const std::optional<int> status = WaitForExit(child, kEndWithin);
    if (!status)
    {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    return status;
}

TEST(GameSmokeTest, StartsStaysUpIdlingAndEndsNormallyOnInterrupt)
{
    const TestDirectory directory;
    std::string error;
    ASSERT_TRUE(CopyDemoInstallation(directory.path(), error)) << error;
    const std::string config = directory.ReadFile("config.dat");

    const pid_t child = StartGame(EnvironmentWithoutDisplay("dummy"), "stderr.txt");
    ASSERT_GT(child, 0);

    // The game makes its log once the machine layer is up, and from then on an interrupt
    // reaches it as a request to quit.
    const auto deadline = std::chrono::steady_clock::now() + kEndWithin;
    std::optional<int> ended;
    while (!std::filesystem::exists(directory.path() + "/tempdaten/Debug.Log") &&
           std::chrono::steady_clock::now() < deadline && !(ended = WaitForExit(child, 0s)))
    {
        std::this_thread::sleep_for(20ms);
    }
    std::chrono::milliseconds busy{};
    if (!ended)
    {
        // Once the start screen stands, the game has nothing to do but wait for the player.
        std::this_thread::sleep_for(kStayUp);
        const auto quietBy = std::chrono::steady_clock::now() + kQuietWithin;
        do
        {
            const std::chrono::milliseconds before = ProcessorTime(child);
            std::this_thread::sleep_for(kIdleWatch);
            busy = ProcessorTime(child) - before;
            ended = WaitForExit(child, 0s);
        } while (!ended && busy >= kIdleWatch / 2 && std::chrono::steady_clock::now() < quietBy);
    }
    if (ended)
    {
        FAIL() << "the game ended by itself with status " << *ended << ":\n"
               << directory.ReadFile("stderr.txt");
    }
    EXPECT_LT(busy, kIdleWatch / 2) << "the game keeps the processor busy while it waits";
    ASSERT_EQ(kill(child, SIGINT), 0);
    const std::optional<int> status = WaitForExitOrKill(child);
    ASSERT_TRUE(status) << "the game did not end after SIGINT";
    EXPECT_EQ(*status, 0);
    EXPECT_EQ(directory.ReadFile("config.dat"), config);
    EXPECT_EQ(directory.ReadFile("tempdaten/Debug.Log"), "");
}

TEST(GameSmokeTest, WithoutADisplaySaysSoAndEndsInFailure)
{
    const TestDirectory directory;
    std::string error;
    ASSERT_TRUE(CopyDemoInstallation(directory.path(), error)) << error;
    const std::string config = directory.ReadFile("config.dat");

    const pid_t child = StartGame(EnvironmentWithoutDisplay(nullptr), "stderr.txt");
    ASSERT_GT(child, 0);
    const std::optional<int> status = WaitForExitOrKill(child);
    ASSERT_TRUE(status) << "the game runs on without a display";
    EXPECT_EQ(*status, 1);
    EXPECT_EQ(directory.ReadFile("stderr.txt"), "Zarvo: no display: DISPLAY is not set\n");
    EXPECT_EQ(directory.ReadFile("config.dat"), config);
}
}  // namespace

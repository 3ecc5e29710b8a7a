// Two games race each other over a real network of the test's own: two processes of the game's
// main routine, each with its own installation and address, host and client of one session.
// Their players give their riders to the computer on the grid, the computer riders race the
// 2 laps in lock-step on both machines, and both games end with the same lap times, result and
// championship table.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/net/PrivateNetwork.h"
#include "tests/support/DemoInstallationCopy.h"
#include "tests/support/TestDirectory.h"

namespace
{
using namespace std::chrono_literals;

constexpr auto kRaceWithin = 180s;  // generous: a sanitizer build is slow

// Starts the player in its installation folder with its own network address.
pid_t StartPlayer(const std::string& role, const std::string& folder, const std::string& address,
                  const std::string& clockFile)
{
    const pid_t child = fork();
    if (child != 0)
    {
        return child;
    }
    if (chdir(folder.c_str()) != 0 || !freopen("stderr.txt", "w", stderr))
    {
        _exit(3);
    }
    setenv("ZARVO_NET_ADDRESS", address.c_str(), 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const std::string result = folder + "/result.txt";
    execl(ZARVO_NETWORK_PLAYER, ZARVO_NETWORK_PLAYER, role.c_str(), clockFile.c_str(),
          result.c_str(), static_cast<char*>(nullptr));
    _exit(4);
}

// The exit status of the player, or -1 when it did not end in time (it is then killed).
int WaitForPlayer(pid_t child, std::chrono::steady_clock::time_point deadline)
{
    for (;;)
    {
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child)
        {
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        if (std::chrono::steady_clock::now() > deadline)
        {
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
            return -1;
        }
        std::this_thread::sleep_for(20ms);
    }
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The fields of a rider's line of the result: time, rank, the lap times, and its best place
// in the championship table (255: none).
struct RiderLine
{
    float time = -2.0f;
    int rank = 0;
    int firstLap = -1;
    int secondLap = -1;
    int tablePlace = 255;
};

RiderLine ReadRider(const std::string& result, int rider)
{
    std::istringstream lines(result);
    std::string line;
    RiderLine read;
    while (std::getline(lines, line))
    {
        std::istringstream fields(line);
        std::string word;
        int number = -1;
        fields >> word >> number;
        if (word == "rider" && number == rider)
        {
            fields >> word >> read.time >> word >> read.rank >> word >> read.firstLap >>
                read.secondLap >> word;
            for (int place = 0; fields >> place;)
            {
                read.tablePlace = std::min(read.tablePlace, place);
            }
        }
    }
    return read;
}
}  // namespace

TEST(NetworkRaceEndToEndTest, TwoGamesRaceTwoLapsAndEndWithTheSameLapTimesResultAndTable)
{
    if (!EnterPrivateNetwork())
    {
        GTEST_SKIP() << "no private network namespace can be made here";
    }
    TestDirectory directory;
    const std::string hostFolder = directory.path() + "/host";
    const std::string clientFolder = directory.path() + "/client";
    std::string error;
    ASSERT_TRUE(CopyDemoInstallation(hostFolder, error)) << error;
    ASSERT_TRUE(CopyDemoInstallation(clientFolder, error)) << error;
    const std::string clockFile = directory.path() + "/clocks";

    const pid_t host = StartPlayer("host", hostFolder, "127.0.0.2", clockFile);
    const pid_t client = StartPlayer("client", clientFolder, "127.0.0.3", clockFile);
    const auto deadline = std::chrono::steady_clock::now() + kRaceWithin;
    EXPECT_EQ(WaitForPlayer(host, deadline), 0) << ReadFile(hostFolder + "/stderr.txt");
    EXPECT_EQ(WaitForPlayer(client, deadline), 0) << ReadFile(clientFolder + "/stderr.txt");

    const std::string hostResult = ReadFile(hostFolder + "/result.txt");
    const std::string clientResult = ReadFile(clientFolder + "/result.txt");
    EXPECT_EQ(hostResult, clientResult);
    EXPECT_NE(hostResult.find("run 1\nmenu after the race 1\n"), std::string::npos) << hostResult;
    // The players left on the grid; the two computer riders finished both laps, and took the
    // first two places of the championship table.
    std::vector<int> tablePlaces;
    for (int rider = 0; rider < 26; ++rider)
    {
        const RiderLine line = ReadRider(hostResult, rider);
        if (line.time > 0.0f && line.firstLap > 0 && line.secondLap > 0)
        {
            tablePlaces.push_back(line.tablePlace);
        }
    }
    std::sort(tablePlaces.begin(), tablePlaces.end());
    EXPECT_EQ(tablePlaces, (std::vector<int>{0, 1})) << hostResult;
}

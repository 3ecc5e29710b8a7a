// Two games race each other over a real network of the test's own: two processes of the game's
// main routine, each with its own installation and address, host and client of one session of
// two races. Their players give their riders to the computer on the grid, the computer riders
// race in lock-step on both machines, each race on its circuit of the host's list in its air,
// and both games end each race with the same lap times, result and championship table. A
// client that backs out before the second race leaves the session; the host races on.

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

// The part of the result that one race left: from its "race N" line to the next one.
std::string RaceSection(const std::string& result, int race)
{
    const std::string head = "race " + std::to_string(race) + ' ';
    const size_t begin = result.find(head);
    if (begin == std::string::npos)
    {
        return {};
    }
    const size_t end = result.find("\nrace ", begin);
    return result.substr(begin, end == std::string::npos ? std::string::npos : end + 1 - begin);
}

// The first line a race's section should have: the circuit, weather and air of its entry of
// the circuit list.
std::string RunningConditions(const std::string& result, int race)
{
    const std::string head = "calendar " + std::to_string(race) + " ";
    const size_t at = result.find(head);
    if (at == std::string::npos)
    {
        return "no calendar entry";
    }
    std::istringstream fields(result.substr(at + head.size()));
    std::string word;
    int circuit = 0;
    int weather = 0;
    int temperature = 0;
    int humidity = 0;
    int pressure = 0;
    fields >> word >> circuit >> word >> weather >> word >> temperature >> humidity >> pressure;
    std::ostringstream line;
    line << "race " << race << " circuit " << circuit << " weather " << weather << " air "
         << temperature << ' ' << humidity << ' ' << static_cast<float>(pressure) * 0.75007504f
         << '\n';
    return line.str();
}

// The fields of a rider's line of a race: time, rank, the lap time, and its places in the
// championship table by circuit (255: none).
struct RiderLine
{
    float time = -2.0f;
    int rank = 0;
    int lap = -1;
    std::vector<int> table;
};

RiderLine ReadRider(const std::string& section, int rider)
{
    std::istringstream lines(section);
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
            fields >> word >> read.time >> word >> read.rank >> word >> read.lap >> word;
            for (int place = 0; fields >> place;)
            {
                read.table.push_back(place);
            }
        }
    }
    return read;
}

// The two computer riders of the 4 (the players' riders left the race on the grid) finished
// the race, and took the first two places of the table at its circuit; no other rider has one.
void ExpectComputerRidersPlaced(const std::string& section, int circuit)
{
    std::vector<int> places;
    for (int rider = 0; rider < 26; ++rider)
    {
        const RiderLine line = ReadRider(section, rider);
        ASSERT_EQ(line.table.size(), 18u) << section;
        if (line.time > 0.0f && line.rank >= 0 && line.lap > 0)
        {
            places.push_back(line.table[circuit]);
        }
        else
        {
            EXPECT_EQ(line.table[circuit], 255) << "rider " << rider << '\n' << section;
        }
    }
    std::sort(places.begin(), places.end());
    EXPECT_EQ(places, (std::vector<int>{0, 1})) << section;
}

// A rider who finished the race.
int Finisher(const std::string& section)
{
    for (int rider = 0; rider < 26; ++rider)
    {
        if (ReadRider(section, rider).time > 0.0f)
        {
            return rider;
        }
    }
    return 0;
}

// The player's slot, from its result.
int OwnSlot(const std::string& result)
{
    const size_t at = result.find("own slot ");
    return at == std::string::npos ? -1 : std::stoi(result.substr(at + 9));
}

// The result without the player's own slot, which is each player's own.
std::string Shared(const std::string& result)
{
    const size_t at = result.find("own slot ");
    return at == std::string::npos
               ? result
               : result.substr(0, at) + result.substr(result.find('\n', at) + 1);
}

class NetworkRaceEndToEndTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!EnterPrivateNetwork())
        {
            GTEST_SKIP() << "no private network namespace can be made here";
        }
    }

    // Host and client (in the given role) play the session to its end; their results.
    void Play(const std::string& clientRole)
    {
        const std::string hostFolder = directory_.path() + "/host";
        const std::string clientFolder = directory_.path() + "/client";
        std::string error;
        ASSERT_TRUE(CopyDemoInstallation(hostFolder, error)) << error;
        ASSERT_TRUE(CopyDemoInstallation(clientFolder, error)) << error;
        const std::string clockFile = directory_.path() + "/clocks";

        const pid_t host = StartPlayer("host", hostFolder, "127.0.0.2", clockFile);
        const pid_t client = StartPlayer(clientRole, clientFolder, "127.0.0.3", clockFile);
        const auto deadline = std::chrono::steady_clock::now() + kRaceWithin;
        EXPECT_EQ(WaitForPlayer(host, deadline), 0) << ReadFile(hostFolder + "/stderr.txt");
        EXPECT_EQ(WaitForPlayer(client, deadline), 0) << ReadFile(clientFolder + "/stderr.txt");
        hostResult_ = ReadFile(hostFolder + "/result.txt");
        clientResult_ = ReadFile(clientFolder + "/result.txt");
    }

    TestDirectory directory_;
    std::string hostResult_;
    std::string clientResult_;
};
}  // namespace

TEST_F(NetworkRaceEndToEndTest, TwoGamesRaceTheSessionsTwoRacesAndEndEachWithTheSameResultAndTable)
{
    Play("client");
    EXPECT_EQ(Shared(hostResult_), Shared(clientResult_));
    EXPECT_NE(hostResult_.find("run 1\nmenu after the races 1\n"), std::string::npos)
        << hostResult_;

    // Each race on its circuit of the host's list (15, then 16), in the weather and air the
    // host rolled for it (the pressure as mmHg).
    const std::string first = RaceSection(hostResult_, 0);
    const std::string second = RaceSection(hostResult_, 1);
    EXPECT_EQ(hostResult_.find(" air 0 0 0\n"), std::string::npos) << "every race's air rolled";
    EXPECT_EQ(first.rfind(RunningConditions(hostResult_, 0), 0), 0u) << hostResult_;
    EXPECT_EQ(second.rfind(RunningConditions(hostResult_, 1), 0), 0u) << hostResult_;
    EXPECT_EQ(first.rfind("race 0 circuit 15 ", 0), 0u) << first;
    EXPECT_EQ(second.rfind("race 1 circuit 16 ", 0), 0u) << second;
    ExpectComputerRidersPlaced(first, 15);
    ExpectComputerRidersPlaced(second, 15);
    ExpectComputerRidersPlaced(second, 16);
    // The table after the first race has no place at the second race's circuit yet.
    EXPECT_EQ(ReadRider(first, Finisher(first)).table.at(16), 255) << first;
}

TEST_F(NetworkRaceEndToEndTest,
       AClientBackingOutBeforeTheSecondRaceLeavesTheSessionAndTheHostRacesOn)
{
    Play("leaving-client");
    // The client is back in its menu after the first race, which both machines ended alike.
    EXPECT_NE(clientResult_.find("run 1\nmenu after the races 1\n"), std::string::npos)
        << clientResult_;
    const std::string first = RaceSection(hostResult_, 0);
    EXPECT_EQ(RaceSection(clientResult_, 0), first);
    EXPECT_EQ(RaceSection(clientResult_, 1), "") << clientResult_;

    // The host raced the second race without the client's rider, and ended in its menu.
    EXPECT_NE(hostResult_.find("run 1\nmenu after the races 1\n"), std::string::npos)
        << hostResult_;
    const std::string second = RaceSection(hostResult_, 1);
    EXPECT_EQ(second.rfind("race 1 circuit 16 ", 0), 0u) << hostResult_;
    const int leaver = OwnSlot(clientResult_);
    ASSERT_GE(leaver, 0) << clientResult_;
    const RiderLine left = ReadRider(second, leaver);
    EXPECT_LT(left.time, 0.0f) << second;
    EXPECT_EQ(left.table.at(16), 255) << second;
    EXPECT_EQ(ReadRider(second, Finisher(second)).table.at(16), 0) << second;
}

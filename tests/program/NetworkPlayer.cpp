// A scripted player of a network race: the game's main routine on the scripted platform in
// the working directory's installation, on the machine's real network. The host hosts a
// session of two races of one lap and 4 riders, the client joins it; both confirm their riders,
// the host starts, both start each race from the pre-race screen, and each player gives its
// rider to the computer (Esc) while the field stands on the grid, so that the computer riders
// race. Once back in the menu after the last race the game is ended. What each race left (its
// circuit and air, the standings and the championship table) is written to the result file,
// with the player's own slot. A client that is to leave backs out of the second race's
// pre-race screen instead of starting it.
//
// Two players keep their virtual clocks together through a file both map: neither runs more
// than a few milliseconds ahead of the other, as two machines on one network would.
//
// Usage: zarvo_network_player host|client|leaving-client CLOCK_FILE RESULT_FILE

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/clock/RaceClock.h"
#include "app/game/CurrentRace.h"
#include "app/settings/MenuState.h"
#include "frontend/MainMenu.h"
#include "frontend/netlobby/LobbyPageLayout.h"
#include "frontend/settings/MenuStateFile.h"
#include "net/NetSession.h"
#include "platform/VirtualKeys.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "program/GameApp.h"
#include "race/RaceContext.h"

namespace
{
using Kind = PlatformEvent::Kind;
using namespace std::chrono_literals;

constexpr uint64_t kClockSlackMs = 40;
constexpr auto kPartnerSilence = 60s;  // the other player has hung: go on alone
constexpr uint32_t kMenuFrameMs = 100;
constexpr uint32_t kRaceFrameMs = 1000;
constexpr uint32_t kBackstopMs = 900000;
constexpr uint32_t kRiders = 4;
constexpr uint32_t kLaps = 1;

// The session's circuit list, whose races get their weather rolled when the host hosts it.
constexpr std::array<int8_t, 2> kCalendar = {15, 16};
constexpr uint32_t kRolledWeather = 4;

// The two players' virtual clocks, in a file both map.
class SharedClocks
{
public:
    SharedClocks(const char* path, size_t own) : own_(own)
    {
        const int fd = open(path, O_RDWR | O_CREAT, 0644);
        if (fd < 0 || ftruncate(fd, sizeof(Clocks)) != 0)
        {
            std::perror("clock file");
            std::exit(2);
        }
        void* mapped = mmap(nullptr, sizeof(Clocks), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        close(fd);
        if (mapped == MAP_FAILED)
        {
            std::perror("clock file");
            std::exit(2);
        }
        clocks_ = static_cast<Clocks*>(mapped);
    }
    ~SharedClocks() { Publish(UINT64_MAX); }

    void Publish(uint64_t nowMs) { clocks_->ms[own_].store(nowMs); }

    // Holds the caller while it is ahead of the other player.
    void Wait(uint64_t nowMs)
    {
        Publish(nowMs);
        const auto since = std::chrono::steady_clock::now();
        while (nowMs > kClockSlackMs && clocks_->ms[1 - own_].load() < nowMs - kClockSlackMs &&
               std::chrono::steady_clock::now() - since < kPartnerSilence)
        {
            std::this_thread::sleep_for(50us);
        }
    }

private:
    struct Clocks
    {
        std::atomic<uint64_t> ms[2];
    };
    Clocks* clocks_ = nullptr;
    size_t own_;
};

int32_t Middle(int32_t low, int32_t high)
{
    return (low + high) / 2;
}

void ClickAt(ScriptedPlatform& platform, uint32_t ms, int32_t x, int32_t y)
{
    platform.AtTime(ms, {.kind = Kind::MouseMove, .x = x, .y = y});
    platform.AtTime(ms + 80,
                    {.kind = Kind::MouseButton, .button = 1, .pressed = true, .x = x, .y = y});
    platform.AtTime(ms + 160,
                    {.kind = Kind::MouseButton, .button = 1, .pressed = false, .x = x, .y = y});
}

void ClickArea(ScriptedPlatform& platform, uint32_t ms, const ScreenRect& area)
{
    ClickAt(platform, ms, Middle(area.left, area.right), Middle(area.top, area.bottom));
}

// The session's settings, the player's slot and name, before the game reads them. The client's
// circuit list differs from the host's: the session's is the host's.
void WriteSettings(bool host)
{
    g_menuState = MenuState();
    g_menuState.SetU32At(MenuState::kNetworkLapsOffset, kLaps);
    g_menuState.SetU32At(MenuState::kNetworkRiderCountOffset, kRiders);
    g_menuState.SetU32At(MenuState::kNetworkSlotOffset, host ? 0 : 1);
    g_menuState.SetU32At(MenuState::kNetworkRiderChoiceOffset, host ? 0 : 1);
    g_menuState.SetPlayerName(host ? "Host" : "Client");
    if (host)
    {
        for (size_t race = 0; race < kCalendar.size(); ++race)
        {
            g_menuState.SetI8At(MenuState::kNetworkCircuitsOffset + race, kCalendar[race]);
        }
        g_menuState.SetI8At(MenuState::kNetworkCircuitsOffset + kCalendar.size(), -1);
        g_menuState.SetU32At(MenuState::kNetworkWeatherChoiceOffset, kRolledWeather);
    }
    SaveMenuState();
}

// The pre-race screen's start button (where go was) or its back button, once the screen is up.
void ClickWhenUp(ScriptedPlatform& platform, uint32_t fromMs, bool back)
{
    for (uint32_t ms = fromMs; ms <= fromMs + 8000; ms += 2000)
    {
        ClickAt(platform, ms, back ? 33 : 600, back ? 465 : 460);
    }
}

// The circuit list's races as the session took them: circuit, weather and air.
std::string CalendarRecord()
{
    std::ostringstream out;
    for (size_t race = 0; race < kCalendar.size(); ++race)
    {
        out << "calendar " << race << " circuit "
            << static_cast<int>(g_menuState.I8At(MenuState::kNetworkCircuitsOffset + race))
            << " weather "
            << static_cast<int>(g_menuState.U8At(MenuState::kNetworkWeatherOffset + race))
            << " air "
            << static_cast<int>(g_menuState.U8At(MenuState::kNetworkTemperatureOffset + race))
            << ' ' << static_cast<int>(g_menuState.U8At(MenuState::kNetworkHumidityOffset + race))
            << ' ' << g_menuState.U16At(MenuState::kNetworkPressureOffset + 2 * race) << '\n';
    }
    return out.str();
}

// What a race left: its circuit and air while it ran, then its standings and the
// championship table once it was scored.
std::string RaceRecord(uint32_t race, const std::string& conditions)
{
    std::ostringstream out;
    out << "race " << race << conditions << "\nplaces";
    for (uint32_t place = 0; place < kRiderCount; ++place)
    {
        out << ' ' << g_standings.positionTable[place];
    }
    out << '\n';
    for (uint32_t rider = 0; rider < kRiderCount; ++rider)
    {
        out << "rider " << rider << " time " << g_standings.sessionTimes[rider] << " rank "
            << g_standings.sessionRanks[rider] << " laps";
        for (uint32_t lap = 1; lap <= kLaps; ++lap)
        {
            out << ' ' << g_standings.splitMs[rider][3][lap];
        }
        out << " table";
        for (size_t circuit = 0; circuit < MenuState::kChampionshipCircuits; ++circuit)
        {
            out << ' '
                << static_cast<int>(g_menuState.U8At(MenuState::kChampionshipOffset +
                                                     rider * MenuState::kChampionshipCircuits +
                                                     circuit));
        }
        out << '\n';
    }
    return out.str();
}

std::string RunningConditions()
{
    std::ostringstream out;
    out << " circuit " << static_cast<int>(g_circuitIndex) << " weather "
        << static_cast<int>(g_weather) << " air " << g_raceConditions.airTemperature << ' '
        << g_raceConditions.humidity << ' ' << g_raceConditions.pressureMmHg;
    return out.str();
}

// The clicks from the moment the menu is up.
void ScriptLobby(ScriptedPlatform& platform, bool host, uint32_t menuMs)
{
    const auto at = [&](uint32_t ms) { return menuMs + ms; };
    ClickAt(platform, at(500), 600, 460);  // go: the network panel
    if (host)
    {
        ClickAt(platform, at(1500), 300, 174);                 // a new game: the server page
        ClickArea(platform, at(3000), ServerCommandArea(14));  // host it
        ClickArea(platform, at(12000), kConfirmArea);
        ClickArea(platform, at(26000), kStartArea);
    }
    else
    {
        ClickAt(platform, at(1500), 300, 222);  // join a game: the player page
        ClickArea(platform, at(14000), kSearchArea);
        ClickAt(platform, at(20000), 150, kServerRowTop + kServerRowHeight / 2);
        ClickArea(platform, at(21000), kJoinArea);
        ClickArea(platform, at(24000), kConfirmArea);
    }
    ClickWhenUp(platform, at(32000), false);
}

// What the script does as the game goes: the rider leaves each race on the grid, the result
// pages after each race run until their countdown moves on, each race's record is kept once it
// is scored (when the session moves on to the next race, or the game ends), the game ends once
// the menu is back after the races, and the frames grow longer in the races.
class RaceScript
{
public:
    RaceScript(ScriptedPlatform& platform, bool host, bool leaving)
        : platform_(platform), host_(host), leaving_(leaving)
    {
    }

    void Step()
    {
        if (!scripted_ && g_mainMenu != nullptr)
        {
            scripted_ = true;
            ScriptLobby(platform_, host_, platform_.NowMs());
        }
        const bool racing = g_raceClockOn.load() && g_net.RaceStarted();
        platform_.SetFrameQuantumMs(racing ? kRaceFrameMs : kMenuFrameMs);
        const uint32_t ticks = g_ticksDone.load();
        if (racing)
        {
            racedSinceRecord_ = true;
            ownSlot_ = g_net.OwnSlot();
            conditions_ = RunningConditions();
            if (!retired_ && ticks > 25 && ticks + 25 < g_raceStartTick.load())
            {
                retired_ = true;
                platform_.Push({.kind = Kind::KeyDown, .virtualKey = vk::Escape});
                platform_.Push({.kind = Kind::KeyUp, .virtualKey = vk::Escape});
            }
        }
        raced_ = raced_ || ticks > 0;
        const uint32_t index = g_menuState.U32At(MenuState::kNetworkRaceIndexOffset);
        if (index > races_.size())
        {
            // Scored, and on to the next race's pre-race screen.
            races_.push_back(RaceRecord(index - 1, conditions_));
            racedSinceRecord_ = false;
            retired_ = false;
            ClickWhenUp(platform_, platform_.NowMs() + 2000, leaving_);
        }
        if (raced_ && !racing && g_mainMenu != nullptr && !quitting_)
        {
            quitting_ = true;
            platform_.Push({.kind = Kind::Quit});
        }
    }

    // Every race's record: the last one's from what it left at the end.
    std::string Records() const
    {
        std::string records;
        for (const std::string& race : races_)
        {
            records += race;
        }
        if (racedSinceRecord_)
        {
            records += RaceRecord(static_cast<uint32_t>(races_.size()), conditions_);
        }
        return records;
    }

    // The menu came back after the races, and the script ended the game there.
    bool EndedInTheMenu() const { return quitting_; }
    // The slot the player raced in.
    uint32_t OwnSlot() const { return ownSlot_; }

private:
    ScriptedPlatform& platform_;
    bool host_;
    bool leaving_;
    bool racedSinceRecord_ = false;
    uint32_t ownSlot_ = 0;
    bool scripted_ = false;
    bool retired_ = false;
    bool raced_ = false;
    bool quitting_ = false;
    std::string conditions_;
    std::vector<std::string> races_;
};

void WriteResult(const char* path, uint32_t run, const RaceScript& script)
{
    std::ofstream out(path);
    out << "run " << run << "\nmenu after the races " << script.EndedInTheMenu() << "\nown slot "
        << script.OwnSlot() << '\n'
        << CalendarRecord() << script.Records();
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
    {
        std::fprintf(stderr, "usage: %s host|client|leaving-client CLOCK_FILE RESULT_FILE\n",
                     argv[0]);
        return 2;
    }
    const bool host = std::strcmp(argv[1], "host") == 0;
    SharedClocks clocks(argv[2], host ? 0 : 1);
    WriteSettings(host);

    ScriptedPlatform platform;
    ScopedPlatform installed(platform);
    platform.SetFrameQuantumMs(kMenuFrameMs);
    platform.LimitCapturedFrames(1);
    platform.AtTime(kBackstopMs, {.kind = Kind::Quit});
    RaceScript script(platform, host, std::strcmp(argv[1], "leaving-client") == 0);
    platform.SetTimeGate(
        [&](uint64_t nowMs)
        {
            script.Step();
            clocks.Wait(nowMs);
        });

    GameApp app;
    const uint32_t run = app.InitInstance();
    clocks.Publish(UINT64_MAX);
    WriteResult(argv[3], run, script);
    return 0;
}

// The session loop: the main menu, again and again, until the player quits.
//
// Each pass runs one visit of the main menu with the weekend's weather prepared, then takes
// the player's rider from the settings and acts on the visit's result: the chosen sessions run
// (each set up, loaded, raced, unloaded and scored; a race again as often as the player asks
// for it), and the loop returns to the main menu. A network session goes from race to race of
// its circuit list without the menu, and back to it after the last race or when the session
// ended early.

#include <utility>

#include "app/archive/ArchiveSet.h"
#include "app/clock/RaceClock.h"
#include "app/device/RenderDevice.h"
#include "app/game/CurrentRace.h"
#include "app/input/KeyState.h"
#include "app/window/FrameTime.h"
#include "frontend/MainMenu.h"
#include "frontend/MenuResources.h"
#include "frontend/SessionChoices.h"
#include "frontend/pitbox/PitBoxResults.h"
#include "frontend/season/ChampionshipTable.h"
#include "frontend/season/PreRaceScreen.h"
#include "frontend/season/SeasonFlow.h"
#include "frontend/season/SessionStart.h"
#include "frontend/settings/MenuStateFile.h"
#include "net/NetLobby.h"
#include "net/NetSession.h"
#include "program/GameWindow.h"
#include "race/RaceContext.h"
#include "sound/CdMusic.h"
#include "sound/SoundManager.h"

namespace
{
// Session-loop codes: what a visit of the menus asks the loop to do next.
constexpr uint32_t kRaceSession = 1;
constexpr uint32_t kQuitGame = 2;
constexpr uint32_t kEndGame = 1044;
constexpr uint32_t kResetAndShowMenu = 1045;

void PrepareWeekendWeather()
{
    g_menuState.SetU32At(MenuState::kSessionOffset, 0);
    const uint8_t chosen = g_menuState.U8At(MenuState::kWeatherOffset);
    for (size_t session = 0; session < MenuState::kSessionSlotCount; ++session)
    {
        g_menuState.SetU8At(MenuState::kSessionWeatherOffset + session, chosen);
    }
    RollWeatherConditions(g_menuState);
}

uint32_t NetworkRaceIndex()
{
    return g_menuState.U32At(MenuState::kNetworkRaceIndexOffset);
}

// The network circuit list has a race to run next: only in a session that still runs, and
// never past the list's end. Otherwise the list starts from its first race again.
bool NetworkRaceDue()
{
    const GameMode mode = g_gameMode;
    if (mode != GameMode::TestRide && mode != GameMode::Race && mode != GameMode::NetworkRace &&
        mode != GameMode::GhostRace)
    {
        return false;
    }
    const uint32_t index = NetworkRaceIndex();
    if (g_net.IsAborted() || !g_net.IsActive() || index >= MenuState::kNetworkRaces ||
        g_menuState.I8At(MenuState::kNetworkCircuitsOffset + index) < 0)
    {
        g_net.ClearAborted();
        g_menuState.SetU32At(MenuState::kNetworkRaceIndexOffset, 0);
        return false;
    }
    return index != 0;
}
}  // namespace

void GameWindow::RunSessionLoop()
{
    while (!IsQuitting())
    {
        if (g_demoEnded)
        {
            g_demoRace = false;
        }
        uint32_t code = kRaceSession;
        if (NetworkRaceDue())
        {
            if (g_soundEnabled.load(std::memory_order_relaxed))
            {
                g_soundManager.ReleaseMenuSounds();
            }
        }
        else
        {
            PrepareWeekendWeather();
            code = RunMainMenu();
        }
        g_demoEnded = false;

        if (!g_net.IsActive())
        {
            g_playerRider.store(g_menuState.U32At(MenuState::kPlayerRiderOffset),
                                std::memory_order_relaxed);
        }
        g_viewedRider = g_playerRider.load(std::memory_order_relaxed);
        SetCurrentCircuit(-1);

        switch (code)
        {
            case kRaceSession:
                if (g_gameMode == GameMode::NetworkRace && g_net.IsActive())
                {
                    RunNetworkRace();
                }
                else
                {
                    RunChosenSessions([this](const SessionStart& start)
                                      { return RunRaceSessionAndAgain(start); });
                }
                break;
            case kQuitGame:
            case kEndGame:
                return;
            case kResetAndShowMenu:
                ClearAllKeys();
                g_renderDevice.Reset();
                g_renderDevice.CleanUp();
                break;
            default:
                break;
        }
    }
}

bool GameWindow::RunRaceSessionAndAgain(const SessionStart& start)
{
    RunRaceSession(start);
    bool ran = race_.ran;
    // Race again: the session starts anew and goes straight to its grid. The request is used
    // up here, so that the race after it is scored and shown like any other.
    while (std::exchange(g_raceAgain, false) && !IsQuitting())
    {
        if (g_soundEnabled.load(std::memory_order_relaxed))
        {
            g_soundManager.ReleaseMenuSounds();
        }
        RunRaceSession(
            StartSession(g_raceContext, g_menuState, g_lastFrameMs, g_archiveData, g_archiveMenu));
        ran = race_.ran;
    }
    return ran;
}

void GameWindow::RunNetworkRace()
{
    const uint32_t index = NetworkRaceIndex();
    if (index == 0)
    {
        // A new session's series starts from an empty table and the riders' default set-ups.
        ClearChampionship(g_menuState);
        g_menuState.SetU32At(MenuState::kFieldMaskOffset, 0);
        g_raceContext.LoadDefaultBikeSetups(g_archiveMenu, g_bikeClass);
    }
    const SessionStart start =
        StartSession(g_raceContext, g_menuState, g_lastFrameMs, g_archiveData, g_archiveMenu);
    // What was pressed in the last race is no choice on the pre-race screen.
    ClearAllKeys();
    bool raced = false;
    if (start.lineRead && RunPreRaceScreen() == PreRaceScreen::kStartSession)
    {
        RunRaceSession(start);
        raced = race_.ran;
    }
    if (raced)
    {
        // The race's times and the series table; the time until the next race runs from here.
        ResetRaceClock(0);
        ShowSessionResults(*this);
    }
    // Every machine counts the same races: the next one is the list's next entry.
    const bool goesOn =
        raced && !g_net.IsAborted() && !IsQuitting() && !IsLastNetworkRace(g_menuState);
    if (goesOn)
    {
        g_menuState.SetU32At(MenuState::kNetworkRaceIndexOffset, index + 1);
        return;
    }
    // Backed out, the session ended under this machine, or the list is done: the host closes
    // the session, a client leaves it, and network play is off.
    netLink_.Race().EndSession();
    g_menuState.SetU32At(MenuState::kNetworkRaceIndexOffset, 0);
}

uint32_t GameWindow::RunMainMenu()
{
    if (IsQuitting() || g_net.IsAborted())
    {
        return kQuitGame;
    }
    // The menu opens on the network page; back from a race it shows the kind of session just
    // raced again, so that Go starts another of them.
    const GameMode racedMode = g_gameMode;
    const bool backFromRace = race_.ran;
    NetLobby lobby(g_net, netLink_);
    MainMenu menu(lobby, g_net);
    ResetRaceClock(0);
    g_pumpWatchdogMs.store(0, std::memory_order_relaxed);
    g_renderDevice.CleanUp();
    g_renderDevice.DisableFog();
    LoadMenuFonts();
    g_soundManager.LoadMenuSounds();
    // The frame clock picks among the menu's tracks.
    SelectMusicTrack(MusicSituation::Menu, g_lastFrameMs & 0xFF);
    if (menu.Enter())
    {
        if (backFromRace)
        {
            g_gameMode = racedMode;
        }
        while (!IsQuitting())
        {
            PumpMessages();
            StepFrameTime();
            const int32_t result = menu.Step(g_realFrameDt);
            if (result == MainMenu::kQuit)
            {
                RequestQuit();
            }
            else if (result == MainMenu::kSessionChosen)
            {
                return LeaveMainMenuToRace(menu);
            }
        }
    }
    else
    {
        // The player has been told what could not be loaded; without its menu the game ends.
        screenFailed_ = true;
    }
    return LeaveMainMenuToQuit(menu);
}

uint32_t GameWindow::LeaveMainMenuToRace(MainMenu& menu)
{
    menu.Leave();
    if (HasMenuFlag())
    {
        DestroyMenuFlag();
    }
    FreeMenuFonts();
    g_renderDevice.CleanUp();
    g_renderDevice.Reset();
    StartSessionCountdown();
    return kRaceSession;
}

uint32_t GameWindow::LeaveMainMenuToQuit(MainMenu& menu)
{
    menu.Leave();
    if (g_soundEnabled.load(std::memory_order_relaxed))
    {
        g_soundManager.ReleaseMenuSounds();
    }
    if (HasMenuFlag())
    {
        DestroyMenuFlag();
    }
    FreeMenuFonts();
    g_renderDevice.CleanUp();
    g_renderDevice.Reset();
    return kQuitGame;
}

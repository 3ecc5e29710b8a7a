#include "frontend/season/SeasonFlow.h"

#include <algorithm>

#include "app/archive/ArchiveSet.h"
#include "app/device/RenderDevice.h"
#include "app/game/CurrentRace.h"
#include "app/window/FrameTime.h"
#include "app/window/OutputWindow.h"
#include "core/util/RuntimeRandom.h"
#include "frontend/pitbox/PitBoxEntry.h"
#include "frontend/season/ChampionshipTable.h"
#include "frontend/season/CircuitStems.h"
#include "frontend/season/PreRaceScreen.h"
#include "frontend/season/SessionStart.h"
#include "frontend/season/SessionWeather.h"
#include "frontend/season/WeekendSessions.h"
#include "frontend/season/WeekendStart.h"
#include "frontend/toolkit/MenuFonts.h"
#include "frontend/toolkit/MenuTexts.h"
#include "race/RaceContext.h"
#include "setup/SetupScreenEntry.h"

namespace
{
bool IsWeekend(GameMode mode)
{
    return mode == GameMode::GrandPrix || mode == GameMode::Championship ||
           mode == GameMode::ChampionshipSeries;
}

bool IsGameQuitting()
{
    const OutputWindow* window = MainWindow();
    return window != nullptr && window->IsQuitting();
}

GameMode ChosenMode()
{
    return static_cast<GameMode>(g_menuState.U32At(MenuState::kGameModeOffset));
}

// The menu archive and fonts for a screen between sessions, given back when it is left.
class MenuScreenResources
{
public:
    MenuScreenResources()
    {
        g_renderDevice.SetArchive(g_archiveMenu);
        LoadMenuFonts();
    }
    ~MenuScreenResources()
    {
        FreeMenuFonts();
        g_renderDevice.CleanUp();
        g_renderDevice.Reset();
    }
    MenuScreenResources(const MenuScreenResources&) = delete;
    MenuScreenResources& operator=(const MenuScreenResources&) = delete;
};

// A weekend begins with the weather of its sessions.
void RollWeekendWeather()
{
    const size_t circuit = ToIndex(CircuitOrChosen(
        static_cast<int32_t>(g_menuState.U32At(MenuState::kCircuitOffset)), CircuitId::ShahAlam));
    RollSessionWeather(g_menuState, ChosenMode(), 0, circuit, CircuitTexts()[circuit].climate,
                       RuntimeRand);
}

// The ghost page until the player rides (with the chosen ghost or none) or leaves.
bool RunGhostPage(LoadedGhost& ghost)
{
    const MenuScreenResources resources;
    PitBoxMenu menu(GamePitBoxContext(ghost));
    const int32_t result = RunPitBoxPage(menu, PitBoxMenu::kGhostPage, SessionWords{});
    menu.Leave();
    return result == PitBoxMenu::kContinue;
}

// The ghost of a ghost race lives as long as the sessions run; the race object only borrows it.
class GhostOfSessions
{
public:
    ~GhostOfSessions() { ghost.Clear(g_race); }
    LoadedGhost ghost;
};

// The calendar names the player's rider, before the first session has loaded the class's riders
// and after a loaded championship may have changed the class.
void LoadClassRiders()
{
    g_bikeClass =
        static_cast<BikeClass>(std::min<uint32_t>(g_menuState.U32At(MenuState::kBikeClassOffset),
                                                  static_cast<uint32_t>(kBikeClassCount - 1)));
    g_raceContext.LoadRiderProfiles();
}

SessionMenuChoice RunCalendar(PitBoxMenu& menu)
{
    for (;;)
    {
        LoadClassRiders();
        const uint32_t session = g_menuState.U32At(MenuState::kSessionOffset);
        const SessionWords words = BetweenSessionWords(session);
        if (session == 0)
        {
            RollWeekendWeather();
        }
        const SessionMenuChoice choice =
            ChoiceOfCalendarResult(RunPitBoxPage(menu, PitBoxMenu::kCalendarPage, words));
        if (choice.action != SessionMenuAction::ShowAgain)
        {
            return choice;
        }
    }
}
}  // namespace

SessionMenuChoice ChoiceOfCalendarResult(int32_t result)
{
    constexpr int32_t kLastSessionButton = 6;
    switch (result)
    {
        case PitBoxMenu::kStay:
            return {.action = SessionMenuAction::Quit};
        case PitBoxMenu::kAbortWeekend:
            return {.action = SessionMenuAction::AbandonWeekend};
        case PitBoxMenu::kChampionshipLoaded:
            return {.action = SessionMenuAction::ShowAgain};
        default:
            break;
    }
    if (result >= 1 && result <= kLastSessionButton)
    {
        return {.action = SessionMenuAction::Ride, .session = static_cast<uint32_t>(result - 1)};
    }
    return {.action = SessionMenuAction::Ride, .session = 0};
}

bool RunSessionMenu(LoadedGhost& ghost)
{
    const GameMode mode = ChosenMode();
    if (mode == GameMode::GhostRace)
    {
        return RunGhostPage(ghost);
    }
    if (!IsWeekend(mode))
    {
        return true;
    }
    SessionMenuChoice choice;
    {
        const MenuScreenResources resources;
        PitBoxMenu menu(GamePitBoxContext(ghost));
        choice = RunCalendar(menu);
        menu.Leave();
    }
    switch (choice.action)
    {
        case SessionMenuAction::Ride:
            g_race.sessionsToSkip = choice.session;
            return true;
        case SessionMenuAction::AbandonWeekend:
            g_menuState.SetU32At(MenuState::kSessionOffset, 0);
            return false;
        default:
            return false;
    }
}

bool AdvanceAfterSession(MenuState& settings, GameMode mode)
{
    if (!IsWeekend(mode))
    {
        return false;
    }
    const uint32_t session = settings.U32At(MenuState::kSessionOffset);
    if (session < kRaceSession)
    {
        settings.SetU32At(MenuState::kSessionOffset, session + 1);
        return true;
    }
    if (mode == GameMode::GrandPrix)
    {
        settings.SetU32At(MenuState::kSessionOffset, 0);
        return false;
    }
    AdvanceChampionshipRound(settings);
    return settings.U32At(MenuState::kCircuitOffset) <= kLastChampionshipRound;
}

int32_t RunPreRaceScreen()
{
    const MenuScreenResources resources;
    int32_t result = PreRaceScreen::kBackToMenus;
    {
        const bool engineConditionsAfterwards =
            g_menuState.U8At(MenuState::kEngineTuningOffset) == 0;
        PreRaceScreen screen(CreatePlayerSetupScreen(g_language, engineConditionsAfterwards));
        screen.Enter();
        while (PumpMessages())
        {
            StepFrameTime();
            const int32_t step = screen.Step(g_realFrameDt);
            if (step != PreRaceScreen::kStay)
            {
                result = step;
                break;
            }
        }
        screen.Leave();
    }
    return result;
}

void RunChosenSessions(const RaceSessionRunner& raceSession)
{
    GhostOfSessions sessions;
    for (;;)
    {
        if (!RunSessionMenu(sessions.ghost))
        {
            return;
        }
        // A championship loaded in the pit box may have changed the mode.
        const GameMode mode = ChosenMode();
        const SessionStart start =
            StartSession(g_raceContext, g_menuState, g_lastFrameMs, g_archiveData, g_archiveMenu);
        if (!start.lineRead || RunPreRaceScreen() != PreRaceScreen::kStartSession ||
            !raceSession(start) || IsGameQuitting())
        {
            return;
        }
        if (!AdvanceAfterSession(g_menuState, mode))
        {
            return;
        }
    }
}

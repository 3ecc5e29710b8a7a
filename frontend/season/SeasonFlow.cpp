#include "frontend/season/SeasonFlow.h"

#include "app/archive/ArchiveSet.h"
#include "app/device/RenderDevice.h"
#include "app/game/CurrentRace.h"
#include "app/window/FrameTime.h"
#include "app/window/OutputWindow.h"
#include "frontend/season/ChampionshipTable.h"
#include "frontend/season/PreRaceScreen.h"
#include "frontend/season/SessionStart.h"
#include "frontend/season/WeekendSessions.h"
#include "frontend/season/WeekendStart.h"
#include "frontend/toolkit/MenuFonts.h"
#include "race/RaceContext.h"
#include "setup/SetupScreenEntry.h"

namespace
{
bool IsWeekend(GameMode mode)
{
    return mode == GameMode::GrandPrix || mode == GameMode::Championship ||
           mode == GameMode::ChampionshipSeries;
}
}  // namespace

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
    g_renderDevice.SetArchive(g_archiveMenu);
    LoadMenuFonts();
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
    FreeMenuFonts();
    g_renderDevice.CleanUp();
    g_renderDevice.Reset();
    return result;
}

void RunChosenSessions(const RaceSessionRunner& raceSession)
{
    for (;;)
    {
        const GameMode mode = static_cast<GameMode>(g_menuState.U32At(MenuState::kGameModeOffset));
        if (IsWeekend(mode))
        {
            g_race.sessionsToSkip = kRaceSession;
        }
        StartSession(g_raceContext, g_menuState, g_lastFrameMs, g_archiveData);
        if (RunPreRaceScreen() != PreRaceScreen::kStartSession || !raceSession())
        {
            return;
        }
        if (!AdvanceAfterSession(g_menuState, mode))
        {
            return;
        }
    }
}

#include "frontend/pitbox/PitBoxResults.h"

#include "app/archive/ArchiveSet.h"
#include "app/config/ConfigFile.h"
#include "app/device/RenderDevice.h"
#include "app/game/CurrentRace.h"
#include "app/settings/MenuState.h"
#include "app/window/FrameTime.h"
#include "app/window/OutputWindow.h"
#include "frontend/SessionChoices.h"
#include "frontend/pitbox/PitBoxEntry.h"
#include "frontend/season/ChampionshipTable.h"
#include "frontend/toolkit/MenuFonts.h"
#include "net/NetSession.h"
#include "race/RaceContext.h"
#include "sound/CdMusic.h"
#include "sound/MoviePlayer.h"
#include "sound/SoundManager.h"

namespace
{
constexpr uint32_t kRaceSessionNumber = 5;
constexpr const char* kChampionshipWonMovie = "Movies/wm_won.mpg";

bool StillRunning(const OutputWindow& window)
{
    return !window.IsQuitting() && !g_net.IsAborted();
}

void RunResultPages(OutputWindow& window, const SessionResultPages& plan, const SessionWords& words)
{
    LoadedGhost ghost;
    PitBoxMenu menu(GamePitBoxContext(ghost));
    for (size_t index = 0; index < plan.pages.size() && StillRunning(window); ++index)
    {
        const int32_t page = plan.pages[index];
        if (page == PitBoxMenu::kPointsPage && plan.titleMovie)
        {
            // The movie takes the screen: the menu gives its scene up first and builds it
            // again for the points.
            menu.Leave();
            PlayMovie(kChampionshipWonMovie, window,
                      g_config.U8At(ConfigBlock::kDisplayOptionOffset) != 0);
            if (!StillRunning(window))
            {
                break;
            }
        }
        if (RunPitBoxPage(menu, page, words) == PitBoxMenu::kQuitRace)
        {
            g_raceAgain = true;
        }
    }
    menu.Leave();
}
}  // namespace

SessionResultPages ResultPagesOf(GameMode mode, uint32_t session, bool playerClassified,
                                 bool championshipWon)
{
    const std::vector<int32_t> times = {PitBoxMenu::kTimesPage};
    switch (mode)
    {
        case GameMode::Race:
            return {.pages = playerClassified ? times : std::vector<int32_t>{}};
        case GameMode::GrandPrix:
            return {.pages = session <= kRaceSessionNumber ? times : std::vector<int32_t>{}};
        case GameMode::Championship:
        case GameMode::ChampionshipSeries:
            if (session == kRaceSessionNumber)
            {
                return {.pages = {PitBoxMenu::kTimesPage, PitBoxMenu::kPointsPage},
                        .titleMovie = championshipWon};
            }
            return {.pages = session < kRaceSessionNumber ? times : std::vector<int32_t>{}};
        case GameMode::NetworkRace:
            return {.pages = {PitBoxMenu::kTimesPage, PitBoxMenu::kSeriesPage}};
        default:
            return {};
    }
}

void ShowSessionResults(OutputWindow& window)
{
    if (g_demoRace || g_raceAgain || !StillRunning(window))
    {
        return;
    }
    StartSessionCountdown();
    const GameMode mode = g_gameMode;
    const uint32_t session = g_menuState.U32At(MenuState::kSessionOffset);
    const uint32_t player = g_playerRider.load(std::memory_order_relaxed) % kRiderCount;
    const SessionResultPages plan =
        ResultPagesOf(mode, session, g_standings.sessionRanks[player] >= 0, IsChampionshipWon());
    if (plan.pages.empty())
    {
        return;
    }
    const bool sound = g_soundEnabled.load(std::memory_order_relaxed);
    g_renderDevice.SetArchive(g_archiveMenu);
    LoadMenuFonts();
    if (sound)
    {
        g_soundManager.LoadMenuSounds();
    }
    SelectMusicTrack(MusicSituation::RaceMenu, g_lastFrameMs & 0xFF);
    RunResultPages(window, plan, InRaceWords(mode, session));
    if (sound)
    {
        g_soundManager.ReleaseMenuSounds();
    }
    FreeMenuFonts();
    g_renderDevice.CleanUp();
    g_renderDevice.Reset();
}

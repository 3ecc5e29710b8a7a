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

bool ShowsResults(GameMode mode, uint32_t session, bool playerClassified)
{
    switch (mode)
    {
        case GameMode::Race:
            return playerClassified;
        case GameMode::GrandPrix:
        case GameMode::Championship:
        case GameMode::ChampionshipSeries:
            return session <= kRaceSessionNumber;
        case GameMode::NetworkRace:
            return true;
        default:
            return false;
    }
}

bool StillRunning(const OutputWindow& window)
{
    return !window.IsQuitting() && !g_net.IsAborted();
}

void RunResultPage(PitBoxMenu& menu, int32_t page, const SessionWords& words)
{
    if (RunPitBoxPage(menu, page, words) == PitBoxMenu::kQuitRace)
    {
        g_raceAgain = true;
    }
}

void RunResultPages(OutputWindow& window, GameMode mode, uint32_t session)
{
    LoadedGhost ghost;
    PitBoxMenu menu(GamePitBoxContext(ghost));
    const SessionWords words = InRaceWords(mode, session);
    RunResultPage(menu, PitBoxMenu::kTimesPage, words);
    if (mode == GameMode::NetworkRace && StillRunning(window))
    {
        RunResultPage(menu, PitBoxMenu::kSeriesPage, words);
    }
    const bool championshipRace =
        (mode == GameMode::Championship || mode == GameMode::ChampionshipSeries) &&
        session == kRaceSessionNumber;
    if (championshipRace && StillRunning(window))
    {
        if (IsChampionshipWon())
        {
            // The movie takes the screen: the menu gives its scene up first and builds it
            // again for the points.
            menu.Leave();
            PlayMovie(kChampionshipWonMovie, window,
                      g_config.U8At(ConfigBlock::kDisplayOptionOffset) != 0);
        }
        if (StillRunning(window))
        {
            RunResultPage(menu, PitBoxMenu::kPointsPage, words);
        }
    }
    menu.Leave();
}
}  // namespace

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
    if (!ShowsResults(mode, session, g_standings.sessionRanks[player] >= 0))
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
    RunResultPages(window, mode, session);
    if (sound)
    {
        g_soundManager.ReleaseMenuSounds();
    }
    FreeMenuFonts();
    g_renderDevice.CleanUp();
    g_renderDevice.Reset();
}

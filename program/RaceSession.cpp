// The race branch of the session loop: the started session's race is set up, its content
// loaded, the race run and everything of it unloaded again; only a race that ran is scored.

#include <algorithm>
#include <cstddef>
#include <span>

#include "app/archive/ArchiveSet.h"
#include "app/clock/RaceClock.h"
#include "app/config/ConfigFile.h"
#include "app/config/RaceScreenMode.h"
#include "app/device/RenderDevice.h"
#include "app/game/CurrentRace.h"
#include "app/input/KeyState.h"
#include "app/settings/MenuState.h"
#include "content/RaceContent.h"
#include "frontend/pitbox/PitBoxResults.h"
#include "frontend/season/FinishedSession.h"
#include "frontend/season/SessionOptions.h"
#include "frontend/season/SessionStart.h"
#include "frontend/season/WeekendStart.h"
#include "net/NetSession.h"
#include "program/GameRaceHooks.h"
#include "program/GameWindow.h"
#include "race/PlayerInputState.h"
#include "race/RaceContext.h"
#include "sound/MoviePlayer.h"
#include "sound/SoundManager.h"
#include "view/camera/RaceCamera.h"
#include "view/pit/PitStopSequence.h"
#include "view/race/MarshalFlags.h"
#include "view/rider/RiderMotionSet.h"

namespace
{
// Race status of a rider that is not in a network race.
constexpr uint32_t kNotInNetworkRace = 7;
// The weekend's sessions up to the warm-up; the race comes after them.
constexpr uint32_t kLastPracticeSession = 4;
constexpr const char* kRaceWonMovie = "Movies/racewon.mpg";

// The words the physics reset keeps for the session start (up to the race status and flags it
// sets) would otherwise carry the last race's line nodes, grip reserves, pace and rider bits
// into this one: every race starts from them cleared, as the first of the run does.
void ClearLastRaceWords(BikeRecord& bike)
{
    auto* bytes = reinterpret_cast<std::byte*>(&bike);
    std::fill(bytes + offsetof(BikeRecord, aiTargetNode), bytes + offsetof(BikeRecord, raceStatus),
              std::byte{0});
}

uint32_t GhostRider(uint32_t player)
{
    return player == 0 ? 1 : 0;
}

// The riders the session start let take part, with its kind and laps, into the race object
// and the standings; a timed session ends when its time is up.
void EnterField(RaceContext& race, const SessionStart& start, uint32_t player)
{
    StandingsSession session;
    session.isRace = start.isRace;
    session.isQualifying = start.isQualifying;
    session.isGhostSession = start.withGhost;
    session.isNetwork = race.current.gameMode == GameMode::NetworkRace;
    session.lapLimit = !start.isRace;
    session.laps = race.race.totalLaps;
    session.language = static_cast<uint32_t>(g_language);
    session.playerRider = player;
    session.viewedRider = player;
    session.isObservation = race.current.observationMode != 0;
    const uint32_t riders = std::min<uint32_t>(race.current.riderCount, kRiderCount);
    session.riderCount = static_cast<uint16_t>(riders);
    race.race.riderCount = static_cast<uint16_t>(riders);
    race.race.inRace.fill(0);
    for (uint32_t rider = 0; rider < riders; ++rider)
    {
        const uint32_t status = race.bikes[rider].raceStatus;
        const bool takesPart = status != kStatusNotTakingPart && status != kNotInNetworkRace;
        race.race.inRace[rider] = takesPart ? 1 : 0;
        session.inRace[rider] = takesPart ? 1 : 0;
    }
    race.standings.ResetForRace(session);
    race.standings.sessionEndTime =
        start.isRace ? RaceStandings::kNoSessionEnd : start.sessionSeconds;
}
}  // namespace

bool GameWindow::PrepareRaceSession(const SessionStart& start)
{
    RaceContext& race = g_raceContext;
    const uint32_t player = g_playerRider.load(std::memory_order_relaxed) % kRiderCount;
    race.current.viewedRider = player;
    const bool network = g_net.IsActive();
    // A network race's set-ups are loaded once the host's line-up has set its field.
    if (!start.lineRead || !(network || start.setupsRead) || race.race.startSlots.count == 0)
    {
        return false;
    }
    EnterField(race, start, player);
    race_.isRaceSession = start.isRace;
    race_.standingStart = start.isRace;
    if (network)
    {
        // The host's line-up decides the field, its chance table and set-ups.
        return netLink_.Race().LineUp(race, player);
    }
    g_net.ResetInputRings();
    return true;
}

void GameWindow::RunRaceSession(const SessionStart& start)
{
    race_ = RaceLoopState{};
    g_renderDevice.SetArchive(g_archiveMenu);
    g_renderDevice.DisableFog();
    ClearAllKeys();
    ResetRaceClock(0);
    if (IsQuitting() || !PrepareRaceSession(start))
    {
        return;
    }
    for (BikeRecord& bike : g_bikes)
    {
        ClearLastRaceWords(bike);
    }
    const SessionOptions options =
        g_net.IsActive() ? TakeNetworkRaceOptions(g_menuState, start.options) : start.options;
    inputStep_.SetAutoCentre(options.autoCentre);
    // The machines' power curves are made as the race loads.
    g_raceContext.current.engineConditions = options.race.engineConditions ? 1 : 0;
    GameRaceHooks hooks(raceSim_, start_, g_raceCamera, start.isRace, start.flyingStart);
    g_raceAgain = false;
    if (g_raceContent.Load(RaceContentOptions::FromSettings(g_menuState), hooks))
    {
        const RaceScene& scene = g_raceContent.Scene();
        const uint32_t player = g_playerRider.load(std::memory_order_relaxed);
        raceSim_.ResetForRace();
        RaceParameters parameters = scene.parameters;
        static_cast<SessionSwitches&>(parameters) = options.race;
        raceSim_.SetParameters(parameters);
        raceSim_.SetGround(scene.ground ? &*scene.ground : nullptr);
        raceSim_.SetRacingLine(&g_race);
        raceSim_.SetRandomTable(g_randomTable.words);
        raceSim_.SetRace(&g_raceContext);
        raceSim_.SetInputRing(player, &g_net.InputRingOf(player));
        raceSim_.SetLockstep(nullptr);
        hudScreens_.SetNetRiders(0);
        if (g_net.IsActive())
        {
            netLink_.Race().Attach(raceSim_);
            hudScreens_.SetNetRiders(netLink_.Race().OtherPlayers());
        }
        raceSim_.SetPlayerRider(player);
        raceSim_.SetPlayerInputState(&g_playerInputState);
        // The ghost rides in the slot beside the player's, played back from its lap.
        LapRecord* const ghost = start.withGhost ? g_race.ghostRecord : nullptr;
        raceSim_.SetGhostRider(ghost != nullptr ? GhostRider(player) : RaceSim::kNoRider);
        g_standings.SetGhost(ghost);
        if (ghost != nullptr)
        {
            ghost->RestartGhost(true);
        }
        RiderAnimation animation(g_renderDevice, g_riderMotionSet, g_bikes);
        animation.SetGround(scene.ground ? &*scene.ground : nullptr);
        animation.SetChannels(&raceSim_.Channels());
        animation.SetPlayerRider(player);
        animation.SetSharedFigure(scene.crewStage.sharedFigure);
        GameRiderFallServices fallServices(g_raceContext, g_raceCamera);
        animation.SetServices(&fallServices);
        particles_.Attach(scene.smokeClouds, scene.effects);
        effectMeshes_.Attach(std::span(g_bikes).first(std::min<size_t>(g_riderCount, kRiderCount)));
        GameRaceServices services(animation, particles_, g_raceCamera, race_.menuRequest);
        raceSim_.SetServices(&services);
        g_raceCamera.SetViewNode(scene.root);
        g_raceCamera.SetRiderPicturesHook([this] { UploadRiderPortraits(); });
        UploadRiderPortraits();
        g_renderDevice.EnableFog();
        riderAnimation_ = &animation;
        RunRace();
        riderAnimation_ = nullptr;
        raceSim_.SetServices(nullptr);
    }
    UnloadRace();
    g_renderDevice.Reset();
    g_renderDevice.CleanUp();
    if (g_net.IsActive())
    {
        race_.ran = netLink_.Race().ScoreRace(race_.ran);
        return;
    }
    if (race_.ran)
    {
        ScoreFinishedRace();
        CelebrateWonRace();
        ResetRaceClock(0);
        ShowSessionResults(*this);
    }
}

void GameWindow::CelebrateWonRace()
{
    const GameMode mode = g_gameMode;
    const bool weekend = mode == GameMode::GrandPrix || mode == GameMode::Championship ||
                         mode == GameMode::ChampionshipSeries;
    const uint32_t player = g_playerRider.load(std::memory_order_relaxed) % kRiderCount;
    if (g_net.IsActive() || !weekend || g_demoRace ||
        g_menuState.U32At(MenuState::kSessionOffset) <= kLastPracticeSession ||
        g_standings.gridOrder[player] != 1)
    {
        return;
    }
    PlayMovie(kRaceWonMovie, *this, g_config.U8At(ConfigBlock::kDisplayOptionOffset) != 0);
}

void GameWindow::UnloadRace()
{
    g_demoEnded = true;
    g_renderDevice.SwitchScreenMode(&g_displayMode);
    g_marshalFlags.Free();
    g_clockRate.store(1, std::memory_order_relaxed);
    FreePitStopSequences();
    screens_->FreeTextures();
    for (MotionFile& clip : g_riderMotionSet)
    {
        clip.Clear();
    }
    if (g_soundEnabled.load(std::memory_order_relaxed))
    {
        g_soundManager.ReleaseRaceSounds();
    }
    g_raceCamera.SetViewNode(nullptr);
    g_raceCamera.SetRiderPicturesHook(nullptr);
    particles_.Detach();
    effectMeshes_.Detach();
    g_raceContent.Unload();
    g_renderDevice.FreeWorld();
}

// The race loop and its frame: the start sequence, Esc and the pause menu, pause, the
// function keys, the simulation's steps, the channels' interpolation, poses and pit crews,
// the camera and the cockpit, drawn frame by frame until the race is over.

#include <algorithm>
#include <array>
#include <cmath>
#include <span>

#include "app/archive/ArchiveSet.h"
#include "app/clock/RaceClock.h"
#include "app/config/RaceScreenMode.h"
#include "app/device/RenderDevice.h"
#include "app/game/CurrentRace.h"
#include "app/game/RiderLiveries.h"
#include "app/input/KeyState.h"
#include "app/settings/MenuState.h"
#include "app/window/FrameTime.h"
#include "content/FieldTables.h"
#include "content/RaceContent.h"
#include "core/world/WorldObject.h"
#include "net/NetSession.h"
#include "platform/VirtualKeys.h"
#include "program/GameWindow.h"
#include "race/RaceContext.h"
#include "race/SimMath.h"
#include "sound/CdMusic.h"
#include "sound/SoundManager.h"
#include "view/camera/RaceCamera.h"
#include "view/pit/PitCrewScene.h"
#include "view/race/FunctionKeys.h"
#include "view/race/GroundQuads.h"
#include "view/race/LensFlare.h"
#include "view/race/MarshalFlags.h"

namespace
{
constexpr float kNearDistance = 0.11f;
constexpr float kOutViewSeconds = 7.0f;
constexpr uint32_t kStepMs = 40;
// Texture numbers of the cockpit's temperature digits and its shift light.
constexpr uint32_t kTemperatureDigits = 1160;
constexpr size_t kTensSlot = 15;
constexpr size_t kUnitsSlot = 16;
constexpr size_t kShiftLightSlot = 17;
// The weekend's session that is the warm-up before its race.
constexpr uint32_t kWarmUpSession = 4;
constexpr uint32_t kRaceSessionNumber = 5;
constexpr uint32_t kShiftLightOff = 1180;
constexpr uint32_t kShiftLightOn = 1181;

bool Pressed(uint8_t key)
{
    return (ReadKey(key) & kKeyPressed) != 0;
}

void SwitchToRaceScreen()
{
    g_renderDevice.SwitchScreenMode(&g_raceScreenMode);
}
}  // namespace

void GameWindow::RunRace()
{
    g_clockHold.store(true, std::memory_order_relaxed);
    race_.menuRequest = false;
    race_.escapeBeforeStart = false;
    race_.ran = true;
    g_raceClockOn.store(true, std::memory_order_relaxed);

    SwitchToRaceScreen();
    g_renderDevice.SetViewport(
        0, 0, static_cast<int32_t>(g_raceScreenMode.width),
        static_cast<int32_t>(g_raceScreenMode.height), kNearDistance,
        static_cast<float>(g_menuState.U32At(MenuState::kViewDistanceOffset)));
    ClearKey(vk::Escape);
    ClearKey(vk::RightButton);
    // The race screens load their pictures at their first reset: the loading archives stay open
    // until then.
    screens_->SetFeed(ScreenFeed());
    screens_->ResetForRace(g_riderCount);
    EndLoading();
    race_.startRestarted = false;
    if (g_demoRace)
    {
        race_.standingStart = false;
    }
    ResetRaceClock(0);
    ClearAllKeys();
    if (g_net.IsActive() && !netLink_.Race().Start())
    {
        // A race the machines cannot start together is not raced, nor scored.
        race_.ran = false;
        g_raceClockOn.store(false, std::memory_order_relaxed);
        return;
    }

    SelectMusicTrack(MusicSituation::Race, g_lastFrameMs & 0xFF);
    g_pumpWatchdogMs.store(0, std::memory_order_relaxed);
    g_frameClockMs.store(g_raceClockMs.load(std::memory_order_relaxed), std::memory_order_relaxed);
    g_lastFrameMs = g_timerMs.load(std::memory_order_relaxed);

    while (!IsQuitting() && !race_.raceOver && !NetworkRaceEnded())
    {
        const uint32_t frameStartMs = g_timerMs.load(std::memory_order_relaxed);
        PumpMessages();
        g_pumpWatchdogMs.store(0, std::memory_order_relaxed);
        if (race_.menuRequest)
        {
            race_.resumeAsRider = !race_.isRaceSession;
            OpenRaceMenu();
        }
        StepFrameTime();
        screens_->SetFeed(ScreenFeed());
        if (race_.menuOpen)
        {
            if (raceMenu_->IsHidden() && Pressed(vk::Escape))
            {
                ClearKey(vk::Escape);
                raceMenu_->ShowAgain();
            }
            const uint32_t choice = raceMenu_->Frame(g_realFrameDt);
            if (choice == InRaceMenu::kLeaveRace || choice == InRaceMenu::kRaceAgain)
            {
                // The session is over for the result pages too.
                g_standings.sessionOver = 1;
            }
            if (choice == InRaceMenu::kLeaveRace)
            {
                race_.playerClassified =
                    g_standings.sessionRanks[g_playerRider.load(std::memory_order_relaxed) %
                                             kRiderCount] >= 0;
                race_.drawScene = false;
                race_.raceOver = true;
            }
            else if (choice == InRaceMenu::kRaceAgain)
            {
                g_raceAgain = true;
                race_.drawScene = false;
                race_.raceOver = true;
            }
            else if (choice != InRaceMenu::kStillOpen)
            {
                race_.drawScene = true;
                if (race_.resumeAsRider)
                {
                    TakeOverPlayerRider(true);
                }
            }
            if (choice != InRaceMenu::kStillOpen)
            {
                UpdateRaceMenu();
            }
            else if (!raceMenu_->IsHidden())
            {
                race_.drawScene = false;
            }
            else if (!race_.drawScene)
            {
                g_raceCamera.Update(g_frameDt);
                ClearKey(vk::LeftButton);
                ClearKey(vk::RightButton);
                race_.drawScene = true;
            }
        }
        if (g_raceClockOn.load(std::memory_order_relaxed))
        {
            // A network race never pauses: the other machines would wait for this one.
            if ((Pressed(vk::Pause) || Pressed(vk::Letter('P'))) && !g_net.IsActive())
            {
                ClearKey(vk::Pause);
                ClearKey(vk::Letter('P'));
                const bool pause = !g_racePaused.load(std::memory_order_relaxed);
                g_soundManager.HoldMixing(pause);
                g_racePaused.store(pause, std::memory_order_relaxed);
            }
            const bool paused = g_racePaused.load(std::memory_order_relaxed);
            if (race_.drawScene)
            {
                SwitchToRaceScreen();
            }
            if (g_renderDevice.BeginDraw() != 0)
            {
                if (race_.drawScene)
                {
                    g_renderDevice.DrawScene(0);
                    g_marshalFlags.Draw(g_realFrameDt);
                    if (g_soundManager.IsEnabled())
                    {
                        g_soundManager.UpdateEngineSounds(
                            soundFrame_.Gather(g_bikes, g_raceCamera, g_viewedRider,
                                               g_playerRider.load(std::memory_order_relaxed),
                                               g_raceClockMs.load(std::memory_order_relaxed)));
                    }
                    IdleFrame();
                }
                if (!paused)
                {
                    g_renderDevice.SetClipRect(0, 0, g_renderDevice.ScreenWidth(),
                                               g_renderDevice.ScreenHeight());
                    if (UpdateRaceFrame() == 0)
                    {
                        g_renderDevice.EndDraw();
                        break;
                    }
                }
                if (race_.drawScene)
                {
                    g_renderDevice.Flip();
                }
                g_renderDevice.EndDraw();
            }
            else if (!paused && UpdateRaceFrame() == 0)
            {
                break;
            }
        }
        const uint32_t frameMs =
            std::max<uint32_t>(g_timerMs.load(std::memory_order_relaxed) - frameStartMs, 1);
        race_.framesPerSecond = 1.0f / (static_cast<float>(frameMs) / 1000.0f);
    }
    if (race_.menuOpen)
    {
        UpdateRaceMenu();
    }
    g_raceClockOn.store(false, std::memory_order_relaxed);
}

int32_t GameWindow::IdleFrame()
{
    DrawLensFlare(g_renderDevice, g_raceContent.Scene().sun);
    if (g_racePaused.load(std::memory_order_relaxed))
    {
        screens_->DrawPaused();
    }
    else
    {
        screens_->DrawPanels();
    }
    if (g_net.IsActive())
    {
        screens_->DrawNetPlayerNames();
    }
    return 1;
}

uint32_t GameWindow::UpdateRaceFrame()
{
    uint32_t goOn = 1;
    g_renderDevice.SetClipRect(0, 0, g_renderDevice.ScreenWidth(), g_renderDevice.ScreenHeight());
    UpdateStart();
    if (Pressed(vk::Escape))
    {
        ClearKey(vk::Escape);
        HandleEscape();
    }
    if (Observing() || g_observationMode != 0)
    {
        PageObservedRider();
    }
    if (race_.escapeBeforeStart && !race_.startRestarted)
    {
        g_raceStartTick.store(
            g_ticksDone.load(std::memory_order_relaxed) + StartSequence::kProcedureSteps,
            std::memory_order_relaxed);
        start_.Restart();
        race_.startRestarted = true;
        g_raceCamera.RestoreChosenView();
    }
    if (!g_waitingForStart.load(std::memory_order_relaxed))
    {
        bool autoCentre = inputStep_.AutoCentre();
        FunctionKeyContext keys{
            g_bikes[g_playerRider.load(std::memory_order_relaxed) % kRiderCount],
            g_menuState,
            g_raceCamera,
            g_difficulty,
            g_net.IsActive(),
            g_demoRace,
            Observing() || g_observationMode != 0,
            joystickOption_,
            autoCentre,
            g_raceContent.Scene().idealLine,
            g_frameDt};
        HandleFunctionKeys(keys);
        inputStep_.SetAutoCentre(keys.autoCentre);
    }
    RunSimulationSteps();
    const uint32_t frameClock = g_frameClockMs.load(std::memory_order_relaxed);
    InterpolateChannels(raceSim_.Channels(),
                        static_cast<float>(frameClock % kStepMs) / static_cast<float>(kStepMs));
    UpdateBikeEffects();
    if (!screens_->DrawRaceScreens())
    {
        goOn = 0;
    }
    g_raceContent.RiderPoses().Update(g_bikes, g_riderCount, g_frameDt, raceSim_.GhostRider());
    for (PitCrewScene& crew : g_pitCrewScenes)
    {
        crew.Update(g_frameDt);
    }
    if (race_.drawScene)
    {
        g_raceCamera.lookBack = g_lookBack.load(std::memory_order_relaxed);
        g_raceCamera.Update(g_frameDt);
        g_renderDevice.SetFieldOfView(g_raceCamera.zoom, 1.0f);
        const std::span<const BikeRecord> field =
            std::span(g_bikes).first(std::min<size_t>(g_riderCount, kRiderCount));
        UpdateGroundQuads(field);
        effectMeshes_.Update(field, raceSim_.Parameters().weather,
                             raceSim_.Parameters().detailEffects, raceSim_.GhostRider());
        particles_.Update(g_frameDt);
        UpdateCockpit();
    }
    race_.raceOver = race_.raceOver || g_standings.sessionOver != 0;
    return goOn;
}

bool GameWindow::NetworkRaceEnded()
{
    // The host's result or the session's end stop the race once it has run as far as the
    // inputs that came allow, so that every step the host ran is run here too.
    return g_net.IsActive() && (g_net.IsAborted() || netLink_.Race().ResultArrived()) &&
           g_clockHold.load(std::memory_order_relaxed);
}

bool GameWindow::Observing() const
{
    return race_.menuOpen && raceMenu_->IsHidden();
}

RaceScreenFeed GameWindow::ScreenFeed() const
{
    const GameMode mode = g_gameMode;
    const bool weekend = mode == GameMode::GrandPrix || mode == GameMode::Championship ||
                         mode == GameMode::ChampionshipSeries;
    return {.topBar = g_menuState.U8At(MenuState::kTransparencyOffset) == 0,
            .warmUp = weekend && g_menuState.U32At(MenuState::kSessionOffset) == kWarmUpSession,
            .observing = Observing() || g_observationMode != 0};
}

void GameWindow::PageObservedRider()
{
    // The buttons as they are now: reading them through the key table would take a single
    // click's press before the paging below sees it. Both end only the put-away pit box; an
    // observation race is watched to its end.
    Platform& platform = CurrentPlatform();
    if (Observing() && platform.IsKeyDown(vk::LeftButton) && platform.IsKeyDown(vk::RightButton))
    {
        raceMenu_->ShowAgain();
        return;
    }
    if (Pressed(vk::LeftButton))
    {
        ClearKey(vk::LeftButton);
        g_raceCamera.ViewPreviousRider();
    }
    if (Pressed(vk::RightButton))
    {
        ClearKey(vk::RightButton);
        g_raceCamera.ViewNextRider();
    }
}

void GameWindow::UpdateStart()
{
    const StartSequence::Moments moments =
        start_.Update(g_ticksDone.load(std::memory_order_relaxed),
                      g_raceStartTick.load(std::memory_order_relaxed), race_.standingStart,
                      g_waitingForStart.load(std::memory_order_relaxed), g_frameDt);
    g_raceCamera.startClock = start_.preStartClock - 4.0f;
    if (moments.restoreView)
    {
        g_raceCamera.RestoreChosenView();
    }
    if (moments.startSound && g_soundEnabled.load(std::memory_order_relaxed))
    {
        g_soundManager.UpdateFrame();
    }
    if (moments.started)
    {
        if (!race_.standingStart)
        {
            g_raceStartTick.store(g_ticksDone.load(std::memory_order_relaxed) + 1,
                                  std::memory_order_relaxed);
        }
        g_waitingForStart.store(false, std::memory_order_relaxed);
    }
}

void GameWindow::RunSimulationSteps()
{
    RaceClockWords clock;
    clock.frameClockMs = g_frameClockMs.load(std::memory_order_relaxed);
    clock.raceClockMs = g_raceClockMs.load(std::memory_order_relaxed);
    clock.inputTick = g_inputTick.load(std::memory_order_relaxed);
    clock.raceStartTick = g_raceStartTick.load(std::memory_order_relaxed);
    clock.startLightsBegun = start_.lightState > 0;
    // In a network race the input steps are the session's: the first step's clock jump
    // would skip the machine's own input frame, for which every machine then waits.
    const bool first = raceSim_.TicksDone() == 0 && !g_net.IsActive();
    if (g_net.IsActive())
    {
        netLink_.Race().ApplyRetirements(g_raceContext);
    }
    raceSim_.SetViewedRider(g_viewedRider);
    raceSim_.SetCameraMode(static_cast<uint32_t>(g_raceCamera.mode));
    raceSim_.Tick(g_bikes, g_riderCount, g_difficulty, static_cast<uint32_t>(g_bikeClass), clock);
    if (first)
    {
        // The first step moves the clocks on by itself.
        const std::lock_guard lock(g_raceClockMutex);
        g_raceClockMs.store(clock.raceClockMs, std::memory_order_relaxed);
        g_inputTick.store(clock.inputTick, std::memory_order_relaxed);
        g_frameClockMs.store(clock.frameClockMs, std::memory_order_relaxed);
    }
    g_ticksDone.store(raceSim_.TicksDone(), std::memory_order_relaxed);
}

void GameWindow::HandleEscape()
{
    if (race_.menuOpen)
    {
        return;
    }
    if (g_net.IsActive())
    {
        // A network race neither restarts its start nor waits: the first Esc takes the
        // player's rider out of it on every machine, and the player watches the race go on;
        // the next opens the menu, to leave it.
        if (netLink_.Race().OwnRiderRetired())
        {
            race_.menuRequest = true;
        }
        netLink_.Race().RetireOwnRider();
        return;
    }
    const auto relative = static_cast<int32_t>(g_ticksDone.load(std::memory_order_relaxed) -
                                               g_raceStartTick.load(std::memory_order_relaxed));
    if (relative < 0 && race_.standingStart)
    {
        if (!race_.startRestarted)
        {
            race_.escapeBeforeStart = true;
        }
        return;
    }
    if (g_demoRace)
    {
        race_.raceOver = true;
        g_demoEnded = true;
        return;
    }
    if (!race_.isRaceSession)
    {
        TakeOverPlayerRider(false);
    }
    const GameMode mode = g_gameMode;
    race_.resumeAsRider =
        mode == GameMode::TestRide || mode == GameMode::GhostRace || !race_.isRaceSession;
    race_.menuRequest = true;
}

void GameWindow::OpenRaceMenu()
{
    race_.menuRequest = false;
    // A menu that cannot be made leaves the race running, its clock and sounds untouched.
    if (race_.menuOpen || !raceMenu_->Open())
    {
        return;
    }
    if (MenuStopsRaceClock())
    {
        StopRaceClock(true);
    }
    if (g_soundEnabled.load(std::memory_order_relaxed))
    {
        g_soundManager.ReleaseRaceSounds();
        g_soundManager.LoadMenuSounds();
    }
    race_.menuOpen = true;
    SelectMusicTrack(MusicSituation::RaceMenu, g_lastFrameMs & 0xFF);
    race_.drawScene = false;
}

bool GameWindow::MenuStopsRaceClock() const
{
    switch (g_gameMode)
    {
        case GameMode::TestRide:
        case GameMode::Race:
        case GameMode::GhostRace:
            return true;
        case GameMode::GrandPrix:
        case GameMode::Championship:
        case GameMode::ChampionshipSeries:
            return g_menuState.U32At(MenuState::kSessionOffset) == kRaceSessionNumber;
        default:
            return false;
    }
}

void GameWindow::UpdateRaceMenu()
{
    if (race_.menuOpen)
    {
        raceMenu_->Close();
        race_.menuOpen = false;
        race_.menuRequest = false;
    }
    if (!race_.raceOver)
    {
        if (g_soundEnabled.load(std::memory_order_relaxed))
        {
            g_soundManager.ReleaseMenuSounds();
            g_soundManager.LoadRaceSounds();
        }
        SelectMusicTrack(MusicSituation::Race, g_lastFrameMs & 0xFF);
        g_renderDevice.SetArchive(g_archiveMenu);
        ResumePlayerRider();
    }
    // The race takes its time up again from here, however the menu was left.
    StopRaceClock(false);
    ClearKey(vk::Escape);
    ClearKey(vk::LeftButton);
    ClearKey(vk::RightButton);
}

void GameWindow::ResumePlayerRider()
{
    const uint32_t player = g_playerRider.load(std::memory_order_relaxed) % kRiderCount;
    BikeRecord& bike = g_bikes[player];
    if (bike.IsInactive())
    {
        return;
    }
    if ((bike.flags & bike_flags::kFalling) != 0 && riderAnimation_ != nullptr)
    {
        riderAnimation_->EndRiderFall(player);
    }
    bike.flags = 0;
    g_raceCamera.ViewPlayerRider();
    g_raceCamera.RestoreChosenView();
    g_raceCamera.Update(g_frameDt);
}

void GameWindow::TakeOverPlayerRider(bool toTrack)
{
    g_race.SelectRider(toTrack);
    // The rider was placed anew: its animation follows it there at once.
    raceSim_.RequestChannelSnap();
}

void GameWindow::StopRaceClock(bool stop)
{
    if (stop)
    {
        // A network race runs on under the menu: the other machines wait for no one.
        if (!g_net.IsActive())
        {
            g_raceClockOn.store(false, std::memory_order_relaxed);
        }
        return;
    }
    if (!g_raceClockOn.load(std::memory_order_relaxed))
    {
        g_raceClockOn.store(true, std::memory_order_relaxed);
        // No time step covers the stop.
        g_frameClockMs.store(g_raceClockMs.load(std::memory_order_relaxed),
                             std::memory_order_relaxed);
    }
}

void GameWindow::UpdateBikeEffects()
{
    const uint32_t riders = std::min<uint32_t>(g_riderCount, kRiderCount);
    if (riders == 0)
    {
        return;
    }
    const uint32_t before = g_viewedRider % kRiderCount;
    uint32_t viewed = before;
    for (uint32_t tries = 0; tries < riders; ++tries)
    {
        const BikeRecord& bike = g_bikes[viewed];
        if (!bike.IsInactive() || bike.crashTimer < kOutViewSeconds)
        {
            break;
        }
        viewed = (viewed + 1) % riders;
    }
    const BikeRecord& chosen = g_bikes[viewed];
    if (viewed != before && (!chosen.IsInactive() || chosen.crashTimer < kOutViewSeconds))
    {
        g_raceCamera.SetViewedRider(viewed);
        g_raceCamera.yawOffset = 0.0f;
        g_raceCamera.heading = chosen.course;
    }
}

void GameWindow::UploadRiderPortraits()
{
    // The sizes of the cockpit's nine instrument textures, in the table's order.
    constexpr std::array<std::array<int32_t, 2>, 9> kSizes = {
        {{16, 16}, {128, 128}, {32, 16}, {32, 32}, {16, 16}, {32, 32}, {16, 16}, {16, 16}, {4, 4}}};
    if (!g_raceContent.Loaded())
    {
        return;
    }
    const RaceScene& scene = g_raceContent.Scene();
    const uint32_t viewed = g_viewedRider % kRiderCount;
    const auto& liveries = g_riderLiveries[static_cast<size_t>(g_bikeClass) % kLiveryClassCount];
    const uint32_t model = std::min<uint32_t>(liveries[viewed].bikeModel, content::kMakeSlots - 1);
    const auto& pictures = content::CockpitOf(g_bikeClass, model).pictures;
    for (size_t slot = 0; slot < pictures.size(); ++slot)
    {
        Texture* target = scene.cockpitTextures[slot];
        Texture* source = pictures[slot] < scene.cockpitPictures.size()
                              ? scene.cockpitPictures[pictures[slot]]
                              : nullptr;
        if (target == nullptr || source == nullptr)
        {
            continue;
        }
        const auto [width, height] = kSizes[slot];
        g_renderDevice.SetClipRect(0, 0, width, height);
        g_renderDevice.DrawBitmapRect(source, 0, 0, 0, 0, width, height, 0, target);
        g_renderDevice.DownLoadTexture(target, 1);
    }
    g_renderDevice.SetClipRect(0, 0, g_renderDevice.ScreenWidth(), g_renderDevice.ScreenHeight());
}

void GameWindow::UpdateCockpit()
{
    const uint32_t viewed = g_viewedRider % kRiderCount;
    const BikeRecord& bike = g_bikes[viewed];
    const auto& liveries = g_riderLiveries[static_cast<size_t>(g_bikeClass) % kLiveryClassCount];
    const uint32_t model = std::min<uint32_t>(liveries[viewed].bikeModel, content::kMakeSlots - 1);
    const auto& counter = content::CockpitOf(g_bikeClass, model).revCounter;
    if (WorldObject* needle = bike.links.furtherBikeNodes[2].get())
    {
        const float lowest = counter[0];
        const float range = counter[1] - lowest;
        const float start = counter[2];
        const float end = counter[3];
        const float share = range > 0.0f ? std::max(0.0f, bike.engineRpm - lowest) / range : 0.0f;
        needle->angles[0] = 0.8f;
        needle->angles[2] = -((end - start + sim::kTwoPi) * share + start);
    }
    if (WorldObject* cockpit = bike.links.furtherBikeNodes[0].get())
    {
        // The two digits show 0..99 degrees.
        const auto temperature =
            static_cast<uint32_t>(std::clamp(bike.engineTemperature, 0.0f, 99.0f));
        SetTextureEntry(*cockpit, kTensSlot, kTemperatureDigits + temperature / 10);
        SetTextureEntry(*cockpit, kUnitsSlot, kTemperatureDigits + temperature % 10);
        // The shift light comes on where the engine gives its most: shifting up pays from there.
        const bool shift = bike.peakTorqueRpm > 0.0f && bike.engineRpm >= bike.peakTorqueRpm;
        SetTextureEntry(*cockpit, kShiftLightSlot, shift ? kShiftLightOn : kShiftLightOff);
    }
}

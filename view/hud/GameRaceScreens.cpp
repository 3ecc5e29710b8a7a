#include "view/hud/GameRaceScreens.h"

#include "app/archive/ArchiveSet.h"
#include "app/clock/RaceClock.h"
#include "app/device/RenderDevice.h"
#include "app/game/CurrentRace.h"
#include "app/settings/MenuState.h"
#include "app/window/FrameTime.h"
#include "core/util/RuntimeRandom.h"
#include "core/world/WorldObject.h"
#include "race/RaceContext.h"
#include "view/camera/RaceCamera.h"
#include "view/hud/NetPlayerNames.h"
#include "view/race/MarshalFlags.h"
#include "view/race/StartSequence.h"

namespace
{
constexpr uint32_t kDisqualifiedState = 7;
}

GameRaceScreens::GameRaceScreens(StartSequence& start, RaceCamera& camera, MarshalFlags& flags)
    : start_(start), camera_(camera), flags_(flags), hud_(RuntimeRand)
{
}

const HudFrame& GameRaceScreens::GatherFrame()
{
    const StandingsSession& session = g_standings.Session();
    HudFrame& frame = frame_;
    frame.width = g_renderDevice.ScreenWidth();
    frame.height = g_renderDevice.ScreenHeight();
    frame.language = g_language;
    frame.bikes = g_bikes;
    frame.profiles = g_riderProfiles;
    frame.standings = &g_standings;
    frame.riderCount = std::min<uint32_t>(g_riderCount, kRiderCount);
    frame.viewedRider = g_viewedRider % kRiderCount;
    frame.playerRider = g_playerRider.load(std::memory_order_relaxed) % kRiderCount;
    frame.gameMode = g_gameMode;
    frame.bikeClass = g_bikeClass;
    frame.circuit = g_circuitIndex;
    frame.circuitName = g_circuitName;
    frame.weather = g_weather;
    frame.isRaceSession = session.isRace;
    frame.isQualifying = session.isQualifying;
    frame.lapLimited = session.lapLimit;
    frame.lapsOfRace = static_cast<uint16_t>(session.laps);
    frame.curveSignsShown = g_menuState.U8At(MenuState::kBendIndicatorOffset) == 0;
    frame.topBar = feed_.topBar;
    frame.isWarmUp = feed_.warmUp;
    frame.observationMode = feed_.observing;
    frame.tvMode = camera_.tvMode;
    frame.cameraMode = camera_.mode;
    frame.cameraShotClock = camera_.shotClock;
    frame.cameraTimerExpired = camera_.timerExpired;
    frame.startLightState = start_.lightState;
    const uint32_t node = g_bikes[frame.viewedRider].aiLineNode;
    frame.curveNodeFlags = node < g_race.nodeCount && node < g_race.aidZoneByNode.size()
                               ? g_race.aidZoneByNode[node] & RacingLine::kCurveSignMask
                               : -1;
    frame.raceTime = session.raceTime;
    frame.startClock = camera_.startClock;
    frame.ticksDone = static_cast<int32_t>(g_ticksDone.load(std::memory_order_relaxed));
    frame.frameDt = g_frameDt;
    frame.realFrameMs = static_cast<int32_t>(g_realFrameMs);
    frame.blinkCounter = g_lastFrameMs >> 4;
    return frame;
}

void GameRaceScreens::ResetForRace(uint32_t /*riders*/)
{
    const HudFrame& frame = GatherFrame();
    hud_.Titles().SetGridPageActive(frame.isRaceSession && !frame.tvMode && !g_demoRace);
    if (!loaded_)
    {
        hud_.LoadTextures(frame, *this);
        g_renderDevice.SetArchive(g_archiveMenu);  // as the race loader leaves it
        loaded_ = true;
        return;
    }
    hud_.ResetForRace(frame, *this);
}

bool GameRaceScreens::DrawRaceScreens()
{
    if (g_renderDevice.IsGlideActive() == 0)
    {
        return true;
    }
    return hud_.DrawRaceScreens(GatherFrame(), canvas_, *this) != 0;
}

void GameRaceScreens::DrawPanels()
{
    hud_.DrawPanels(GatherFrame(), canvas_, *this);
}

void GameRaceScreens::DrawPaused()
{
    hud_.DrawPaused(GatherFrame(), canvas_);
}

void GameRaceScreens::DrawNetPlayerNames()
{
    const HudFrame& frame = GatherFrame();
    std::array<Vector3, kRiderCount> bikeViews{};  // depth 0: not drawn
    for (uint32_t rider = 0; rider < frame.riderCount; ++rider)
    {
        if (const WorldObject* bike = g_bikes[rider].links.bike.get())
        {
            bikeViews[rider] = bike->viewTranslation;
        }
    }
    ::DrawNetPlayerNames(frame, netRiders_, bikeViews, g_renderDevice.Projection(), canvas_);
}

void GameRaceScreens::FreeTextures()
{
    hud_.FreeTextures();
    loaded_ = false;
}

void GameRaceScreens::ShowMarshalFlag(int32_t flag)
{
    flags_.Show(static_cast<uint32_t>(flag));
}

void GameRaceScreens::HideMarshalFlag()
{
    flags_.Hide();
}

void GameRaceScreens::DisqualifyRider(uint32_t rider)
{
    camera_.SetTvView(-1);
    BikeRecord& bike = g_bikes[rider % kRiderCount];
    bike.raceStatus = kDisqualifiedState;
    bike.aiFlags |= ai_flags::kDisqualified;
    g_standings.SetFinalStatus(rider, session_rank::kDisqualified);
}

void GameRaceScreens::SetViewedRider(uint32_t rider)
{
    camera_.SetViewedRider(rider);
}

void GameRaceScreens::SetTvView()
{
    camera_.SetTvView(-1);
}

void GameRaceScreens::SetTrailView()
{
    camera_.SetTrailView();
}

void GameRaceScreens::SetCloseView()
{
    camera_.SetCloseView();
}

void GameRaceScreens::SetOnBoardView()
{
    camera_.SetOnBoardView();
}

void GameRaceScreens::SetFinishView()
{
    camera_.SetFinishView();
}

void GameRaceScreens::SetTvAutoSwitch()
{
    camera_.tvAutoSwitch = true;
}

void GameRaceScreens::SetStartSchedule(float clockRate, int32_t startTick)
{
    start_.preStartRate = clockRate;
    g_raceStartTick.store(static_cast<uint32_t>(startTick), std::memory_order_relaxed);
}

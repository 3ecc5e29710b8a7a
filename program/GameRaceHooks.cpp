#include "program/GameRaceHooks.h"

#include "app/clock/RaceClock.h"
#include "app/config/RaceScreenMode.h"
#include "net/NetSession.h"
#include "net/NetStateCheck.h"
#include "program/InputStep.h"
#include "race/RaceContext.h"
#include "race/RaceSim.h"
#include "view/camera/RaceCamera.h"
#include "view/race/MarshalFlags.h"
#include "view/race/StartSequence.h"

void GameRaceHooks::ArmStartSequence()
{
    start_.Reset();
    g_raceStartTick.store(kGridStartStep, std::memory_order_relaxed);
    g_waitingForStart.store(true, std::memory_order_relaxed);
    g_racePaused.store(false, std::memory_order_relaxed);
}

void GameRaceHooks::ResetCollisions()
{
    CollisionManager& collisions = sim_.Collisions();
    collisions.Attach(g_bikes, sim_.Channels(), sim_.Events());
    collisions.ResetForRace(g_riderCount);
}

void GameRaceHooks::AddTrackObject(WorldObject& node)
{
    sim_.Collisions().AddTrackObject(node);
}

void GameRaceHooks::BuildSweepLists()
{
    sim_.Collisions().BuildSweepLists();
}

void GameRaceHooks::PrepareComputerRiders()
{
    if (gridStart_)
    {
        g_race.PrepareGridStart();
    }
    else
    {
        g_race.PreparePracticeStart(flyingStart_);
    }
}

void GameRaceHooks::SetCameraDefaults(float viewedHeading)
{
    camera_.SetStartSweep(viewedHeading);
    g_lookBack.store(false, std::memory_order_relaxed);
}

void GameRaceHooks::LoadMarshalFlags()
{
    g_marshalFlags.Load(static_cast<int32_t>(g_raceScreenMode.width),
                        static_cast<int32_t>(g_raceScreenMode.height));
}

void GameRaceServices::ViewNeighbourRiders()
{
    camera_.ViewPreviousRider();
    camera_.ViewNextRider();
}

void GameRaceServices::SetTvView(uint32_t camera)
{
    camera_.SetTvView(static_cast<int32_t>(camera));
}

void GameRaceServices::AddStateCheckRider(uint32_t step, uint32_t rider, uint32_t index)
{
    AddRiderToStateCheck(g_net, g_bikes[rider], step, rider, index);
}

void GameRaceServices::SendStateCheck()
{
    g_net.SendStateCheck();
}

bool GameRiderFallServices::IsPlayerRacing() const
{
    return race_.standings.IsPlayerRacing() != 0;
}

void GameRiderFallServices::PutRiderBackOnLine(uint32_t rider)
{
    race_.race.PutRiderBackOnLine(rider);
}

void GameRiderFallServices::ReturnCameraToRider()
{
    camera_.fallFollowRider = RaceCamera::kNoFallFollowed;
    if (camera_.onBoardChosen)
    {
        camera_.SetOnBoardView();
    }
    else
    {
        camera_.SetChaseView();
    }
}

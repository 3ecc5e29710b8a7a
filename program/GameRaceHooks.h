#pragma once

// What a race load asks of the game: the field's grid or pit-lane start, the race simulation's
// collisions, the start sequence and the race camera's start sweep. Main thread only, during
// RaceContent::Load.

#include "content/RaceContentHooks.h"
#include "race/RaceContext.h"
#include "race/RaceServices.h"
#include "view/race/ParticleTable.h"
#include "view/rider/RiderAnimation.h"

class RaceCamera;
class RaceSim;
class StartSequence;

class GameRaceHooks : public RaceContentHooks
{
public:
    // The step the field starts at from the grid: 2 s of the grid sweep, then the lights.
    static constexpr uint32_t kGridStartStep = 125;

    // A race starts from the grid; every other session from the pit lane, or with a flying
    // start from behind the start line.
    GameRaceHooks(RaceSim& sim, StartSequence& start, RaceCamera& camera, bool gridStart,
                  bool flyingStart)
        : sim_(sim),
          start_(start),
          camera_(camera),
          gridStart_(gridStart),
          flyingStart_(flyingStart)
    {
    }

    void ArmStartSequence() override;
    void ResetCollisions() override;
    void AddTrackObject(WorldObject& node) override;
    void BuildSweepLists() override;
    void PrepareComputerRiders() override;
    void SetCameraDefaults(float viewedHeading) override;
    void LoadMarshalFlags() override;

private:
    RaceSim& sim_;
    StartSequence& start_;
    RaceCamera& camera_;
    bool gridStart_;
    bool flyingStart_;
};

// What a race step asks of the view and the race loop: the riders' body motion, the frame's
// particles, the camera's moves, and the pause menu when the player stops in its pit box
// (menuRequest is the race loop's request, taken on its next frame).
class GameRaceServices : public RaceServices
{
public:
    GameRaceServices(RiderAnimation& animation, ParticleTable& particles, RaceCamera& camera,
                     bool& menuRequest)
        : animation_(animation), particles_(particles), camera_(camera), menuRequest_(menuRequest)
    {
    }
    void ViewNeighbourRiders() override;
    void SetTvView(uint32_t camera) override;
    void AnimateRider(uint32_t rider, float dt) override { animation_.AnimateRider(rider, dt); }
    void RequestRaceMenu() override { menuRequest_ = true; }
    void EmitParticle(RaceParticle kind, uint32_t rider, float x, float y, float z,
                      float size) override
    {
        particles_.Emit(kind, x, y, z, size, g_bikes[rider % kRiderCount].course);
    }
    // The host's state check of a network race goes out through the session.
    void AddStateCheckRider(uint32_t step, uint32_t rider, uint32_t index) override;
    void SendStateCheck() override;

private:
    RiderAnimation& animation_;
    ParticleTable& particles_;
    RaceCamera& camera_;
    bool& menuRequest_;
};

// What the end of the player's fall asks of the race: whether he still races, his machine put
// back on the racing line, and the camera back on him in the view he chose.
class GameRiderFallServices : public RiderFallServices
{
public:
    GameRiderFallServices(RaceContext& race, RaceCamera& camera) : race_(race), camera_(camera) {}

    bool IsPlayerRacing() const override;
    void PutRiderBackOnLine(uint32_t rider) override;
    void ReturnCameraToRider() override;

private:
    RaceContext& race_;
    RaceCamera& camera_;
};

#pragma once

// What a simulation step asks of the parts above the race simulation: the view's rider
// animation, the network's state check, and the frame's particles and wheel texture frames.
// The race's own systems (computer riders, standings, lap records and ghosts) the tick calls
// directly. Each call has a do-nothing default, so that a headless race runs on this class as
// it is and each part overrides what it provides.
//
// Called on the main thread from inside a step, in the step's fixed order, or after the steps
// for the frame's effects. An override changes the race's state only through the race's own
// operations (the end of a fall puts the player back on the line), and never lets the step read
// anything that differs between machines (the camera, the frame time, the runtime random
// generator). Sound and force feedback are not here: the step leaves them in its event list.

#include <cstdint>

enum class RaceParticle : uint8_t
{
    Spray,
    ExhaustSmoke,
    DirtLight,  // loose ground of class 1
    DirtDark,   // loose ground of the other classes
    TyreSmoke,
    DustCloud,
};

class RaceServices
{
public:
    virtual ~RaceServices() = default;

    // Rider animation, once per step for every active rider.
    virtual void AnimateRider(uint32_t /*rider*/, float /*dt*/) {}

    // The pit crew scene of slot 0..9: started at a pit box when a rider comes in, moved to its
    // first phase when the rider stops there, stopped when the player's rider leaves it.
    virtual void StartPitCrew(uint32_t /*slot*/, float /*x*/, float /*z*/) {}
    virtual void PitCrewToFirstPhase(uint32_t /*slot*/) {}
    virtual void StopPitCrew(uint32_t /*slot*/) {}
    // The player's rider stopped in its pit box: the in-race menu opens.
    virtual void RequestRaceMenu() {}
    // The camera: steps to the previous and then the next rider, which leaves it on a rider
    // that can be watched; or takes the trackside camera 0..tvCameraCount-1.
    virtual void ViewNeighbourRiders() {}
    virtual void SetTvView(uint32_t /*camera*/) {}
    // A finished rider's celebration clip 0..3; the rider motion ignores it while a clip plays.
    virtual void StartCelebration(uint32_t /*rider*/, uint32_t /*clip*/) {}

    // Network state check, host side.
    virtual void AddStateCheckRider(uint32_t /*step*/, uint32_t /*rider*/, uint32_t /*n*/) {}
    virtual void SendStateCheck() {}

    // The frame's effects, after the steps: particles (the particle table drops what does not
    // fit) and the wheel texture frames of a rider (first frame for both wheels, second slot).
    virtual void EmitParticle(RaceParticle /*kind*/, uint32_t /*rider*/, float /*x*/, float /*y*/,
                              float /*z*/, float /*size*/)
    {
    }
    virtual void ShowWheelFrames(uint32_t /*rider*/, uint32_t /*frame*/, uint32_t /*secondFrame*/)
    {
    }
};

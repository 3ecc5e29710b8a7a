#pragma once

// What a race load asks of the parts above it and beside it: the menus, the network, the race
// view, the head-up display, the computer riders and the collision manager. Each call has a
// do-nothing default, so that a test loads a race on this class as it is and the game's
// window overrides what it provides. Called on the main thread, in the load's order.

#include <cstdint>

struct WorldObject;

class RaceContentHooks
{
public:
    virtual ~RaceContentHooks() = default;

    // Whatever the menus left open: the menu flag, the circuit information pictures.
    virtual void CloseMenus() {}
    // In network play, the bike set-ups of every player (host: collect and broadcast; client:
    // send and wait); nothing offline.
    virtual void ExchangeBikeSetups() {}
    // The per-race state of the race loop, the race view and the display: the network repeat
    // request, the pose channels, the clock-pending flag, the riders still racing, the frame
    // statistics, the race-screen switch, the pause-menu exit, the camera input switch and the
    // player-classified flag.
    virtual void ResetRaceState() {}
    // The head-up display's pictures and fonts (it makes the textures archive current).
    virtual void LoadHudTextures() {}
    // The start sequence: the clock, the grid page, the lights, and offline the start tick.
    virtual void ArmStartSequence() {}
    // The collision manager before anything is placed, each cone as it is, and its sweep lists
    // once everything is.
    virtual void ResetCollisions() {}
    virtual void AddTrackObject(WorldObject& /*node*/) {}
    virtual void BuildSweepLists() {}
    // The computer riders' parameters, gearing and the field's bike tuning.
    virtual void PrepareComputerRiders() {}
    // The race camera's defaults, looking along the viewed rider's heading (radians).
    virtual void SetCameraDefaults(float /*viewedHeading*/) {}
    // The network state check: no divergence found yet.
    virtual void ResetStateCheck() {}
    // The marshal flags' pictures and the waving flag.
    virtual void LoadMarshalFlags() {}
};

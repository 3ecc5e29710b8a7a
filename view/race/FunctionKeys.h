#pragma once

// The race's function and digit keys, read once a frame while the race runs: the player's
// ride aids (offline), the display options, the auto-centre switch, the camera views, zoom,
// height and pitch, and rider paging while observing. Each key acts once per press; the
// camera's keys 5 to 0 act while held. Main thread only.

#include <cstdint>

class MenuState;
class RaceCamera;
struct BikeRecord;
struct WorldObject;

struct FunctionKeyContext
{
    BikeRecord& player;
    MenuState& settings;
    RaceCamera& camera;
    uint32_t difficulty = 0;
    bool network = false;
    bool demoRace = false;
    bool observing = false;
    bool joystickOption = true;
    bool autoCentre = false;  // in and out
    WorldObject* idealLine = nullptr;
    float frameDt = 0.0f;
};

void HandleFunctionKeys(FunctionKeyContext& context);

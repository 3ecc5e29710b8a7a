#pragma once

// What the race loop asks of the race's overlays: the head-up display with its pages, the TV
// director and the titles. Each call has a do-nothing default, so that a race runs (and a test
// races) without them; the head-up display overrides what it draws. Main thread only, from
// the race loop in its frame order.

#include <cstdint>

// What the game tells the overlays before each frame, of the session and of the view.
struct RaceScreenFeed
{
    bool topBar = false;     // the translucent band behind the panels' top line
    bool warmUp = false;     // the weekend's warm-up session
    bool observing = false;  // the player watches the other riders
};

class RaceScreens
{
public:
    virtual ~RaceScreens() = default;

    virtual void SetFeed(const RaceScreenFeed& /*feed*/) {}

    // Before the first frame of a race with that many riders.
    virtual void ResetForRace(uint32_t /*riders*/) {}
    // The race's pages, titles and TV direction of the frame; false ends the race loop.
    virtual bool DrawRaceScreens() { return true; }
    // After the 3D scene: the panels while the race runs, the paused overlay while it stands.
    virtual void DrawPanels() {}
    virtual void DrawPaused() {}
    // In a network race with the name display on.
    virtual void DrawNetPlayerNames() {}
    // The display's race pictures, when the race is unloaded.
    virtual void FreeTextures() {}
};

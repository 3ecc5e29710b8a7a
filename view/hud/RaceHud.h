#pragma once

// The head-up display: everything 2D over the race picture. The timing and position panel,
// the instrument, the start lights, curve signs, ride-aid lamps, the marshal flags and status
// messages, the observation panel, the race-over and end-of-session panels and the pause
// screen; the TV director's pages and the title pages belong to it too. Every frame is drawn
// from a HudFrame onto a canvas. Main thread only.

#include <array>
#include <cstdint>

#include "view/hud/HudCanvas.h"
#include "view/hud/HudResources.h"
#include "view/hud/NumberText.h"
#include "view/titles/RaceTitles.h"
#include "view/tv/TvDirector.h"

struct HudFrame;
class HudHooks;

class RaceHud
{
public:
    explicit RaceHud(DirectorRandom random);
    virtual ~RaceHud() = default;
    RaceHud(const RaceHud&) = delete;
    RaceHud& operator=(const RaceHud&) = delete;

    // Pictures and fonts for the race, and everything reset as for a race.
    void LoadTextures(const HudFrame& frame, HudHooks& hooks);
    void FreeTextures();
    HudResources& Resources() { return resources_; }

    // At the start of each race: caches, timers, the title and the grid.
    void ResetForRace(const HudFrame& frame, HudHooks& hooks);

    void DrawPanels(const HudFrame& frame, HudCanvas& canvas, HudHooks& hooks);
    void DrawPaused(const HudFrame& frame, HudCanvas& canvas);
    // The title pages, or in TV mode the director and its page; 0 ends the overlay.
    int32_t DrawRaceScreens(const HudFrame& frame, HudCanvas& canvas, HudHooks& hooks);

    RaceTitles& Titles() { return titles_; }
    TvDirector& Director() { return director_; }

    void DrawStartLights(const HudFrame& frame, HudCanvas& canvas);
    void DrawCurveSign(const HudFrame& frame, HudCanvas& canvas);
    void DrawMessages(const HudFrame& frame, HudCanvas& canvas, HudHooks& hooks);

private:
    void DrawTimingPanel(const HudFrame& frame, HudCanvas& canvas);
    void DrawLapTimes(const HudFrame& frame, HudCanvas& canvas);
    void DrawInstrument(const HudFrame& frame, HudCanvas& canvas);
    void DrawKeyLamps(const HudFrame& frame, HudCanvas& canvas);
    void DrawTopBar(const HudFrame& frame, HudCanvas& canvas);
    void DrawObservationPanel(const HudFrame& frame, HudCanvas& canvas);
    void DrawRaceOverPanel(const HudFrame& frame, HudCanvas& canvas);
    void DrawEndOfSession(const HudFrame& frame, HudCanvas& canvas);
    void DrawWrongWay(const HudFrame& frame, HudCanvas& canvas, HudHooks& hooks);

    HudResources resources_;
    TvDirector director_;
    RaceTitles titles_;

    NumberText speed_;
    NumberText instrumentSpeed_;
    NumberText gear_;
    NumberText ridersLeft_;
    NumberText lap_;
    NumberText position_;
};

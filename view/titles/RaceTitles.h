#pragma once

// The title pages of a race: the Grand Prix title with the starting grid row by row before
// it, and the final standing after it. Main thread only.

#include <cstdint>

#include "view/hud/HudCanvas.h"
#include "view/titles/EventTitles.h"
#include "view/tv/PlaceTable.h"

struct HudFrame;
class HudHooks;

enum class TitleState : uint32_t
{
    None = 0,
    StartingGrid = 1,
    FinalStanding = 2,
};

// When the start comes: 4 s, and 3 s for each row of four on the grid.
struct GridSchedule
{
    int32_t rows = 0;
    float startClockRate = 0.0f;
    int32_t startTick = 0;  // input ticks of 40 ms
};
GridSchedule ScheduleGrid(uint32_t riderCount);

class RaceTitles
{
public:
    TitleState State() const { return state_; }
    const char* Title() const { return title_.data(); }

    // The grid page shows once the race loop asks for it; it clears the request when done.
    void SetGridPageActive(bool active) { gridPageActive_ = active; }
    bool GridPageActive() const { return gridPageActive_; }

    // Before a race session: its title and the grid, and the start's schedule.
    void BuildTitle(const HudFrame& frame, HudHooks& hooks);
    // When the player (or in TV mode the leader) has finished: the final standing follows.
    void BuildEventTitle(const HudFrame& frame);

    // Per frame; false once the page is done.
    bool DrawStartingGrid(const HudFrame& frame, HudCanvas& canvas);
    bool DrawFinalStanding(const HudFrame& frame, HudCanvas& canvas, HudHooks& hooks);

    int32_t Row() const { return row_; }
    int32_t PageClock() const { return pageClock_; }

private:
    void DrawHeading(const HudFrame& frame, HudCanvas& canvas, const char* heading,
                     int32_t headingY, int32_t titleY);

    TitleState state_ = TitleState::None;
    bool gridPageActive_ = false;
    bool finishViewStarted_ = false;
    TitleText title_{};
    PlaceTable places_;
    int32_t row_ = 0;
    int32_t rows_ = 0;
    int32_t pageClock_ = 0;
};

#pragma once

// The sessions a choice in the main menu leads to. Each session is started on the game's race
// (the field, the grid, the weather), shown on the pre-race screen, raced and scored by the runner;
// a Grand Prix weekend goes on to its next session, a championship after each race to its next
// round, until the player backs out on the pre-race screen, the single session or the weekend is
// over, or the championship has had its last round. Before each session of a weekend the pit
// box's calendar picks the session to ride; the sessions before it are simulated. A session
// whose circuit's racing line cannot be read is not ridden, and none follows one the game was
// quit in. Main thread only.

#include <cstdint>
#include <functional>

#include "app/settings/MenuState.h"
#include "core/game/GameEnums.h"

struct SessionStart;

// Loads, races, unloads and scores the started session; true when the race ran.
using RaceSessionRunner = std::function<bool(const SessionStart&)>;

void RunChosenSessions(const RaceSessionRunner& raceSession);

// The pre-race screen on the game's window, a frame at a time, on the menu fonts: its result,
// or back to the menus when the game is being quit.
int32_t RunPreRaceScreen();

// What a result of the pit box's calendar page asks of the weekend.
enum class SessionMenuAction
{
    Ride,            // the session below, or the current one when it is not ahead
    AbandonWeekend,  // back to the main menu, the weekend from its start next time
    ShowAgain,       // a championship was loaded: the calendar of its round
    Quit,            // the game is being quit: no session runs
};

struct SessionMenuChoice
{
    SessionMenuAction action = SessionMenuAction::Ride;
    uint32_t session = 0;
    bool operator==(const SessionMenuChoice&) const = default;
};

SessionMenuChoice ChoiceOfCalendarResult(int32_t result);

class LoadedGhost;

// The pit box between the sessions of a weekend or championship round, until the player picks
// the session to ride (it becomes the race's skip target) or leaves: true when a session runs.
// A ghost race first has its ghost chosen on the pit box's ghost page (or none): true once it
// is, false when the page is left. Any other mode rides at once.
bool RunSessionMenu(LoadedGhost& ghost);

// After a scored session of a weekend or championship: the next session, and after the race
// of a championship round the next round. False when no session follows.
bool AdvanceAfterSession(MenuState& settings, GameMode mode);

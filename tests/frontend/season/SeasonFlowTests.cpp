// From session to session: a weekend runs its sessions in turn and ends after its race, a
// championship goes on to its next round until its last, a single session is all there is.

#include <gtest/gtest.h>

#include <utility>

#include "frontend/season/SeasonFlow.h"

TEST(SeasonFlow, AfterEachSessionTheWeekendOrChampionshipMovesOn)
{
    struct Case
    {
        GameMode mode;
        uint32_t circuit;
        uint32_t session;
        bool goesOn;
        uint32_t nextCircuit;
        uint32_t nextSession;
    };
    const Case cases[] = {
        {GameMode::GrandPrix, 3, 0, true, 3, 1},
        {GameMode::GrandPrix, 3, 4, true, 3, 5},
        {GameMode::GrandPrix, 3, 5, false, 3, 0},
        {GameMode::Championship, 0, 2, true, 0, 3},
        {GameMode::Championship, 0, 5, true, 1, 0},
        {GameMode::ChampionshipSeries, 13, 5, true, 14, 0},
        {GameMode::Championship, 14, 5, false, 15, 0},  // the last round is over
        {GameMode::Race, 3, 0, false, 3, 0},
        {GameMode::TestRide, 3, 0, false, 3, 0},
    };
    for (const Case& c : cases)
    {
        MenuState settings;
        settings.SetU32At(MenuState::kCircuitOffset, c.circuit);
        settings.SetU32At(MenuState::kSessionOffset, c.session);
        EXPECT_EQ(AdvanceAfterSession(settings, c.mode), c.goesOn)
            << static_cast<int>(c.mode) << " " << c.circuit << " " << c.session;
        EXPECT_EQ(settings.U32At(MenuState::kCircuitOffset), c.nextCircuit);
        EXPECT_EQ(settings.U32At(MenuState::kSessionOffset), c.nextSession);
    }
}

TEST(SeasonFlow, ThePitBoxCalendarPicksTheSessionOrEndsTheWeekend)
{
    using enum SessionMenuAction;
    const std::pair<int32_t, SessionMenuChoice> cases[] = {
        {1, {Ride, 0}},           {4, {Ride, 3}},       {6, {Ride, 5}},
        {7, {AbandonWeekend, 0}}, {10, {ShowAgain, 0}}, {0, {Quit, 0}},  // the game is being quit
        {8, {Ride, 0}},  // anything else rides the current session
        {-1, {Ride, 0}},
    };
    for (const auto& [result, choice] : cases)
    {
        EXPECT_EQ(ChoiceOfCalendarResult(result), choice) << result;
    }
}

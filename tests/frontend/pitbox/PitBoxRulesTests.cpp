#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "frontend/pitbox/PitBoxMenu.h"
#include "frontend/pitbox/PitBoxResults.h"
#include "frontend/pitbox/PitBoxRules.h"

namespace
{
PageButtons Set(std::initializer_list<uint32_t> indices)
{
    PageButtons buttons = 0;
    for (const uint32_t index : indices)
    {
        buttons |= 1u << index;
    }
    return buttons;
}

TEST(SessionWordsTable, BetweenSessionsAndInTheRace)
{
    struct Case
    {
        uint32_t session;
        SessionWords between;
        SessionWords inRace;
    };
    for (const Case& c : {Case{0, {{12, 12, 3}, 0x408}, {{8, 0, 0}, 0x408}},
                          Case{1, {{4, 12, 3}, 0x404}, {{12, 0, 0}, 0x404}},
                          Case{2, {{0, 12, 3}, 0x808}, {{12, 8, 0}, 0x808}},
                          Case{3, {{0, 4, 3}, 0x804}, {{12, 12, 0}, 0x804}},
                          Case{4, {{0, 0, 3}, 0x1002}, {{12, 12, 2}, 0x1002}},
                          Case{5, {{0, 0, 1}, 0x1001}, {{12, 12, 3}, 0x1001}},
                          Case{6, {{0, 0, 0}, 0x1001}, {{12, 12, 3}, 0x1001}}})
    {
        EXPECT_EQ(BetweenSessionWords(c.session), c.between) << c.session;
        EXPECT_EQ(InRaceWords(GameMode::Championship, c.session), c.inRace) << c.session;
    }
    const SessionWords practice{{8, 0, 0}, 0x408};
    EXPECT_EQ(InRaceWords(GameMode::TestRide, 4), practice);
    EXPECT_EQ(InRaceWords(GameMode::GhostRace, 4), practice);
    EXPECT_EQ(InRaceWords(GameMode::Race, 0), (SessionWords{{0, 0, 1}, 0x1001}));
}

TEST(SessionWordsTable, SaturdayQualifyingOffersWhatIsLeft)
{
    // Between sessions the calendar offers Saturday qualifying, the warm-up and the race.
    EXPECT_EQ(CalendarButtons(BetweenSessionWords(3)),
              (std::array<bool, 6>{false, false, false, true, true, true}));
    EXPECT_EQ(CalendarButtons(BetweenSessionWords(0)),
              (std::array<bool, 6>{true, true, true, true, true, true}));
    // In the race of session 3 the times page offers Friday and Saturday.
    const SessionWords inRace = InRaceWords(GameMode::GrandPrix, 3);
    const auto tabs = TabsEnabled(inRace);
    EXPECT_EQ(tabs[0], (std::array<bool, 4>{true, true, false, false}));
    EXPECT_EQ(tabs[1], (std::array<bool, 4>{true, true, false, false}));
    EXPECT_EQ(tabs[2], (std::array<bool, 4>{false, false, false, false}));
    EXPECT_EQ(DayOfSession(inRace.currentSession), 1u);
    EXPECT_EQ(TabOfSession(inRace.currentSession), 1u);
    EXPECT_EQ(DayOfSession(0x1002), 2u);
    EXPECT_EQ(TabOfSession(0x1002), 2u);
    EXPECT_EQ(TabOfSession(0x1001), 3u);
}

TEST(PageOne, ButtonsByModeAndSession)
{
    struct Case
    {
        GameMode mode;
        bool ended;
        uint32_t session;
        bool ghost;
        PageButtons buttons;
    };
    for (const Case& c : {
             Case{GameMode::TestRide, false, 0, false, Set({0, 2, 4, 6, 7})},
             Case{GameMode::Race, false, 0, false, Set({0, 2, 6, 8, 7})},
             Case{GameMode::NetworkRace, true, 0, false, Set({0, 2})},
             Case{GameMode::GrandPrix, false, 4, false, Set({0, 1, 2, 3, 4, 5, 6, 7})},
             Case{GameMode::ChampionshipSeries, false, 2, false, Set({0, 1, 2, 3, 4, 5, 6, 7})},
             Case{GameMode::Championship, false, 5, false, Set({0, 2, 6, 7})},
             Case{GameMode::Championship, true, 3, false, Set({2, 6, 7})},
             Case{GameMode::GhostRace, false, 0, false, Set({0, 2, 4, 6, 7, 9})},
             Case{GameMode::GhostRace, false, 0, true, Set({0, 2, 4, 6, 7, 9, 10})},
         })
    {
        EXPECT_EQ(PageOneButtons(c.mode, c.ended, c.session, c.ghost), c.buttons)
            << static_cast<int>(c.mode) << " " << c.ended << " " << c.session;
    }
}

TEST(PageOne, ListByModeAndSession)
{
    struct Case
    {
        GameMode mode;
        bool ended;
        uint32_t session;
        bool race;
        PageOneList list;
        uint32_t strip;
    };
    for (const Case& c : {
             Case{GameMode::GrandPrix, false, 2, false, PageOneList::Times, 0},
             Case{GameMode::GrandPrix, true, 2, false, PageOneList::GridTimes, 0},
             Case{GameMode::GrandPrix, true, 3, false, PageOneList::GridTimes, 1},
             Case{GameMode::Championship, true, 4, false, PageOneList::GridTimes, 2},
             Case{GameMode::Championship, false, 5, true, PageOneList::RaceResult, 3},
             Case{GameMode::TestRide, false, 0, false, PageOneList::PersonalLaps, 4},
             Case{GameMode::GhostRace, false, 0, false, PageOneList::PersonalLaps, 0},
             Case{GameMode::Race, false, 0, false, PageOneList::Classification, 3},
             Case{GameMode::Race, true, 0, true, PageOneList::RaceResult, 3},
         })
    {
        const PageOneLayout layout = ChoosePageOneLayout(c.mode, c.ended, c.session, c.race);
        EXPECT_EQ(layout.list, c.list) << static_cast<int>(c.mode) << " " << c.session;
        EXPECT_EQ(layout.headlineStrip, c.strip) << static_cast<int>(c.mode) << " " << c.session;
        EXPECT_EQ(layout.resultsLayout, c.list != PageOneList::Times);
        EXPECT_EQ(layout.visibleRows, layout.resultsLayout ? 16 : 12);
    }
}

TEST(PageOne, ClockRatesCycleAndTheCountdownEndsAtAQuarter)
{
    std::vector<uint32_t> rates;
    for (uint32_t index = 0; index < 6; ++index)
    {
        rates.push_back(ClockRateOf(index));
    }
    EXPECT_EQ(rates, (std::vector<uint32_t>{1, 2, 4, 8, 1, 2}));

    // Time-limit index 2 is 60 s: page 1 ends below 45 s, page 4 below 30 s.
    EXPECT_FALSE(CountdownEndsMenu(1, 2, 45000));
    EXPECT_TRUE(CountdownEndsMenu(1, 2, 44999));
    EXPECT_FALSE(CountdownEndsMenu(4, 2, 30000));
    EXPECT_TRUE(CountdownEndsMenu(4, 2, 29999));
    EXPECT_FALSE(CountdownEndsMenu(0, 2, 0));
    EXPECT_TRUE(CountdownEndsMenu(1, 9, 67499));  // an index out of range counts as the longest
}
}  // namespace

namespace
{
TEST(ResultPagesTable, WhichPagesFollowASession)
{
    constexpr int32_t kTimes = PitBoxMenu::kTimesPage;
    constexpr int32_t kPoints = PitBoxMenu::kPointsPage;
    constexpr int32_t kSeries = PitBoxMenu::kSeriesPage;
    struct Case
    {
        GameMode mode;
        uint32_t session;
        bool classified;
        bool won;
        SessionResultPages pages;
    };
    for (const Case& c : {
             Case{GameMode::Race, 0, true, false, {{kTimes}}},
             Case{GameMode::Race, 0, false, false, {}},
             Case{GameMode::TestRide, 0, true, false, {}},
             Case{GameMode::GhostRace, 0, true, false, {}},
             Case{GameMode::GrandPrix, 2, false, false, {{kTimes}}},
             Case{GameMode::GrandPrix, 5, true, true, {{kTimes}}},
             Case{GameMode::GrandPrix, 6, true, false, {}},
             Case{GameMode::Championship, 4, true, false, {{kTimes}}},
             Case{GameMode::Championship, 5, true, false, {{kTimes, kPoints}}},
             Case{GameMode::ChampionshipSeries, 5, true, true, {{kTimes, kPoints}, true}},
             Case{GameMode::NetworkRace, 0, false, false, {{kTimes, kSeries}}},
         })
    {
        EXPECT_EQ(ResultPagesOf(c.mode, c.session, c.classified, c.won), c.pages)
            << static_cast<int>(c.mode) << " session " << c.session;
    }
}
}  // namespace

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>

#include "frontend/season/ChampionshipTable.h"
#include "frontend/season/WeekendSessions.h"
#include "frontend/season/WeekendStart.h"

namespace
{
constexpr uint32_t kPlayer = 2;

std::array<float, 26> Ratings()
{
    std::array<float, 26> rating{};
    for (uint32_t rider = 0; rider < rating.size(); ++rider)
    {
        rating[rider] = 0.8f + 0.01f * static_cast<float>(rider);  // the higher the better
    }
    return rating;
}

const std::array<float, 26> kRatings = Ratings();
const WeekendRiders kRiders{
    .bikeClass = BikeClass::Class250, .player = kPlayer, .rating = kRatings};

int Zero()
{
    return 0;
}

// A championship under way at the circuit and session, with one place and one time stored.
MenuState UnderWay(uint32_t circuit, uint32_t session, uint32_t fieldMask)
{
    MenuState settings;
    settings.SetU32At(MenuState::kOpponentsOffset, 5);
    settings.SetU32At(MenuState::kCircuitOffset, circuit);
    settings.SetU32At(MenuState::kSessionOffset, session);
    settings.SetU32At(MenuState::kFieldMaskOffset, fieldMask);
    ClearChampionship(settings);
    ClearWeekend(settings);
    SetChampionshipPlace(settings, 7, 0, 3);
    StoreRiderTimes(settings, 1, 7, {.lapMs = 91000, .sectorMs = {30000, 30000, 31000}});
    return settings;
}

TEST(WeekendStart, OpponentsWithinFourAndTheClassLessOne)
{
    MenuState settings;
    struct Case
    {
        uint32_t chosen;
        BikeClass bikeClass;
        uint32_t opponents;
    };
    for (const Case& c : {Case{25, BikeClass::Class125, 24}, Case{25, BikeClass::Class250, 25},
                          Case{0, BikeClass::Class500, 4}, Case{9, BikeClass::Class500, 9}})
    {
        settings.SetU32At(MenuState::kOpponentsOffset, c.chosen);
        EXPECT_EQ(OpponentsOfSettings(settings, c.bikeClass), c.opponents) << c.chosen;
    }
}

TEST(WeekendStart, NewFieldTakesTheBestRatedBehindThePlayer)
{
    std::array<int32_t, 26> positions{};
    const uint32_t mask = ChooseField(kRiders, 5, positions, Zero);
    // Riders 25 down to 21 rate best; the player starts first.
    EXPECT_EQ(mask, (1u << kPlayer) | (0x1Fu << 21));
    EXPECT_EQ(positions[kPlayer], 1);
    EXPECT_EQ(positions[25], 2);
    EXPECT_EQ(positions[21], 6);
    EXPECT_EQ(positions[0], 7) << "the riders left out follow in rider order";
    EXPECT_EQ(positions[20], 26);
}

TEST(WeekendStart, BookkeepingByModeCircuitAndSession)
{
    constexpr uint32_t kOldField = 0x0F;
    struct Case
    {
        const char* name;
        GameMode mode;
        uint32_t circuit;
        uint32_t session;
        uint32_t expectedCircuit;
        uint32_t expectedSession;
        bool championshipCleared;
        bool weekendCleared;
        bool newField;
    };
    for (const Case& c : {
             Case{"past the last round", GameMode::Championship, 15, 3, 0, 0, true, true, true},
             Case{"the first session of the first round", GameMode::Championship, 0, 0, 0, 0, true,
                  true, true},
             Case{"the first session of a later round", GameMode::Championship, 4, 0, 4, 0, false,
                  true, false},
             Case{"a later session", GameMode::Championship, 4, 3, 4, 3, false, false, false},
             Case{"a session past the race", GameMode::ChampionshipSeries, 4, 7, 4, 0, false, true,
                  false},
             Case{"a Grand Prix weekend begins", GameMode::GrandPrix, 9, 0, 9, 0, false, true,
                  true},
             Case{"a Grand Prix weekend goes on", GameMode::GrandPrix, 9, 2, 9, 2, false, false,
                  false},
         })
    {
        MenuState settings = UnderWay(c.circuit, c.session, kOldField);
        const WeekendSessionStart start = StartWeekendSession(settings, c.mode, kRiders, {}, Zero);
        EXPECT_EQ(start.session, c.expectedSession) << c.name;
        EXPECT_EQ(settings.U32At(MenuState::kSessionOffset), c.expectedSession) << c.name;
        EXPECT_EQ(settings.U32At(MenuState::kCircuitOffset), c.expectedCircuit) << c.name;
        EXPECT_EQ(ChampionshipPlace(settings, 7, 0) == kNotRaced, c.championshipCleared) << c.name;
        EXPECT_EQ(WeekendBest(settings, 7) == MenuState::kNoTime, c.weekendCleared) << c.name;
        EXPECT_EQ(start.fieldMask != kOldField, c.newField) << c.name;
        EXPECT_EQ(settings.U32At(MenuState::kFieldMaskOffset), start.fieldMask) << c.name;
    }
}

TEST(WeekendStart, AKeptFieldLinesUpByTheWeekendsBestTimes)
{
    const uint32_t field = (1u << kPlayer) | (1u << 7) | (1u << 9);
    MenuState settings = UnderWay(3, 2, field);
    StoreRiderTimes(settings, 0, kPlayer, {.lapMs = 85000});  // practice: an hour behind
    const WeekendSessionStart start =
        StartWeekendSession(settings, GameMode::Championship, kRiders, {}, Zero);
    EXPECT_EQ(start.positions[7], 1);
    EXPECT_EQ(start.positions[kPlayer], 2);
    EXPECT_EQ(start.positions[9], 3);
    EXPECT_EQ(start.positions[0], 4);
}

TEST(WeekendStart, SkippedSessionsAreSimulatedUpToTheChosenOne)
{
    MenuState settings = UnderWay(2, 1, (1u << kPlayer) | (1u << 7) | (1u << 9) | (1u << 11));
    const WeekendSessionStart start =
        StartWeekendSession(settings, GameMode::Championship, kRiders,
                            {.skipTo = 4, .referenceSectorMs = {30000, 30000, 30000}}, Zero);
    EXPECT_EQ(start.session, 4u);
    for (uint32_t session = 1; session < 4; ++session)
    {
        uint32_t timed = 0;
        while (timed < 26 && SessionOrderAt(settings, session, timed) != 0xFF)
        {
            ++timed;
        }
        EXPECT_EQ(timed, 3u) << "the field but the player, session " << session;
    }
    EXPECT_EQ(SessionOrderAt(settings, 4, 0), 0xFF) << "the chosen session is ridden";
}
}  // namespace

TEST(WeekendStart, TwoOrThreeWaitingRidersRideOutOfABigEnoughSession)
{
    const struct
    {
        uint32_t fieldSize;
        uint32_t firstWord;
        uint32_t sentOut;
    } kCases[] = {{5, 0, 0}, {6, 0, 2}, {6, 1, 3}, {12, 0x7FFF, 3}};
    for (const auto& entry : kCases)
    {
        // The player (1) and a rider left out (5); everyone else waits in the pit box (6).
        std::array<uint32_t, MenuState::kRiders> status{};
        status.fill(kStatusTakingPart);
        status[3] = 1;
        status[7] = kStatusNotTakingPart;
        RandomTable table;
        table.words = {};
        table.words[0] = entry.firstWord;
        table.words[1] = 5;
        table.words[2] = 5;
        table.words[3] = 40;
        SendRidersOut(status, entry.fieldSize, table);
        EXPECT_EQ(std::ranges::count(status, kStatusRacing), entry.sentOut) << entry.fieldSize;
        EXPECT_EQ(status[3], 1u);
        EXPECT_EQ(status[7], kStatusNotTakingPart);
    }
}

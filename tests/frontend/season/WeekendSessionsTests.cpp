#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "frontend/season/WeekendSessions.h"

namespace
{
MenuState FreshWeekend()
{
    MenuState settings;
    ClearWeekend(settings);
    return settings;
}

SessionTimes Lap(int32_t lapMs)
{
    return {.lapMs = lapMs, .sectorMs = {lapMs / 3, lapMs / 3, lapMs - 2 * (lapMs / 3)}};
}

int Zero()
{
    return 0;
}

int Highest()
{
    return 0x7FFF;
}

TEST(WeekendBest, PracticeCountsAnHourMoreThanQualifying)
{
    struct Case
    {
        uint32_t session;
        int32_t lapMs;
        uint32_t stored;
    };
    for (const Case& c : {Case{0, 90000, 3690000}, Case{1, 95000, 95000}, Case{2, 88000, 3688000},
                          Case{3, 100000, 100000}, Case{4, 80000, 3680000}})
    {
        MenuState settings = FreshWeekend();
        StoreRiderTimes(settings, c.session, 5, Lap(c.lapMs));
        EXPECT_EQ(WeekendBest(settings, 5), c.stored) << "session " << c.session;
    }
}

TEST(WeekendBest, KeepsTheBestOverTheWeekend)
{
    MenuState settings = FreshWeekend();
    StoreRiderTimes(settings, 1, 5, Lap(95000));
    StoreRiderTimes(settings, 3, 5, Lap(97000));
    StoreRiderTimes(settings, 4, 5, Lap(80000));
    EXPECT_EQ(WeekendBest(settings, 5), 95000u);
    StoreRiderTimes(settings, 3, 5, Lap(94000));
    EXPECT_EQ(WeekendBest(settings, 5), 94000u);
}

TEST(WeekendGrid, QualifyingTimesRankBeforeFasterPracticeTimes)
{
    MenuState settings = FreshWeekend();
    StoreRiderTimes(settings, 0, 2, Lap(80000));  // fastest, but only in practice
    StoreRiderTimes(settings, 1, 6, Lap(99000));
    StoreRiderTimes(settings, 1, 4, Lap(95000));
    StoreRiderTimes(settings, 1, 1, Lap(95000));  // level with rider 4: the lower number first
    const uint32_t field = (1u << 1) | (1u << 2) | (1u << 4) | (1u << 6) | (1u << 9);
    std::array<int32_t, 26> positions{};
    GridFromWeekendBest(settings, field, positions);
    EXPECT_EQ(positions[1], 1);
    EXPECT_EQ(positions[4], 2);
    EXPECT_EQ(positions[6], 3);
    EXPECT_EQ(positions[2], 4);
    EXPECT_EQ(positions[9], 5) << "in the field without a time";
    EXPECT_EQ(positions[0], 6) << "outside the field, in rider order";
    EXPECT_EQ(positions[25], 26);
}

TEST(StoredSession, SortsByLapTimeCarryingEveryTimeAlong)
{
    MenuState settings = FreshWeekend();
    StoreRiderTimes(settings, 2, 3, {.lapMs = 95000, .sectorMs = {30000, 31000, 34000}});
    StoreRiderTimes(settings, 2, 8, {.lapMs = 91000, .sectorMs = {29000, 30000, 32000}});
    StoreRiderTimes(settings, 2, 12, {.lapMs = -1, .sectorMs = {29000, -1, -1}});
    SortStoredSession(settings, 2);

    EXPECT_EQ(SessionOrderAt(settings, 2, 0), 8);
    EXPECT_EQ(SessionTimesAt(settings, 2, 0).sectorMs[2], 32000);
    EXPECT_EQ(SessionOrderAt(settings, 2, 1), 3);
    EXPECT_EQ(SessionTimesAt(settings, 2, 1).sectorMs[0], 30000);
    for (size_t index = 2; index < 26; ++index)
    {
        const SessionTimes times = SessionTimesAt(settings, 2, index);
        EXPECT_EQ(times.lapMs, -1) << "entry " << index;
        EXPECT_EQ(times.sectorMs, (std::array<int32_t, 3>{-1, -1, -1})) << "entry " << index;
    }
}

TEST(StoredSession, AnEntryNamingNoRiderSortsLast)
{
    MenuState settings = FreshWeekend();
    StoreRiderTimes(settings, 0, 0, Lap(99000));
    StoreRiderTimes(settings, 0, 1, Lap(90000));
    // A damaged record: rider number 26 would index past the tables.
    settings.SetU8At(MenuState::kSessionOrderOffset + 1, 26);
    SortStoredSession(settings, 0);
    EXPECT_EQ(SessionOrderAt(settings, 0, 0), 0);
    EXPECT_EQ(SessionTimesAt(settings, 0, 0).lapMs, 99000);
    for (size_t index = 1; index < 26; ++index)
    {
        EXPECT_EQ(SessionTimesAt(settings, 0, index).lapMs, -1) << "entry " << index;
    }
}

TEST(SimulatedSession, RidersByStatusAndFactorsAsTheRulesSay)
{
    std::array<uint32_t, 26> status{};
    status.fill(5);
    status[0] = 1;   // the player
    status[2] = 6;   // taking part
    status[3] = 3;   // test ride
    status[4] = 9;   // racing
    status[5] = 10;  // excluded
    status[6] = 16;  // excluded
    std::array<float, 26> rating{};
    rating.fill(1.0f);
    const SimulatedSessionInputs inputs{.referenceSectorMs = {30000, 30000, 30000},
                                        .weather = Weather::Rain,
                                        .difficulty = 1,
                                        .raceStatus = status,
                                        .rating = rating};

    MenuState low = FreshWeekend();
    SimulateTimedSession(low, 0, inputs, false, Zero);
    // trunc(30000 x 1.04 x 1.08 x 1.003 x 1.0) with every random part 0.
    constexpr int32_t kSector = 33797;
    std::vector<uint8_t> riders;
    for (size_t index = 0; index < 26 && SessionOrderAt(low, 0, index) != 0xFF; ++index)
    {
        riders.push_back(SessionOrderAt(low, 0, index));
        EXPECT_EQ(SessionTimesAt(low, 0, index).sectorMs[1], kSector);
        EXPECT_EQ(SessionTimesAt(low, 0, index).lapMs, 3 * kSector);
    }
    EXPECT_EQ(riders, (std::vector<uint8_t>{2, 3, 4}));
    EXPECT_EQ(WeekendBest(low, 2), 3u * kSector + kPracticePenaltyMs);

    MenuState high = FreshWeekend();
    SimulateTimedSession(high, 0, inputs, false, Highest);
    const int32_t slowest = static_cast<int32_t>(30000 * 1.04 * 1.08 * 1.003 * 1.0127) + 255;
    EXPECT_EQ(SessionTimesAt(high, 0, 0).sectorMs[0], slowest);
    EXPECT_EQ(SessionTimesAt(high, 0, 0).lapMs, 3 * slowest + 255);
}

TEST(SimulatedSession, AWeakerRiderIsSlowerAndKeepBestKeepsAFasterStoredTime)
{
    std::array<uint32_t, 26> status{};
    status.fill(5);
    status[1] = 6;
    status[2] = 6;
    std::array<float, 26> rating{};
    rating.fill(1.0f);
    rating[2] = 0.9f;
    const SimulatedSessionInputs inputs{
        .referenceSectorMs = {30000, 31000, 32000}, .raceStatus = status, .rating = rating};
    MenuState settings = FreshWeekend();
    StoreRiderTimes(settings, 1, 2, Lap(50000));
    SimulateTimedSession(settings, 1, inputs, true, Zero);
    EXPECT_EQ(SessionOrderAt(settings, 1, 0), 2);
    EXPECT_EQ(SessionTimesAt(settings, 1, 0).lapMs, 50000) << "the stored time stays";

    MenuState fresh = FreshWeekend();
    SimulateTimedSession(fresh, 1, inputs, true, Zero);
    EXPECT_EQ(SessionOrderAt(fresh, 1, 0), 1);
    EXPECT_EQ(SessionOrderAt(fresh, 1, 1), 2);
    EXPECT_GT(SessionTimesAt(fresh, 1, 1).lapMs, SessionTimesAt(fresh, 1, 0).lapMs * 1.1 - 10);
}
}  // namespace

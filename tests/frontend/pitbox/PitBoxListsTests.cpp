#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "frontend/pitbox/PitBoxLists.h"
#include "frontend/season/ChampionshipTable.h"
#include "frontend/season/WeekendSessions.h"

namespace
{
constexpr uint32_t kPlayer = 20;

// A session of a small field: names "F. Rider<n>", the standings zeroed with no laps.
class ListsTest : public testing::Test
{
protected:
    ListsTest()
    {
        for (uint32_t rider = 0; rider < profiles_.size(); ++rider)
        {
            RiderProfile& profile = profiles_[rider];
            std::snprintf(profile.firstName.data(), profile.firstName.size(), "F%u", rider);
            std::snprintf(profile.lastName.data(), profile.lastName.size(), "Rider%u", rider);
        }
        for (auto& rider : standings_->splitMs)
        {
            for (auto& row : rider)
            {
                row.fill(-1);
            }
        }
        standings_->positionTable.fill(-1);
        standings_->sessionRanks.fill(session_rank::kRacing);
        ClearWeekend(settings_);
        ClearChampionship(settings_);
        source_.standings = standings_.get();
        source_.settings = &settings_;
        source_.profiles = profiles_;
        source_.player = kPlayer;
        source_.trackLengthMetres = 4000;
        source_.raceLaps = 3;
    }

    // The rider's laps (ms), each split in three equal sectors; entry 0 the best of each row.
    void RideLaps(uint32_t rider, const std::vector<int32_t>& laps)
    {
        auto& rows = standings_->splitMs[rider];
        for (size_t lap = 0; lap < laps.size(); ++lap)
        {
            rows[3][lap + 1] = laps[lap];
            for (size_t sector = 0; sector < 3; ++sector)
            {
                rows[sector][lap + 1] = laps[lap] > 0 ? laps[lap] / 3 : -1;
            }
        }
        for (auto& row : rows)
        {
            int32_t best = -1;
            for (size_t lap = 1; lap < row.size(); ++lap)
            {
                if (row[lap] > 0 && (best < 0 || row[lap] < best))
                {
                    best = row[lap];
                }
            }
            row[0] = best;
        }
    }

    void Order(const std::vector<int32_t>& riders)
    {
        std::copy(riders.begin(), riders.end(), standings_->positionTable.begin());
    }

    static std::vector<int32_t> Riders(const ResultList& list)
    {
        std::vector<int32_t> riders;
        for (const ListRow& row : list.rows)
        {
            riders.push_back(row.rider);
        }
        return riders;
    }

    std::unique_ptr<RaceStandings> standings_ = std::make_unique<RaceStandings>();
    std::array<RiderProfile, 26> profiles_{};
    MenuState settings_;
    ListSource source_;
};

TEST(ListTexts, StatusWordsAndLapsBehindInBothLanguages)
{
    struct Case
    {
        int32_t code;
        const char* german;
        const char* english;
    };
    for (const Case& c : {Case{-1, "Abbruch", "Abort"}, Case{-2, "Kollision", "Collision"},
                          Case{-3, "Motor", "Motor"}, Case{-4, "Sturz", "Crash"},
                          Case{-5, "Ausschlu\xDF", "Disqualif."}, Case{-6, "Sturz", "Crash"},
                          Case{-7, "Getriebe", "Gearbox"}, Case{-8, "", ""},
                          Case{-9, "Abbruch", "Abort"}, Case{-10, "", ""}, Case{0, "", ""}})
    {
        EXPECT_EQ(StatusWord(Language::German, c.code), c.german) << c.code;
        EXPECT_EQ(StatusWord(Language::English, c.code), c.english) << c.code;
    }
    EXPECT_EQ(LapsBehindText(Language::German, 1), "1 Runde");
    EXPECT_EQ(LapsBehindText(Language::German, 3), "3 Runden");
    EXPECT_EQ(LapsBehindText(Language::English, 1), "1 Lap");
    EXPECT_EQ(LapsBehindText(Language::English, 2), "2 Laps");
}

TEST_F(ListsTest, ClassificationDropsTheAbsentAndShowsStatusGapsAndSpeed)
{
    RideLaps(3, {60000, 60000, 60000});
    RideLaps(kPlayer, {61000, 61000, 61000});
    RideLaps(7, {62000, 62000});
    RideLaps(9, {70000});
    Order({3, kPlayer, 7, 5, 9, 11});
    standings_->sessionRanks[3] = 0;
    standings_->sessionRanks[kPlayer] = 0;
    standings_->sessionRanks[7] = 1;
    standings_->sessionRanks[5] = session_rank::kNotEntered;
    standings_->sessionRanks[9] = session_rank::kDisqualified;
    standings_->sessionRanks[11] = 0;  // classified without a lap

    ResultList list;
    ASSERT_TRUE(BuildSessionClassification(source_, false, list));
    EXPECT_EQ(Riders(list), (std::vector<int32_t>{3, kPlayer, 7, 9, 11}));
    EXPECT_EQ(list.playerRow, 1);
    EXPECT_EQ(list.rows[0].columns[0], "03:00:000");
    EXPECT_EQ(list.rows[0].columns[1], "00:00:000");
    EXPECT_EQ(list.rows[0].columns[2], "240.00");  // 3 x 4 km in 3 minutes
    EXPECT_EQ(list.rows[0].columns[3], "01:00:000");
    EXPECT_EQ(list.rows[1].columns[1], "00:03:000");
    EXPECT_EQ(list.rows[2].columns[1], "1 Runde");
    EXPECT_EQ(list.rows[3].flags, kRowShowsStatus);
    EXPECT_EQ(list.rows[3].columns[0], "Ausschlu\xDF");
    EXPECT_EQ(list.rows[4].columns[2], "---");  // no time to divide by
}

TEST_F(ListsTest, ClassificationOfAnUnclassifiedPlayerCanBeRefused)
{
    Order({kPlayer});
    ResultList list;
    EXPECT_FALSE(BuildSessionClassification(source_, true, list));
    EXPECT_TRUE(BuildSessionClassification(source_, false, list));
    EXPECT_EQ(list.rows.size(), 1u);
}

TEST_F(ListsTest, RaceResultStopsAtTheFirstAbsentRider)
{
    RideLaps(3, {60000, 60000, 60000});
    RideLaps(4, {61000, 61000, 61000});
    RideLaps(kPlayer, {65000});
    Order({3, 4, kPlayer, 6, 8, 12});
    standings_->sessionRanks[3] = 0;
    standings_->sessionRanks[4] = session_rank::kDisqualified;
    standings_->sessionRanks[kPlayer] = session_rank::kCrashedOut;
    standings_->sessionRanks[6] = 0;  // classified without a lap
    standings_->sessionRanks[8] = session_rank::kNotEntered;
    source_.gapMs = [](uint32_t rider, uint32_t& ahead)
    {
        const int32_t gap = rider == ahead ? 0 : 1500;
        ahead = rider;
        return gap;
    };

    const ResultList list = BuildRaceResults(source_);
    EXPECT_EQ(list.title, "Runde 3/3");
    EXPECT_EQ(Riders(list), (std::vector<int32_t>{3, 4, kPlayer, 6}));
    EXPECT_EQ(list.rows[0].name, "F. Rider3");
    EXPECT_EQ(list.rows[0].columns[0], "03:00:000");
    EXPECT_EQ(list.rows[0].columns[1], "01:00:000");
    EXPECT_EQ(list.rows[0].columns[2], "240.0");
    EXPECT_EQ(list.rows[0].columns[3], "00:00:000");
    EXPECT_EQ(list.rows[1].columns[0], "Ausschlu\xDF");
    EXPECT_EQ(list.rows[1].columns[3], "00:01:500");
    EXPECT_EQ(list.rows[2].columns[0], "--:--:---");  // out of the race
    EXPECT_EQ(list.rows[2].columns[1], "01:05:000");
    EXPECT_EQ(list.rows[3].columns[0], "--:--:---");
    EXPECT_EQ(list.rows[3].columns[2], "---");
    EXPECT_EQ(list.playerRow, 2);
}

// The heading line of the results layout names every column of the list under it.
TEST_F(ListsTest, ResultListsNameTheirColumnsInBothLanguages)
{
    using Headings = std::array<std::string, 6>;
    struct Case
    {
        Language language;
        Headings raceResult;
        Headings classification;
    };
    RideLaps(3, {60000});
    Order({3});
    standings_->sessionRanks[3] = 0;
    for (const Case& c : {Case{Language::German,
                               {"Pos", "Name", "Gesamtzeit", "Bestzeit", "km/h", "Abstand"},
                               {"Pos", "Name", "Gesamtzeit", "Abstand", "km/h", "Bestzeit"}},
                          Case{Language::English,
                               {"Pos", "Name", "Total Time", "Best Time", "km/h", "Gap"},
                               {"Pos", "Name", "Total Time", "Gap", "km/h", "Best Time"}}})
    {
        source_.language = c.language;
        EXPECT_EQ(BuildRaceResults(source_).headings, c.raceResult);
        ResultList classification;
        ASSERT_TRUE(BuildSessionClassification(source_, false, classification));
        EXPECT_EQ(classification.headings, c.classification);
    }
}

TEST_F(ListsTest, GridTimesRankAnyQualifyingTimeBeforePractice)
{
    settings_.SetU32At(MenuState::kFieldMaskOffset,
                       (1u << 2) | (1u << 4) | (1u << 6) | (1u << 8) | (1u << kPlayer));
    const auto store = [&](uint32_t session, uint32_t rider, int32_t lapMs)
    { StoreRiderTimes(settings_, session, rider, {.lapMs = lapMs}); };
    store(0, 2, 50000);  // practice only, and the fastest lap of all
    store(1, 4, 99000);
    store(1, 6, 90000);
    store(0, 6, 80000);
    store(2, 8, 90000);
    store(3, 8, 90000);  // ties rider 6 on qualifying: the lower number first
    for (uint32_t session = 0; session < 4; ++session)
    {
        SortStoredSession(settings_, session);
    }
    source_.session = 3;

    const ResultList list = BuildGridTimes(source_);
    EXPECT_EQ(Riders(list), (std::vector<int32_t>{6, 8, 4, 2, kPlayer}));
    EXPECT_EQ(list.headings[5], "aktuell");
    EXPECT_EQ(list.rows[0].columns[0], "01:30:000");
    EXPECT_EQ(list.rows[0].columns[1], "01:30:000");
    EXPECT_EQ(list.rows[1].columns[2], "01:30:000");
    EXPECT_EQ(list.rows[1].columns[3], "01:30:000");
    EXPECT_EQ(list.rows[3].columns[0], "00:50:000");
    EXPECT_EQ(list.rows[4].columns[0], "-/-");

    source_.session = 0;  // the later sessions do not count yet
    EXPECT_EQ(Riders(BuildGridTimes(source_)), (std::vector<int32_t>{2, 6, 4, 8, kPlayer}));
}

TEST_F(ListsTest, PointsTiesGoToTheBetterBestPlaceThenTheCurrentCircuit)
{
    settings_.SetU32At(MenuState::kFieldMaskOffset,
                       (1u << 1) | (1u << 2) | (1u << 3) | (1u << 4) | (1u << kPlayer));
    SetChampionshipPlace(settings_, 1, 0, 1);  // 20 + 5 = 25, best 1
    SetChampionshipPlace(settings_, 1, 1, 10);
    SetChampionshipPlace(settings_, 2, 0, 0);  // 25, best 0
    SetChampionshipPlace(settings_, 3, 0, 2);  // 16 + 25 = 41, best 0, current 0
    SetChampionshipPlace(settings_, 3, 1, 0);
    SetChampionshipPlace(settings_, 4, 0, 0);  // 41, best 0, current 2
    SetChampionshipPlace(settings_, 4, 1, 2);
    SetChampionshipPlace(settings_, 4, 2, 0);  // after the last circuit: not counted
    SetChampionshipPlace(settings_, kPlayer, 0, 15);
    SetChampionshipPlace(settings_, 9, 0, 0);  // outside the field

    const ResultList list = BuildPointsStandings(source_, 1);
    EXPECT_EQ(Riders(list), (std::vector<int32_t>{3, 4, 2, 1, kPlayer}));
    EXPECT_EQ(list.rows[0].columns[0], "41 Punkte");
    EXPECT_EQ(list.rows[4].columns[0], "0 Punkte");
    source_.language = Language::English;
    EXPECT_EQ(BuildPointsStandings(source_, 2).rows[0].columns[0], "66 Points");
}

TEST_F(ListsTest, PersonalLapsFastestFirstWithTheirFileStates)
{
    RideLaps(kPlayer, {70000, -1, 65000, 68000});
    source_.lapFileState = [](uint32_t lap)
    { return lap == 3 ? LapFileCheck::LoadedGhost : LapFileCheck::Usable; };

    const ResultList list = BuildPersonalLaps(source_);
    EXPECT_FALSE(list.holdsRiders);
    EXPECT_EQ(Riders(list), (std::vector<int32_t>{3, 4, 1}));
    EXPECT_EQ(list.rows[0].flags, kLapFileValid | kLapMayBeKept | kLapIsGhost);
    EXPECT_EQ(list.rows[1].flags, kLapFileValid | kLapMayBeKept);
    EXPECT_EQ(list.rows[0].columns[0], "01:05:000");
    EXPECT_EQ(list.headings[1], "Runde");

    source_.lapFileState = nullptr;  // a test ride keeps no ghosts
    EXPECT_EQ(BuildPersonalLaps(source_).rows[0].flags, 0);

    RideLaps(kPlayer, {});
    standings_->splitMs[kPlayer][3].fill(-1);
    EXPECT_TRUE(BuildPersonalLaps(source_).rows.empty());
}

TEST_F(ListsTest, LapTimesStartWithTheIdealLap)
{
    RideLaps(kPlayer, {90000, 93000});
    standings_->splitMs[kPlayer][1][0] = 29000;  // a better middle sector elsewhere
    const ResultList list = BuildLapTimesList(source_);
    EXPECT_EQ(Riders(list), (std::vector<int32_t>{0, 1, 2}));
    EXPECT_EQ(list.rows[0].name, "theoretisch");
    EXPECT_EQ(list.rows[0].columns[0], "01:29:000");
    EXPECT_EQ(list.rows[2].name, "Runde 2");

    standings_->splitMs[kPlayer][2][0] = -1;  // not every sector: the best lap
    EXPECT_EQ(BuildLapTimesList(source_).rows[0].columns[0], "01:30:000");
}

TEST_F(ListsTest, BestTimesComeLiveForTheRunningSessionAndStoredForEarlierOnes)
{
    standings_->riderCount = 4;
    RideLaps(0, {80000});
    RideLaps(2, {75000});
    standings_->sessionRanks[3] = session_rank::kNotEntered;
    StoreRiderTimes(settings_, 0, 7, {.lapMs = 99000, .sectorMs = {33000, 33000, 33000}});
    SortStoredSession(settings_, 0);
    source_.session = 1;

    const ResultList live = BuildBestTimesList(source_, 0, 1);
    EXPECT_EQ(Riders(live), (std::vector<int32_t>{2, 0, 1}));
    EXPECT_EQ(live.rows[2].columns[0], "-/-");
    const ResultList stored = BuildBestTimesList(source_, 0, 0);
    EXPECT_EQ(Riders(stored), (std::vector<int32_t>{7}));
    EXPECT_EQ(stored.rows[0].columns[1], "00:33:000");
    EXPECT_TRUE(BuildBestTimesList(source_, 1, 0).rows.empty());

    struct Tab
    {
        uint32_t day, tab, session;
    };
    for (const Tab& t :
         {Tab{0, 0, 0}, Tab{0, 1, 1}, Tab{1, 0, 2}, Tab{1, 1, 3}, Tab{2, 2, 4}, Tab{2, 3, 5}})
    {
        EXPECT_EQ(SessionOfTab(t.day, t.tab), t.session);
    }
}
}  // namespace

namespace
{
TEST(SeriesTable, ColumnsNarrowFromElevenCircuits)
{
    struct Case
    {
        size_t circuits;
        int32_t width;
    };
    for (const Case& c :
         {Case{1, 54}, Case{8, 54}, Case{10, 54}, Case{11, 49}, Case{12, 45}, Case{18, 30}})
    {
        EXPECT_EQ(SeriesColumnWidth(c.circuits), c.width) << c.circuits;
    }
    MenuState settings;
    for (size_t entry = 0; entry < MenuState::kNetworkCircuitEntries; ++entry)
    {
        settings.SetI8At(MenuState::kNetworkCircuitsOffset + entry, entry < 8 ? 3 : -1);
    }
    EXPECT_EQ(SeriesCircuitCount(settings), 8u);
    for (size_t entry = 0; entry < MenuState::kNetworkCircuitEntries; ++entry)
    {
        settings.SetI8At(MenuState::kNetworkCircuitsOffset + entry, 17);
    }
    EXPECT_EQ(SeriesCircuitCount(settings), MenuState::kNetworkCircuitEntries);
}

TEST(SeriesTable, PointsOfEachPlace)
{
    EXPECT_EQ(PlacePointsText(0), "25");
    EXPECT_EQ(PlacePointsText(14), "1");
    for (const uint8_t place : {uint8_t{15}, uint8_t{25}, uint8_t{0x7F}, uint8_t{0xFF}})
    {
        EXPECT_EQ(PlacePointsText(place), "-") << int{place};
    }
}
}  // namespace

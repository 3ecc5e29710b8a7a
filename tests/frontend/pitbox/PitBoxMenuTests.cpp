// The pit box on the game's render library under the scripted platform: pages built from a
// scripted weekend, clicks through the platform's mouse, the frames it presents.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/clock/RaceClock.h"
#include "app/device/RenderDevice.h"
#include "app/game/CurrentRace.h"
#include "app/input/KeyState.h"
#include "core/files/FileSystem.h"
#include "frontend/pitbox/PitBoxMenu.h"
#include "frontend/season/ChampionshipTable.h"
#include "frontend/season/WeekendSessions.h"
#include "frontend/toolkit/FileRequester.h"
#include "frontend/toolkit/MenuFonts.h"
#include "race/RaceContext.h"
#include "race/laps/LapFile.h"
#include "tests/frontend/toolkit/ToolkitScreen.h"

namespace
{
constexpr uint32_t kPlayer = 20;

class PitBoxMenuTest : public ToolkitScreen
{
protected:
    void SetUp() override
    {
        OpenScreen();
        LoadMenuFonts();
        LoadRaceFonts();
        settings_ = MenuState{};
        ClearWeekend(settings_);
        ClearChampionship(settings_);
        g_language = Language::German;
        g_pitMenuHidden = 0;
        g_clockRate = 1;
        RaceContext& race = g_raceContext;
        race.playerRider = kPlayer;
        race.current.circuitIndex = CircuitId::Mugello;
        race.race.totalLaps = 3;
        race.race.ghostFileName = "GhostFile";
        for (uint32_t rider = 0; rider < kRiderCount; ++rider)
        {
            RiderProfile& profile = race.riderProfiles[rider];
            std::snprintf(profile.firstName.data(), profile.firstName.size(), "Max");
            std::snprintf(profile.lastName.data(), profile.lastName.size(), "Fahrer%u", rider);
            profile.shownName = 0;
            profile.displayNames[0] = profile.displayNames[1] =
                "Max Fahrer" + std::to_string(rider);
        }
        RaceStandings& standings = race.standings;
        for (auto& rider : standings.splitMs)
        {
            for (auto& row : rider)
            {
                row.fill(-1);
            }
        }
        standings.positionTable.fill(-1);
        standings.sessionRanks.fill(session_rank::kRacing);
        standings.sessionOver = 0;
        standings.riderCount = 6;
        standings.sessionEndTime = 1800.0f;
        standings.Session().raceTime = 600.0f;
        standings.Session().isRace = false;
        for (BikeRecord& bike : race.bikes)
        {
            bike.aiFlags = 0;
            bike.lapsStarted = 1;
        }
    }

    void TearDown() override
    {
        menu_.reset();
        g_raceContext.race.ghostRecord = nullptr;
        ToolkitScreen::TearDown();
    }

    void Mode(GameMode mode, uint32_t session)
    {
        settings_.SetU32At(MenuState::kGameModeOffset, static_cast<uint32_t>(mode));
        settings_.SetU32At(MenuState::kSessionOffset, session);
    }

    PitBoxMenu& Menu()
    {
        if (menu_ == nullptr)
        {
            menu_ = std::make_unique<PitBoxMenu>(
                PitBoxContext{.race = &g_raceContext, .settings = &settings_, .ghost = &ghost_});
        }
        return *menu_;
    }

    int32_t Step()
    {
        window_.PumpMessages();
        return Menu().Frame(0.04f);
    }

    // Runs frames until the menu gives a result, at most the count.
    int32_t RunUntilResult(int frames)
    {
        for (int frame = 0; frame < frames; ++frame)
        {
            if (const int32_t result = Step(); result != 0)
            {
                return result;
            }
        }
        return 0;
    }

    void Click(int x, int y)
    {
        platform_.Push({.kind = PlatformEvent::Kind::MouseMove, .x = x, .y = y});
        Step();
        platform_.Push({.kind = PlatformEvent::Kind::MouseButton, .button = 1, .pressed = true});
        Step();
        platform_.Push({.kind = PlatformEvent::Kind::MouseButton, .button = 1, .pressed = false});
        Step();
    }

    void RideLaps(uint32_t rider, const std::vector<int32_t>& laps)
    {
        auto& rows = g_raceContext.standings.splitMs[rider];
        int32_t best = -1;
        for (size_t lap = 0; lap < laps.size(); ++lap)
        {
            rows[3][lap + 1] = laps[lap];
            for (size_t sector = 0; sector < 3; ++sector)
            {
                rows[sector][lap + 1] = laps[lap] / 3;
                rows[sector][0] =
                    rows[sector][0] < 0 ? laps[lap] / 3 : std::min(rows[sector][0], laps[lap] / 3);
            }
            best = best < 0 ? laps[lap] : std::min(best, laps[lap]);
        }
        rows[3][0] = best;
    }

    // The weekend of a Grand Prix at its Saturday: Friday's sessions stored.
    void ScriptWeekend()
    {
        settings_.SetU32At(MenuState::kFieldMaskOffset,
                           (1u << 2) | (1u << 4) | (1u << 7) | (1u << 11) | (1u << kPlayer));
        const std::vector<std::pair<uint32_t, int32_t>> friday = {
            {2, 101200}, {4, 99870}, {7, 100450}, {11, 103010}, {kPlayer, 100020}};
        for (const auto& [rider, lapMs] : friday)
        {
            StoreRiderTimes(settings_, 0, rider,
                            {.lapMs = lapMs + 1500, .sectorMs = {33000, 34000, lapMs - 65500}});
            StoreRiderTimes(settings_, 1, rider,
                            {.lapMs = lapMs, .sectorMs = {32800, 33900, lapMs - 66700}});
        }
        SortStoredSession(settings_, 0);
        SortStoredSession(settings_, 1);
    }

    // Frames are hashed over the whole screen, with the reference picture beside the test.
    void ExpectPage(const std::string& name, uint64_t hash)
    {
        ASSERT_FALSE(platform_.Frames().empty());
        ExpectGolden(name, platform_.Frames().size() - 1, kScreenWidth, kScreenHeight, hash);
    }

    MenuState settings_;
    LoadedGhost ghost_;
    std::unique_ptr<PitBoxMenu> menu_;
};

TEST_F(PitBoxMenuTest, CalendarAtSaturdayQualifyingOffersTheRestOfTheWeekend)
{
    Mode(GameMode::GrandPrix, 3);
    Menu().SetSessionWords(BetweenSessionWords(3));
    Menu().EnterPage(PitBoxMenu::kCalendarPage);
    std::vector<bool> enabled;
    for (uint32_t button = 1; button <= 6; ++button)
    {
        enabled.push_back(Menu().IsCalendarButtonEnabled(button));
    }
    EXPECT_EQ(enabled, (std::vector<bool>{false, false, false, true, true, true}));
    Step();
    Step();

    Click(60 + 2 * 180 + 20, 200 + 20);  // Sunday's warm-up
    EXPECT_EQ(RunUntilResult(200), 5);
}

TEST_F(PitBoxMenuTest, TheAbortQuestionEndsTheWeekendOnlyWhenConfirmed)
{
    Mode(GameMode::Championship, 0);
    settings_.SetU8At(MenuState::kTimeLimitOnOffset, 1);
    Menu().SetSessionWords(BetweenSessionWords(0));
    Menu().EnterPage(PitBoxMenu::kCalendarPage);
    Step();
    Click(40, 460);  // abort
    EXPECT_TRUE(Menu().IsConfirmationOpen());
    RunUntilResult(30);
    Click(260, 256);  // cancel
    EXPECT_EQ(RunUntilResult(30), 0);
    Click(40, 460);
    RunUntilResult(30);
    Click(540, 256);  // OK
    EXPECT_EQ(Menu().Result(), PitBoxMenu::kAbortWeekend);
    EXPECT_EQ(settings_.U8At(MenuState::kTimeLimitOnOffset), 0);
}

TEST_F(PitBoxMenuTest, TheClockRateCyclesAndLeavingResetsIt)
{
    Mode(GameMode::GrandPrix, 2);
    Menu().SetSessionWords(InRaceWords(GameMode::GrandPrix, 2));
    Menu().EnterPage(PitBoxMenu::kTimesPage);
    ASSERT_TRUE(Menu().IsButtonEnabled(kClockRateButton));
    std::vector<uint32_t> rates;
    for (int press = 0; press < 5; ++press)
    {
        Click(430, 460);
        rates.push_back(g_clockRate.load());
    }
    EXPECT_EQ(rates, (std::vector<uint32_t>{2, 4, 8, 1, 2}));
    Click(580, 460);  // continue
    EXPECT_EQ(Menu().Result(), PitBoxMenu::kContinue);
    EXPECT_EQ(g_clockRate.load(), 1u);
}

TEST_F(PitBoxMenuTest, TelemetryAndContinueFollowTheSession)
{
    Mode(GameMode::TestRide, 0);
    Menu().SetSessionWords(InRaceWords(GameMode::TestRide, 0));
    Menu().EnterPage(PitBoxMenu::kTimesPage);
    EXPECT_FALSE(Menu().IsButtonEnabled(kTelemetryButton));  // no lap file yet
    EXPECT_TRUE(Menu().IsButtonEnabled(kContinueButton));

    directory_.WriteFile("Tempdaten/Daten_Runde1.fhr", "x");
    g_raceContext.standings.Session().raceTime = 2000.0f;  // past the session's time
    Menu().EnterPage(PitBoxMenu::kTimesPage);
    EXPECT_TRUE(Menu().IsButtonEnabled(kTelemetryButton));
    EXPECT_FALSE(Menu().IsButtonEnabled(kContinueButton));
    Menu().Leave();
}

TEST_F(PitBoxMenuTest, HidingShowsTheRaceUntilTheMenuIsActivatedAgain)
{
    Mode(GameMode::GrandPrix, 0);
    Menu().SetSessionWords(InRaceWords(GameMode::GrandPrix, 0));
    Menu().EnterPage(PitBoxMenu::kTimesPage);
    Click(120, 460);  // hide
    EXPECT_EQ(g_pitMenuHidden, 1);
    const size_t presented = platform_.Frames().size();
    Step();
    EXPECT_EQ(platform_.Frames().size(), presented);  // the race draws, not the menu
    Menu().Activate(0);
    EXPECT_EQ(g_pitMenuHidden, 0);
    Step();
    EXPECT_GT(platform_.Frames().size(), presented);
}

TEST_F(PitBoxMenuTest, TheRaceKeepsItsSceneWhileTheMenuShows)
{
    Mode(GameMode::GrandPrix, 0);
    VectorVars& vars = g_renderDevice.Vars();
    const uint32_t marker = 0x5A5A1234;
    std::memcpy(reinterpret_cast<uint8_t*>(&vars) + 40, &marker, sizeof(marker));
    Menu().SetSessionWords(InRaceWords(GameMode::GrandPrix, 0));
    Menu().EnterPage(PitBoxMenu::kTimesPage);
    Step();
    uint32_t seen = 0;
    std::memcpy(&seen, reinterpret_cast<uint8_t*>(&g_renderDevice.Vars()) + 40, sizeof(seen));
    EXPECT_EQ(seen, marker);
    Click(120, 460);  // hide: the race runs and changes its scene
    const uint32_t moved = 0x77;
    std::memcpy(reinterpret_cast<uint8_t*>(&g_renderDevice.Vars()) + 40, &moved, sizeof(moved));
    Menu().Activate(0);
    Step();
    std::memcpy(&seen, reinterpret_cast<uint8_t*>(&g_renderDevice.Vars()) + 40, sizeof(seen));
    EXPECT_EQ(seen, moved);
    Menu().Leave();
    std::memcpy(&seen, reinterpret_cast<uint8_t*>(&g_renderDevice.Vars()) + 40, sizeof(seen));
    EXPECT_EQ(seen, moved);
}
}  // namespace

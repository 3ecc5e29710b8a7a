// The pit box on the game's render library under the scripted platform: pages built from a
// scripted weekend, clicks through the platform's mouse, the frames it presents.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "app/archive/ArchiveSet.h"
#include "app/clock/RaceClock.h"
#include "app/device/RenderDevice.h"
#include "app/game/CurrentRace.h"
#include "app/input/KeyState.h"
#include "core/files/FileSystem.h"
#include "frontend/SessionChoices.h"
#include "frontend/pitbox/PitBoxEntry.h"
#include "frontend/pitbox/PitBoxMenu.h"
#include "frontend/pitbox/PitBoxRaceMenu.h"
#include "frontend/season/ChampionshipTable.h"
#include "frontend/season/WeekendSessions.h"
#include "frontend/toolkit/FileRequester.h"
#include "frontend/toolkit/MenuBackground.h"
#include "frontend/toolkit/MenuFonts.h"
#include "kit/font/DemoFonts.h"
#include "kit/menu/MenuPictures.h"
#include "kit/menu/MenuPreviewPictures.h"
#include "kit/menu/PitBoxPictures.h"
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
        MountPitBoxArchives();
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
            std::snprintf(profile.infoText.data(), profile.infoText.size(), "Werksfahrer");
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
        standings.riderCount = kRiderCount;
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
        FreeMenuBackground();
        ToolkitScreen::TearDown();
        g_archivePatch = nullptr;
    }

    // The menu archive again with the pit box's pictures and the nation flags, and the patch
    // archive with the ghost page's.
    void MountPitBoxArchives()
    {
        kit::DemoArchives archives;
        std::string error;
        ASSERT_TRUE(kit::AddDemoFonts(archives, error)) << error;
        ASSERT_TRUE(kit::AddMenuPictures(archives.menu, error)) << error;
        ASSERT_TRUE(kit::AddPitBoxPictures(archives.menu, archives.patch, error)) << error;
        ASSERT_TRUE(kit::AddMenuFlagsAndPreview(archives.menu, error)) << error;
        for (auto [name, writer, archive] : {std::tuple{"pitmenu.cpr", &archives.menu, &pitMenu_},
                                             std::tuple{"patch.cpr", &archives.patch, &patch_}})
        {
            const std::vector<uint8_t> bytes = writer->Build();
            directory_.WriteFile(name, std::string(bytes.begin(), bytes.end()));
            *archive = std::make_unique<CprArchive>();
            ASSERT_TRUE((*archive)->Open(name, true));
        }
        g_archiveMenu = pitMenu_.get();
        g_archivePatch = patch_.get();
        g_renderDevice.SetArchive(g_archiveMenu);
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

    std::unique_ptr<CprArchive> pitMenu_;
    std::unique_ptr<CprArchive> patch_;
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

// Put away, the race runs at its own pace; shown again, the button says so.
TEST_F(PitBoxMenuTest, HidingTheMenuTakesBackTheChosenClockRate)
{
    Mode(GameMode::GrandPrix, 2);
    Menu().SetSessionWords(InRaceWords(GameMode::GrandPrix, 2));
    Menu().EnterPage(PitBoxMenu::kTimesPage);
    Click(430, 460);
    Click(430, 460);
    ASSERT_EQ(g_clockRate.load(), 4u);
    Click(120, 460);  // hide
    EXPECT_EQ(g_clockRate.load(), 1u);
    Menu().Activate(0);
    EXPECT_EQ(ClockRateOf(Menu().ClockRateIndex()), 1u);
    Click(430, 460);
    EXPECT_EQ(g_clockRate.load(), 2u);
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

// Put away, the menu steps the view forward and back once: from a rider out of the race the
// race view comes back on one that still rides.
TEST_F(PitBoxMenuTest, HidingTheMenuStepsTheViewOntoARiderStillRacing)
{
    RaceContext& race = g_raceContext;
    const CurrentRace current = race.current;
    const uint16_t riders = race.race.riderCount;
    const uint16_t nodes = race.race.nodeCount;
    const auto inRace = race.race.inRace;
    race.race.riderCount = kRiderCount;
    race.race.nodeCount = 10;
    race.race.inRace.fill(0);
    race.standings.positionTable = {4, kPlayer, 2, -1};
    for (const auto& [rider, place] : {std::pair{4u, 1}, {kPlayer, 2}, {2u, 3}})
    {
        race.standings.gridOrder[rider] = place;
        race.race.inRace[rider] = rider != kPlayer ? 1 : 0;
        race.bikes[rider].flags = 0;
        race.bikes[rider].aiLineNode = 0;
    }
    race.current.viewedRider = kPlayer;
    Mode(GameMode::GrandPrix, 0);
    Menu().SetSessionWords(InRaceWords(GameMode::GrandPrix, 0));
    Menu().EnterPage(PitBoxMenu::kTimesPage);
    Click(120, 460);  // hide
    EXPECT_EQ(g_pitMenuHidden, 1);
    EXPECT_EQ(race.current.viewedRider, 4u);
    race.current = current;
    race.race.riderCount = riders;
    race.race.nodeCount = nodes;
    race.race.inRace = inRace;
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

namespace
{
std::string ValidLap(int32_t lapMs)
{
    const auto record = std::make_unique<LapRecord>();
    record->sampleCount = 40;
    record->valid = 1;
    record->header = {3, 1, 1, kPlayer, 0, 1013, 21, 55};
    record->times = {lapMs / 3, 2 * lapMs / 3, lapMs - 100, lapMs};
    const std::vector<uint8_t> bytes = StoreLapFile(*record);
    return std::string(bytes.begin(), bytes.end());
}

TEST_F(PitBoxMenuTest, ALapKeptInOneSessionIsListedLoadedAndDeleted)
{
    Mode(GameMode::GhostRace, 0);
    RideLaps(kPlayer, {99000, 97000});
    directory_.WriteFile("Tempdaten/Daten_Runde1.fhr", ValidLap(99000));
    directory_.WriteFile("Tempdaten/Daten_Runde2.fhr", ValidLap(97000));
    Menu().SetSessionWords(InRaceWords(GameMode::GhostRace, 0));
    Menu().EnterPage(PitBoxMenu::kTimesPage);
    ASSERT_EQ(Menu().List().rows.size(), 2u);
    EXPECT_FALSE(Menu().IsButtonEnabled(kKeepGhostButton));

    Click(300, 105 + 5);  // the fastest lap, lap 2
    ASSERT_TRUE(Menu().IsButtonEnabled(kKeepGhostButton));
    Click(120, 460);  // keep it
    EXPECT_TRUE(files::IsFile("save/ghost/GhostFile0.fhr"));
    EXPECT_EQ(directory_.ReadFile("save/ghost/GhostFile0.fhr"), ValidLap(97000));
    EXPECT_FALSE(Menu().IsButtonEnabled(kKeepGhostButton));  // once per listing
    Menu().Leave();

    // The next session's ghost page.
    menu_.reset();
    Menu().EnterPage(PitBoxMenu::kGhostPage);
    ASSERT_EQ(Menu().Ghosts().size(), 2u);
    EXPECT_EQ(Menu().Ghosts()[1].fileTitle, "GhostFile0");
    EXPECT_EQ(Menu().GhostScrollKnob(), 0);
    EXPECT_FALSE(Menu().IsButtonEnabled(kSetupButton));  // nothing to delete yet
    Click(100, 145 + 19 + 5);
    EXPECT_EQ(Menu().SelectedGhost(), 1);
    Click(590, 455);  // OK
    EXPECT_EQ(Menu().Result(), PitBoxMenu::kContinue);
    ASSERT_NE(ghost_.Record(), nullptr);
    EXPECT_EQ(g_raceContext.race.ghostRecord, ghost_.Record());
    EXPECT_EQ(ghost_.Record()->times[3], 97000);
    Menu().Leave();

    menu_.reset();
    Menu().EnterPage(PitBoxMenu::kGhostPage);  // listing drops the loaded ghost
    EXPECT_EQ(g_raceContext.race.ghostRecord, nullptr);
    Click(100, 145 + 19 + 5);
    Click(360, 455);  // delete
    EXPECT_EQ(Menu().Ghosts().size(), 1u);
    EXPECT_FALSE(files::Exists("save/ghost/GhostFile0.fhr"));
    EXPECT_FALSE(Menu().IsButtonEnabled(kSetupButton));
    Click(590, 455);  // OK with only riding without a ghost
    EXPECT_EQ(Menu().Result(), PitBoxMenu::kContinue);
    EXPECT_EQ(g_raceContext.race.ghostRecord, nullptr);
}

TEST_F(PitBoxMenuTest, ADamagedGhostStaysOnThePage)
{
    Mode(GameMode::GhostRace, 0);
    directory_.WriteFile("save/ghost/broken.fhr", ValidLap(90000).substr(0, 600));
    Menu().EnterPage(PitBoxMenu::kGhostPage);
    ASSERT_EQ(Menu().Ghosts().size(), 2u);  // its head reads well
    Click(100, 145 + 19 + 5);
    Click(590, 455);
    EXPECT_EQ(Menu().Result(), PitBoxMenu::kStay);
    EXPECT_EQ(ghost_.Record(), nullptr);
    EXPECT_EQ(g_clockRate.load(), 1u);
}

TEST_F(PitBoxMenuTest, TheGhostNameIsTypedInItsField)
{
    Mode(GameMode::GhostRace, 0);
    Menu().EnterPage(PitBoxMenu::kGhostPage);
    Click(300, 398);
    EXPECT_FALSE(Menu().IsButtonEnabled(kContinueButton));
    for (const uint8_t key : {uint8_t{vk::Back}, uint8_t{'X'}, uint8_t{'7'}, uint8_t{vk::Return}})
    {
        platform_.Push({.kind = PlatformEvent::Kind::KeyDown, .virtualKey = key});
        platform_.Push({.kind = PlatformEvent::Kind::KeyUp, .virtualKey = key});
        Step();
    }
    Step();
    EXPECT_EQ(g_raceContext.race.ghostFileName, "GhostFilx7");
    EXPECT_TRUE(Menu().IsButtonEnabled(kContinueButton));
}

// Golden frames of the pages of a scripted weekend, in both languages.
TEST_F(PitBoxMenuTest, GoldenCalendarPages)
{
    Mode(GameMode::GrandPrix, 3);
    Menu().SetSessionWords(BetweenSessionWords(3));
    Menu().EnterPage(PitBoxMenu::kCalendarPage);
    RunUntilResult(3);
    ExpectPage("pitbox_calendar", 0xDFA04BBD3BAE835Aull);
    g_language = Language::English;
    Menu().EnterPage(PitBoxMenu::kCalendarPage);
    RunUntilResult(3);
    ExpectPage("pitbox_calendar_english", 0x772A6B38C8A391E6ull);
}

TEST_F(PitBoxMenuTest, GoldenTimesPageOfSaturdayTraining)
{
    ScriptWeekend();
    Mode(GameMode::GrandPrix, 2);
    for (uint32_t rider = 0; rider < kRiderCount; ++rider)
    {
        if ((settings_.U32At(MenuState::kFieldMaskOffset) >> rider & 1u) == 0)
        {
            g_raceContext.standings.sessionRanks[rider] = session_rank::kNotEntered;
        }
    }
    RideLaps(4, {99500, 98900});
    RideLaps(kPlayer, {100100, 99300});
    RideLaps(7, {101000});
    Menu().SetSessionWords(InRaceWords(GameMode::GrandPrix, 2));
    Menu().EnterPage(PitBoxMenu::kTimesPage);
    RunUntilResult(3);
    ExpectPage("pitbox_times", 0xB2BD4F9FF03396A1ull);
    Click(80, 100);             // Friday
    Click(30 + 115 + 50, 128);  // its qualifying
    RunUntilResult(2);
    ExpectPage("pitbox_times_friday_qualifying", 0x0892E075E53211B3ull);
}

TEST_F(PitBoxMenuTest, GoldenGridTimesAndRaceResultAndPoints)
{
    ScriptWeekend();
    Mode(GameMode::GrandPrix, 1);
    g_raceContext.standings.sessionOver = 1;
    Menu().SetSessionWords(InRaceWords(GameMode::GrandPrix, 1));
    Menu().EnterPage(PitBoxMenu::kTimesPage);
    RunUntilResult(3);
    ExpectPage("pitbox_grid_times", 0x938952A7AB9614F4ull);

    g_language = Language::English;
    Mode(GameMode::GrandPrix, 5);
    g_raceContext.standings.Session().isRace = true;
    RideLaps(4, {99000, 98000, 98500});
    RideLaps(kPlayer, {99500, 98700, 98800});
    RideLaps(2, {100500, 99700, 99800});
    RideLaps(7, {101000});
    g_raceContext.standings.positionTable = {4, kPlayer, 2, 7, 11, -1};
    g_raceContext.standings.sessionRanks[4] = 0;
    g_raceContext.standings.sessionRanks[kPlayer] = 0;
    g_raceContext.standings.sessionRanks[2] = 0;
    g_raceContext.standings.sessionRanks[7] = session_rank::kCrashedOut;
    g_raceContext.standings.sessionRanks[11] = session_rank::kNotEntered;
    Menu().EnterPage(PitBoxMenu::kTimesPage);
    RunUntilResult(3);
    ExpectPage("pitbox_race_result_english", 0x4CD428D14CBEE463ull);

    g_language = Language::German;
    settings_.SetU32At(MenuState::kCircuitOffset, 3);
    for (uint32_t circuit = 0; circuit <= 3; ++circuit)
    {
        SetChampionshipPlace(settings_, 4, circuit, static_cast<uint8_t>(circuit % 2));
        SetChampionshipPlace(settings_, kPlayer, circuit, static_cast<uint8_t>(1 - circuit % 2));
        SetChampionshipPlace(settings_, 2, circuit, 2);
        SetChampionshipPlace(settings_, 7, circuit, circuit == 3 ? kUnplaced : 3);
    }
    Menu().EnterPage(PitBoxMenu::kPointsPage);
    RunUntilResult(3);
    ExpectPage("pitbox_points", 0x3CA97B824BBDAC1Eull);
}

TEST_F(PitBoxMenuTest, GoldenGhostPage)
{
    Mode(GameMode::GhostRace, 0);
    directory_.WriteFile("save/ghost/GhostFile0.fhr", ValidLap(97123));
    directory_.WriteFile("save/ghost/schnell3.fhr", ValidLap(95456));
    Menu().EnterPage(PitBoxMenu::kGhostPage);
    Click(100, 145 + 19 + 5);
    RunUntilResult(2);
    ExpectPage("pitbox_ghosts", 0x1D37877C1690BFB2ull);
    g_language = Language::English;
    Menu().EnterPage(PitBoxMenu::kGhostPage);
    RunUntilResult(3);
    ExpectPage("pitbox_ghosts_english", 0x9AD34CA0DBF91F66ull);
}
}  // namespace

namespace
{
TEST_F(PitBoxMenuTest, TheSessionFlowRunsAPageUntilItsResult)
{
    Mode(GameMode::GrandPrix, 0);
    SetMainWindow(&window_);
    const uint32_t at = platform_.PresentCount() + 4;
    platform_.AtFrame(at, {.kind = PlatformEvent::Kind::MouseMove, .x = 100, .y = 290});
    platform_.AtFrame(at, {.kind = PlatformEvent::Kind::MouseButton, .button = 1, .pressed = true});
    platform_.AtFrame(at + 1,
                      {.kind = PlatformEvent::Kind::MouseButton, .button = 1, .pressed = false});
    EXPECT_EQ(RunPitBoxPage(Menu(), PitBoxMenu::kCalendarPage, BetweenSessionWords(0)), 2);
    Menu().Leave();

    platform_.Push({.kind = PlatformEvent::Kind::Quit});
    EXPECT_EQ(RunPitBoxPage(Menu(), PitBoxMenu::kCalendarPage, BetweenSessionWords(0)),
              PitBoxMenu::kStay);
    // A quit asked for before the page (in the race, say) ends it too, without a second one.
    EXPECT_EQ(RunPitBoxPage(Menu(), PitBoxMenu::kCalendarPage, BetweenSessionWords(0)),
              PitBoxMenu::kStay);
    SetMainWindow(nullptr);
}
}  // namespace

namespace
{
TEST_F(PitBoxMenuTest, TheCircuitInformationReturnsToThePageItCameFrom)
{
    Mode(GameMode::GrandPrix, 5);
    g_raceContext.standings.sessionOver = 1;
    Menu().SetSessionWords(InRaceWords(GameMode::GrandPrix, 5));
    Menu().EnterPage(PitBoxMenu::kTimesPage);
    Click(200, 460);  // information
    EXPECT_EQ(Menu().CurrentPage(), PitBoxMenu::kCircuitInfoPage);
    Click(600, 455);  // its OK
    EXPECT_EQ(Menu().CurrentPage(), PitBoxMenu::kTimesPage);
    Click(600, 455);  // the OK is gone with its page: this is continue
    EXPECT_EQ(Menu().Result(), PitBoxMenu::kContinue);
}
}  // namespace

namespace
{
TEST_F(PitBoxMenuTest, TheNetworkCountdownShowsOnTheResultsAndEndsThem)
{
    Mode(GameMode::NetworkRace, 0);
    settings_.SetU8At(MenuState::kTimeLimitOnOffset, 1);
    settings_.SetU32At(MenuState::kTimeLimitIndexOffset, 0);  // 30 s
    settings_.SetU32At(MenuState::kNetworkRaceIndexOffset, 0);
    settings_.SetU8At(MenuState::kNetworkCircuitsOffset, 3);
    // The countdown belongs to the game's settings and mode.
    const MenuState gameSettings = g_menuState;
    const GameMode gameMode = g_gameMode;
    g_menuState = settings_;
    g_gameMode = GameMode::NetworkRace;
    StartSessionCountdown();
    EXPECT_EQ(g_menuDelayMs.load(), 30000);
    g_raceContext.standings.sessionOver = 1;
    Menu().SetSessionWords(InRaceWords(GameMode::NetworkRace, 0));
    Menu().EnterPage(PitBoxMenu::kTimesPage);
    EXPECT_EQ(RunUntilResult(3), PitBoxMenu::kStay);
    ExpectPage("pitbox_network_results", 0xC0C0ADA228C9EA2Cull);
    // Below three quarters of the limit the page goes on by itself.
    g_menuDelayMs = 22499;
    EXPECT_EQ(RunUntilResult(200), PitBoxMenu::kContinue);
    g_menuDelayMs = 0;
    g_menuState = gameSettings;
    g_gameMode = gameMode;
}
}  // namespace

namespace
{
TEST_F(PitBoxMenuTest, TheRaceMenuLeftWhileHiddenGivesTheRaceItsTexturesAndScene)
{
    const MenuState gameSettings = g_menuState;
    const GameMode gameMode = g_gameMode;
    g_menuState = settings_;
    g_menuState.SetU32At(MenuState::kGameModeOffset, static_cast<uint32_t>(GameMode::GrandPrix));
    g_gameMode = GameMode::GrandPrix;
    constexpr int32_t kRaceTexture = 77;
    ASSERT_NE(g_renderDevice.LoadTexture("boxenmenu/sliderV.tga", kRaceTexture, 0, 0), nullptr);
    const uint32_t marker = 0x5A5A1234;
    std::memcpy(reinterpret_cast<uint8_t*>(&g_renderDevice.Vars()) + 40, &marker, sizeof(marker));
    const auto frame = [this](PitBoxRaceMenu& menu)
    {
        window_.PumpMessages();
        return menu.Frame(0.04f);
    };

    PitBoxRaceMenu menu;
    ASSERT_TRUE(menu.Open());
    ASSERT_NE(menu.Menu(), nullptr);
    EXPECT_EQ(menu.Menu()->CurrentPage(), PitBoxMenu::kTimesPage);
    EXPECT_TRUE(menu.Menu()->IsButtonEnabled(kHideButton));       // practice can be watched
    EXPECT_EQ(g_renderDevice.GetTexture(kRaceTexture), nullptr);  // the menu's own set
    platform_.Push({.kind = PlatformEvent::Kind::MouseMove, .x = 120, .y = 460});
    frame(menu);
    platform_.Push({.kind = PlatformEvent::Kind::MouseButton, .button = 1, .pressed = true});
    frame(menu);
    ASSERT_TRUE(menu.IsHidden());
    EXPECT_NE(g_renderDevice.GetTexture(kRaceTexture), nullptr);  // the race shows
    EXPECT_EQ(frame(menu), InRaceMenu::kStillOpen);

    menu.Close();
    EXPECT_EQ(menu.Menu(), nullptr);
    EXPECT_FALSE(menu.IsHidden());
    EXPECT_EQ(g_pitMenuHidden, 0);
    EXPECT_NE(g_renderDevice.GetTexture(kRaceTexture), nullptr);
    uint32_t seen = 0;
    std::memcpy(&seen, reinterpret_cast<uint8_t*>(&g_renderDevice.Vars()) + 40, sizeof(seen));
    EXPECT_EQ(seen, marker);
    g_menuState = gameSettings;
    g_gameMode = gameMode;
}
}  // namespace

// The set-up screen drawn through the game's render library on the scripted platform, with the
// kit's pictures: every page as a frozen frame in both languages, and the mouse driving it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "app/archive/ArchiveSet.h"
#include "app/clock/RaceClock.h"
#include "app/device/RenderDevice.h"
#include "app/game/CurrentRace.h"
#include "app/settings/MenuState.h"
#include "app/window/OutputWindow.h"
#include "core/archive/CprArchive.h"
#include "core/archive/DAFile.h"
#include "core/files/FileSystem.h"
#include "core/world/WorldObject.h"
#include "frontend/toolkit/FileRequester.h"
#include "frontend/toolkit/MenuBackground.h"
#include "frontend/toolkit/MenuClip.h"
#include "frontend/toolkit/MenuFonts.h"
#include "kit/DemoInstallation.h"
#include "kit/font/DemoFonts.h"
#include "kit/laps/DemoLaps.h"
#include "kit/menu/MainMenuPictures.h"
#include "kit/menu/MenuPictures.h"
#include "kit/race/ClassSetups.h"
#include "kit/race/DemoRace.h"
#include "kit/setup/DemoTelemetry.h"
#include "kit/setup/SetupPictures.h"
#include "platform/VirtualKeys.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "race/RaceContext.h"
#include "race/RacingLineFile.h"
#include "race/laps/LapFile.h"
#include "race/standings/StandingsSession.h"
#include "setup/DeviceSetupDialogPanel.h"
#include "setup/SetupScreen.h"
#include "setup/SetupScreenEntry.h"
#include "setup/SetupScreenLayout.h"
#include "setup/SuspensionDialogPanel.h"
#include "setup/telemetry/DataRecorder.h"
#include "setup/telemetry/TelemetryFiles.h"
#include "setup/telemetry/TelemetryWorld.h"
#include "sound/CdMusic.h"
#include "tests/race/support/HeadlessRace.h"
#include "tests/setup/FakeRenderLibraryProbe.h"
#include "tests/support/GoldenFrame.h"
#include "tests/support/TestDirectory.h"

namespace
{
constexpr int kWidth = 640;
constexpr int kHeight = 480;

class SetupScreenTest : public testing::Test
{
protected:
    // The kit's archives, written once for all the tests; each language has its menu archive.
    static void SetUpTestSuite()
    {
        kit::DemoArchives archives;
        std::string error;
        ASSERT_TRUE(kit::AddDemoFonts(archives, error)) << error;
        ASSERT_TRUE(kit::AddMenuPictures(archives.menu, error)) << error;
        ASSERT_TRUE(kit::AddSetupPictures(archives, error)) << error;
        ASSERT_TRUE(kit::AddMainMenuPictures(archives.menu, Language::German, error)) << error;
        ASSERT_TRUE(kit::AddMainMenuPictures(archives.englishMenu, Language::English, error))
            << error;
        ASSERT_TRUE(kit::AddDemoTelemetry(archives, error)) << error;
        ASSERT_TRUE(archives.englishMenu.AddMissingFrom(archives.menu, error)) << error;
        // The demo circuit's racing line, which the telemetry's maps follow.
        const std::optional<kit::GeneratedCircuit> circuit =
            kit::GenerateCircuit(kit::DemoCircuitShape(), BikeClass::Class125, error);
        ASSERT_TRUE(circuit) << error;
        ASSERT_TRUE(archives.data.Add(RacingLine::MakeFileName(kit::kDemoRaceCircuitName, 0),
                                      EncodeRacingLineFile(*circuit->line, circuit->head),
                                      kit::MemberStorage::Smaller, error))
            << error;
        const std::vector<uint8_t> menu = archives.menu.Build();
        const std::vector<uint8_t> englishMenu = archives.englishMenu.Build();
        const std::vector<uint8_t> data = archives.data.Build();
        s_menuArchive = std::string(menu.begin(), menu.end());
        s_englishMenuArchive = std::string(englishMenu.begin(), englishMenu.end());
        s_dataArchive = std::string(data.begin(), data.end());
    }

    void SetUp() override
    {
        directory_.WriteFile("menu.cpr", s_menuArchive);
        directory_.WriteFile("english.cpr", s_englishMenuArchive);
        directory_.WriteFile("data.cpr", s_dataArchive);
        menuArchive_ = std::make_unique<CprArchive>();
        ASSERT_TRUE(menuArchive_->Open("menu.cpr", true));
        englishMenuArchive_ = std::make_unique<CprArchive>();
        ASSERT_TRUE(englishMenuArchive_->Open("english.cpr", true));
        g_archiveMenu = menuArchive_.get();
        dataArchive_ = std::make_unique<CprArchive>();
        ASSERT_TRUE(dataArchive_->Open("data.cpr", true));
        g_archiveData = dataArchive_.get();
        race_.circuitName = kit::kDemoRaceCircuitName;
        ASSERT_TRUE(window_.Create(kWidth, kHeight));
        ASSERT_TRUE(g_renderDevice.InitHardware(ZARVO_RENDER_LIBRARY));
        const ScreenMode mode{kWidth, kHeight, 16, 60, 0};
        ASSERT_EQ(g_renderDevice.InitScreen(window_.RenderTarget(), 0, "", &mode), 1);
        LoadMenuFonts();
        LoadRaceFonts();
    }

    void TearDown() override
    {
        screen_.reset();
        FreeMenuBackground();  // the circuit page shows its picture there
        FreeMenuFonts();
        FreeRaceFonts();
        SetActiveRectList(nullptr);
        g_renderDevice.CleanUp();
        g_renderDevice.ShotDown();
        g_archiveMenu = nullptr;
        g_archiveData = nullptr;
        g_language = Language::German;
    }

    // The language's texts and its menu archive's pictures, as the game chooses them.
    void UseLanguage(Language language)
    {
        g_language = language;
        g_archiveMenu =
            language == Language::English ? englishMenuArchive_.get() : menuArchive_.get();
    }

    void OpenScreen(BikeClass bikeClass, Language language)
    {
        UseLanguage(language);
        race_.bikeClass = bikeClass;
        bike_->setup = kit::ClassStandardSetup(bikeClass);
        bike_->setup.frontTyre = 1;
        bike_->setup.rearTyre = 2;
        SetupScreenContext context;
        context.player = bike_.get();
        context.race = &race_;
        context.language = language;
        context.topSpeedReference = 200.0f;
        context.riderName = "Karl Brenner";
        context.riderTeam = "Team Zarvo";
        context.settings = &settings_;
        screen_ = std::make_unique<SetupScreen>(context);
        ASSERT_EQ(screen_->Load(), 1);
    }

    // One frame: the whole screen is painted into the first buffer and presented.
    FrameView565 DrawFrame()
    {
        window_.PumpMessages();
        screen_->Update(0.04f);
        const CapturedFrame& frame = platform_.Frames().back();
        return {frame.pixels.data(), frame.width, frame.height, frame.width * 2};
    }

    void MoveMouse(int x, int y)
    {
        PlatformEvent move;
        move.kind = PlatformEvent::Kind::MouseMove;
        move.x = x;
        move.y = y;
        platform_.Push(move);
    }
    void Button(bool pressed)
    {
        PlatformEvent button;
        button.kind = PlatformEvent::Kind::MouseButton;
        button.button = 1;
        button.pressed = pressed;
        platform_.Push(button);
    }

    // One frame of a dialog panel drawn over the whole screen; its result.
    template <class Panel>
    DialogResult PanelFrame(Panel& panel, DirtyRectList& list)
    {
        window_.PumpMessages();
        g_renderDevice.BeginDraw();
        list.Add(0, 0, kWidth, kHeight);
        const DialogResult result = panel.Step(list);
        g_renderDevice.Wait(0);
        g_renderDevice.Flip();
        g_renderDevice.EndDraw();
        list.Clear();
        return result;
    }
    // A left click at the point: pressed for one frame, released for the next.
    template <class Panel>
    DialogResult PanelClick(Panel& panel, DirtyRectList& list, int x, int y)
    {
        MoveMouse(x, y);
        Button(true);
        PanelFrame(panel, list);
        Button(false);
        return PanelFrame(panel, list);
    }

    static inline std::string s_menuArchive;
    static inline std::string s_englishMenuArchive;
    static inline std::string s_dataArchive;
    TestDirectory directory_;
    ScriptedPlatform platform_;
    ScopedPlatform installed_{platform_};
    OutputWindow window_;
    std::unique_ptr<CprArchive> menuArchive_;
    std::unique_ptr<CprArchive> englishMenuArchive_;
    std::unique_ptr<CprArchive> dataArchive_;
    std::unique_ptr<BikeRecord> bike_ = std::make_unique<BikeRecord>();
    CurrentRace race_;
    MenuState settings_;
    std::unique_ptr<SetupScreen> screen_;
};

struct PageFrame
{
    const char* name;
    int icon;  // -1: the main page
    Language language;
    uint64_t hash;
};

class SetupScreenPages : public SetupScreenTest, public testing::WithParamInterface<PageFrame>
{
};

TEST_P(SetupScreenPages, EveryPageAsFrozen)
{
    const PageFrame& c = GetParam();
    OpenScreen(BikeClass::Class125, c.language);
    MoveMouse(4, 4);
    if (c.icon >= 0)
    {
        screen_->PressIcon(c.icon);
    }
    const FrameView565 frame = DrawFrame();
    const std::string name = std::string("setup-") + c.name;
    EXPECT_TRUE(
        MatchesGolden(name, frame, c.hash, std::string(ZARVO_GOLDEN_DIR) + "/" + name + ".bmp"));
}

INSTANTIATE_TEST_SUITE_P(
    SetupScreen, SetupScreenPages,
    testing::Values(PageFrame{"main-de", -1, Language::German, 0x3625D4CE42233449},
                    PageFrame{"tyres-de", 0, Language::German, 0x3CFDBE5B5E3F074C},
                    PageFrame{"brakes-de", 1, Language::German, 0xA750CCF1E77A954A},
                    PageFrame{"cooling-de", 2, Language::German, 0x3A794AD5015F467E},
                    PageFrame{"front-de", 3, Language::German, 0x5947270360D42F71},
                    PageFrame{"rear-de", 4, Language::German, 0x5D0D98655530F852},
                    PageFrame{"gearbox-de", 5, Language::German, 0x909D910BB044BC5C},
                    PageFrame{"ignition-de", 6, Language::German, 0xCB51BCADD13FED8F},
                    PageFrame{"main-en", -1, Language::English, 0x2C8A0F76219B0B8B},
                    PageFrame{"tyres-en", 0, Language::English, 0x0DC8E8227540B90B},
                    PageFrame{"brakes-en", 1, Language::English, 0x0A502E231D082612},
                    PageFrame{"cooling-en", 2, Language::English, 0x14D22315F51AF022},
                    PageFrame{"front-en", 3, Language::English, 0x8684014CC3D9745F},
                    PageFrame{"rear-en", 4, Language::English, 0x25BEBB84335D06E2},
                    PageFrame{"gearbox-en", 5, Language::English, 0x69988040EE1FC68B},
                    PageFrame{"ignition-en", 6, Language::English, 0x4F72494BF922BC79},
                    PageFrame{"load-de", 9, Language::German, 0x4AF7CB79650C0123},
                    PageFrame{"load-en", 9, Language::English, 0xB4B42BE1C37B84CA},
                    PageFrame{"save-en", 10, Language::English, 0x46BB4BF7D35F2054},
                    PageFrame{"save-de", 10, Language::German, 0xA5A1460863EC2BFB},
                    PageFrame{"circuit-de", 7, Language::German, 0x9015DB1F2D0882C9},
                    PageFrame{"circuit-en", 7, Language::English, 0x2F570CD49F271873}),
    [](const testing::TestParamInfo<PageFrame>& info)
    {
        std::string name = info.param.name;
        std::replace(name.begin(), name.end(), '-', '_');
        return name;
    });

TEST_F(SetupScreenTest, TheMouseTunesTheBrakesAndOkKeepsIt)
{
    OpenScreen(BikeClass::Class250, Language::English);
    const float before = bike_->setup.brakeValueB;
    MoveMouse(100, 100);
    DrawFrame();
    // The brakes icon, then the right arrow of value B held for ten frames: a step a frame.
    MoveMouse(IconLeft(1) + 20, kIconTop + 20);
    Button(true);
    DrawFrame();
    Button(false);
    DrawFrame();
    ASSERT_EQ(screen_->Pages().Page(), SetupPage::Brakes);
    MoveMouse(564 + 10, 369 + 8);
    Button(true);
    for (int frame = 0; frame < 10; ++frame)
    {
        DrawFrame();
    }
    Button(false);
    DrawFrame();
    EXPECT_NEAR(screen_->Pages().BrakeValueB(), before + 0.10f, 1e-4f);
    EXPECT_EQ(bike_->setup.brakeValueB, before);  // a working copy until OK

    MoveMouse(606 + 8, 352 + 8);
    Button(true);
    DrawFrame();
    Button(false);
    DrawFrame();
    EXPECT_EQ(screen_->Pages().Page(), SetupPage::Main);
    EXPECT_NEAR(bike_->setup.brakeValueB, before + 0.10f, 1e-4f);

    // The leave button ends the screen.
    MoveMouse(8 + 20, 446 + 10);
    Button(true);
    DrawFrame();
    Button(false);
    window_.PumpMessages();
    EXPECT_NE(screen_->Update(0.04f), 0u);
}

TEST_F(SetupScreenTest, OtherArrowsRepeatOnlyAfterTheHoldDelay)
{
    OpenScreen(BikeClass::Class125, Language::German);
    screen_->PressIcon(3);  // front suspension
    const float before = screen_->Pages().SuspensionSlider(2).value;
    MoveMouse(564 + 10, 323 + 8);  // compression: one more
    DrawFrame();
    Button(true);
    for (int frame = 0; frame < 15; ++frame)  // 600 ms
    {
        DrawFrame();
    }
    EXPECT_EQ(screen_->Pages().SuspensionSlider(2).value, before + 1.0f);
    for (int frame = 0; frame < 4; ++frame)  // 600 ms is not yet past the delay
    {
        DrawFrame();
    }
    Button(false);
    DrawFrame();
    EXPECT_EQ(screen_->Pages().SuspensionSlider(2).value, before + 4.0f);
}

// The requester's window at its default corner.
constexpr int kRequesterX = FileRequester::kDefaultX;
constexpr int kRequesterY = FileRequester::kDefaultY;

TEST_F(SetupScreenTest, ASetupSavedUnderATypedNameLoadsBackFromTheList)
{
    OpenScreen(BikeClass::Class250, Language::German);
    const BikeSetup saved = bike_->setup;
    MoveMouse(100, 100);
    DrawFrame();
    // Save: the class folder does not exist yet and is made; the name is typed and taken.
    const auto click = [&](int x, int y)
    {
        MoveMouse(x, y);
        Button(true);
        DrawFrame();
        Button(false);
        DrawFrame();
    };
    click(IconLeft(10) + 20, kIconTop + 20);
    ASSERT_EQ(screen_->Pages().Page(), SetupPage::SaveSetup);
    for (const uint32_t key : std::array<uint32_t, 4>{'W', 'E', 'T', vk::Return})
    {
        PlatformEvent down;
        down.kind = PlatformEvent::Kind::KeyDown;
        down.virtualKey = key;
        platform_.Push(down);
        PlatformEvent up = down;
        up.kind = PlatformEvent::Kind::KeyUp;
        platform_.Push(up);
    }
    DrawFrame();
    EXPECT_EQ(screen_->Pages().Page(), SetupPage::Main);
    EXPECT_FALSE(g_fileRequester.IsOpen());
    EXPECT_TRUE(files::IsFile("save/setup/Klasse1/wet"));

    // Another set-up, then the saved one picked from the list and loaded with OK.
    bike_->setup.frontSprocket = static_cast<uint8_t>(saved.frontSprocket + 1);
    bike_->setup.coolingOpening = 0.9f;
    click(IconLeft(9) + 20, kIconTop + 20);
    ASSERT_EQ(screen_->Pages().Page(), SetupPage::LoadSetup);
    ASSERT_EQ(g_fileRequester.EntryCount(), 1);
    click(kRequesterX + 200, kRequesterY + 45 + 4);
    EXPECT_EQ(screen_->Pages().Page(), SetupPage::LoadSetup);  // a pick is no answer yet
    click(kRequesterX + 30, kRequesterY + 270);
    EXPECT_EQ(screen_->Pages().Page(), SetupPage::Main);
    EXPECT_EQ(bike_->setup.frontSprocket, saved.frontSprocket);
    EXPECT_EQ(bike_->setup.coolingOpening, saved.coolingOpening);
}

TEST_F(SetupScreenTest, CancelOrAnotherPageClosesTheRequesterAndChangesNothing)
{
    OpenScreen(BikeClass::Class125, Language::English);
    directory_.WriteFile("save/setup/Klasse0/dry", "");  // too short to be a set-up
    const BikeSetup before = bike_->setup;
    screen_->PressIcon(9);
    MoveMouse(kRequesterX + 200, kRequesterY + 45 + 4);
    Button(true);
    DrawFrame();
    Button(false);
    DrawFrame();
    MoveMouse(kRequesterX + 240, kRequesterY + 270);  // cancel
    Button(true);
    DrawFrame();
    Button(false);
    DrawFrame();
    EXPECT_EQ(screen_->Pages().Page(), SetupPage::Main);
    EXPECT_FALSE(g_fileRequester.IsOpen());

    // The damaged file, accepted, leaves the record as it was.
    screen_->PressIcon(9);
    MoveMouse(kRequesterX + 200, kRequesterY + 45 + 4);
    Button(true);
    DrawFrame();
    Button(false);
    DrawFrame();
    MoveMouse(kRequesterX + 30, kRequesterY + 270);
    Button(true);
    DrawFrame();
    Button(false);
    DrawFrame();
    EXPECT_EQ(screen_->Pages().Page(), SetupPage::Main);
    EXPECT_EQ(std::memcmp(&bike_->setup, &before, sizeof(BikeSetup)), 0);

    screen_->PressIcon(10);
    screen_->PressIcon(1);  // brakes: the requester goes
    EXPECT_EQ(screen_->Pages().Page(), SetupPage::Brakes);
    EXPECT_FALSE(g_fileRequester.IsOpen());
}

TEST_F(SetupScreenTest, ARequesterFolderThatCannotBeMadeLeavesThePage)
{
    OpenScreen(BikeClass::Class500, Language::German);
    directory_.WriteFile("save/setup", "a file where the folder belongs");
    screen_->PressIcon(2);
    screen_->PressIcon(9);
    EXPECT_EQ(screen_->Pages().Page(), SetupPage::Cooling);
    EXPECT_FALSE(g_fileRequester.IsOpen());
}

TEST_F(SetupScreenTest, TheCircuitPageTakesTheMouseUntilItsOk)
{
    OpenScreen(BikeClass::Class125, Language::German);
    MoveMouse(100, 100);
    DrawFrame();
    MoveMouse(IconLeft(7) + 20, kIconTop + 20);
    Button(true);
    DrawFrame();
    Button(false);
    DrawFrame();
    ASSERT_EQ(screen_->Pages().Page(), SetupPage::CircuitInfo);
    // The icons are not there: a click where the brakes icon was does nothing.
    MoveMouse(IconLeft(1) + 20, kIconTop + 20);
    Button(true);
    DrawFrame();
    Button(false);
    DrawFrame();
    EXPECT_EQ(screen_->Pages().Page(), SetupPage::CircuitInfo);
    MoveMouse(584 + 20, 440 + 20);
    Button(true);
    DrawFrame();
    Button(false);
    DrawFrame();
    EXPECT_EQ(screen_->Pages().Page(), SetupPage::Main);
}

TEST_F(SetupScreenTest, ThePitBoxOpensThePlayersMachine)
{
    g_playerRider = 3;
    g_raceContext.current.bikeClass = BikeClass::Class500;
    g_bikes[3].setup = kit::ClassStandardSetup(BikeClass::Class500);
    UseLanguage(Language::English);
    const std::unique_ptr<SetupScreen> screen = CreatePlayerSetupScreen(Language::English, true);
    EXPECT_EQ(&screen->Pages().Player(), &g_bikes[3]);
    ASSERT_EQ(screen->Load(), 1);
    screen->PressIcon(5);
    EXPECT_EQ(screen->Pages().Page(), SetupPage::Gearbox);
    screen->ReleaseResources();
    EXPECT_EQ(g_raceContext.current.engineConditions, 1u);
    g_playerRider = 0;
}

// Two laps round the demo circuit's main lap as the race records them, at two paces.
void WriteDemoLaps()
{
    std::string error;
    const std::optional<kit::GeneratedCircuit> circuit =
        kit::GenerateCircuit(kit::DemoCircuitShape(), BikeClass::Class125, error);
    ASSERT_TRUE(circuit) << error;
    std::vector<kit::LinePoint> points;
    for (uint16_t node = 0; node < circuit->line->pitLaneFirstNode; ++node)
    {
        points.push_back({node, circuit->line->nodes[node].x, circuit->line->nodes[node].z});
    }
    const LapHeader header{0, 0, 1, 0, 0, 1013, 20, 65};
    float start = 12.0f;
    for (const float pace : {62.0f, 68.0f})
    {
        const std::vector<kit::RideState> ride = kit::RideLap(points, start, pace);
        const int32_t lapMs = static_cast<int32_t>(ride.size()) * 40;
        const kit::LapFileContent lap = kit::LapOfRide(ride, header, {-1, -1, -1, lapMs});
        const uint32_t number = pace < 65.0f ? 1 : 2;
        ASSERT_TRUE(kit::WriteLapFile(SessionLapPath(number), lap, error)) << error;
        start += static_cast<float>(lapMs) / 1000.0f;
    }
}

TEST_F(SetupScreenTest, TelemetryOfTheDemoLapsReadsTheRecordsValues)
{
    WriteDemoLaps();
    UseLanguage(Language::English);
    std::array<uint8_t, 4> channels = {4, 5, 1, kNoChannel};  // speed, revolutions, steering
    DataRecorder recorder({.circuit = 0,
                           .circuitName = kit::kDemoRaceCircuitName,
                           .language = Language::English,
                           .slotChannels = &channels});
    ASSERT_EQ(recorder.Load(), 1);
    ASSERT_EQ(recorder.Offered().lapsShown, 2);
    EXPECT_NE(recorder.Maps().Project(0, 0.0f, 0.0f).x, 0);  // the demo's own map was read
    recorder.SetSlotLap(0, 0);
    recorder.SetSlotLap(1, 1);
    recorder.SetSlotLap(2, 0);

    // The centre cursor on sample 300 of the first lap: the read-out is that sample's value.
    LapRecord lap;
    ASSERT_TRUE(ReadLapFile(SessionLapPath(1), lap));
    GraphWindow& window = recorder.Window();
    window.panOffsetX = 300 * 0.04f - GraphWindow::kCentreColumn * window.Step() + 1e-4f;
    recorder.SetSlotLap(0, 0);
    const int speed = static_cast<int>(lap.speed[300] * 0.0055384613f);
    EXPECT_EQ(recorder.Readout(0), std::to_string(speed) + " km/h");
    const int steering = static_cast<int>(static_cast<int16_t>(lap.steering[300]) * 0.003125f);
    EXPECT_EQ(recorder.Readout(2), std::to_string(steering) + "%");
    EXPECT_EQ(recorder.Readout(3), "");

    recorder.SetSlotChannel(3, 9);
    EXPECT_EQ(channels[3], 9);  // kept in the settings

    MoveMouse(4, 4);
    window_.PumpMessages();
    recorder.Update(0.04f);
    const CapturedFrame& captured = platform_.Frames().back();
    const FrameView565 frame{captured.pixels.data(), captured.width, captured.height,
                             captured.width * 2};
    EXPECT_TRUE(MatchesGolden("telemetry-demo-laps", frame, 0xCBE82667C1E46126,
                              std::string(ZARVO_GOLDEN_DIR) + "/telemetry-demo-laps.bmp"));
    recorder.ReleaseResources();
}

// A lap as the race records it: the player's rider in a practice session on the demo circuit,
// ridden by the computer; the read-out at chosen samples of its second lap is the record's
// value there.
TEST_F(SetupScreenTest, TelemetryOfALapTheDemoRaceRecordedReadsTheRecordsValues)
{
    ASSERT_TRUE(files::MakeDirectories("Tempdaten"));
    {
        HeadlessRaceOptions options;
        options.riders = 2;
        options.bikeClass = BikeClass::Class125;
        HeadlessRace race(options);
        StandingsSession practice;
        practice.isRace = false;
        practice.riderCount = 2;
        practice.inRace = {1, 1};
        practice.practiceFlag = {1, 1};
        race.Race().standings.ResetForRace(practice);
        race.Race().playerRider.store(0);
        race.Sim().SetPlayerRider(0);
        constexpr uint32_t kStepLimit = 3 * 5 * 60 * 25;  // three laps of five minutes
        while (!files::IsFile(SessionLapPath(2)) && race.Sim().TicksDone() < kStepLimit)
        {
            race.Step();
        }
    }
    LapRecord lap;
    ASSERT_TRUE(ReadLapFile(SessionLapPath(2), lap));
    ASSERT_GT(lap.sampleCount, 1000);

    UseLanguage(Language::English);
    std::array<uint8_t, 4> channels = {4, 5, 2, 0};  // speed, revolutions, gear, throttle
    DataRecorder recorder({.circuit = 0,
                           .circuitName = kit::kDemoRaceCircuitName,
                           .language = Language::English,
                           .slotChannels = &channels});
    ASSERT_EQ(recorder.Load(), 1);
    const int32_t entry = 2 - recorder.Offered().lapOffset - 1;
    ASSERT_GE(entry, 0);
    for (int slot = 0; slot < DataRecorder::kSlots; ++slot)
    {
        recorder.SetSlotLap(slot, entry);
    }
    GraphWindow& window = recorder.Window();
    // The leading number of a read-out; the centre column lies a hair past the sample.
    const auto shown = [&](int slot) { return std::stoi(recorder.Readout(slot)); };
    for (const int32_t sample : {lap.sampleCount / 4, lap.sampleCount / 2, lap.sampleCount * 3 / 4})
    {
        const auto at = static_cast<size_t>(sample);
        const float time = lap.raceTime[at] - lap.raceTime[0];
        window.panOffsetX = time - GraphWindow::kCentreColumn * window.Step() + 1e-4f;
        recorder.SetSlotLap(0, entry);
        SCOPED_TRACE(sample);
        EXPECT_GT(lap.speed[at], 0);
        EXPECT_NEAR(shown(0), lap.speed[at] * 0.0055384613f, 1.0f);
        EXPECT_NEAR(shown(1), lap.rpm[at] * 0.33333334f, 1.0f);
        EXPECT_NEAR(shown(2), lap.gear[at], 1.0f);
        EXPECT_NEAR(shown(3), lap.throttle[at] * 0.0015384615f, 1.0f);
        EXPECT_NE(recorder.Readout(0).find(" km/h"), std::string::npos);
        EXPECT_NE(recorder.Readout(1).find(" RPM"), std::string::npos);
    }
    recorder.ReleaseResources();
}

TEST_F(SetupScreenTest, TheTelemetryIconOpensTheTelemetryOverThePage)
{
    WriteDemoLaps();
    settings_.SetU8At(MenuState::kTelemetrySlotsOffset, 4);
    OpenScreen(BikeClass::Class125, Language::German);
    screen_->PressIcon(2);  // cooling
    screen_->PressIcon(8);
    MoveMouse(100, 100);
    DrawFrame();
    ASSERT_TRUE(screen_->TelemetryOpen());
    // A channel chosen there is kept in the settings when the telemetry ends.
    screen_->Telemetry().SetSlotChannel(0, 9);
    namespace tc = telemetry_controls;
    MoveMouse(tc::kExitButton.left + 5, tc::kExitButton.top + 5);
    Button(true);
    DrawFrame();
    Button(false);
    DrawFrame();
    EXPECT_FALSE(screen_->TelemetryOpen());
    EXPECT_EQ(settings_.U8At(MenuState::kTelemetrySlotsOffset), 9);
    EXPECT_EQ(screen_->Pages().Page(), SetupPage::Cooling);
}

TEST_F(SetupScreenTest, TheSessionCountdownClosesTheScreenWhenTheDelayRunsOut)
{
    WriteDemoLaps();
    race_.bikeClass = BikeClass::Class125;
    bike_->setup = kit::ClassStandardSetup(BikeClass::Class125);
    int countdownsDrawn = 0;
    SetupScreenContext context;
    context.player = bike_.get();
    context.race = &race_;
    context.settings = &settings_;
    screen_ = std::make_unique<SetupScreen>(context);
    screen_->SetSessionCountdown([] { return true; }, [&] { ++countdownsDrawn; });
    ASSERT_EQ(screen_->Load(), 1);
    g_menuDelayMs = 5000;
    // The circuit page and the telemetry stay shut while the countdown runs.
    screen_->PressIcon(kCircuitIcon);
    screen_->PressIcon(kTelemetryIcon);
    MoveMouse(100, 100);
    DrawFrame();
    EXPECT_EQ(screen_->Pages().Page(), SetupPage::Main);
    EXPECT_FALSE(screen_->TelemetryOpen());
    EXPECT_GT(countdownsDrawn, 0);

    // A brake change on the open page is kept when the delay runs out.
    screen_->PressIcon(1);
    screen_->Pages().StepBrakeValueA(+1);
    const float chosen = screen_->Pages().BrakeValueA();
    window_.PumpMessages();
    EXPECT_EQ(screen_->Update(0.04f), 0u);
    g_menuDelayMs = 0;
    window_.PumpMessages();
    EXPECT_NE(screen_->Update(0.04f), 0u);
    EXPECT_EQ(screen_->Pages().Page(), SetupPage::Main);
    EXPECT_EQ(bike_->setup.brakeValueA, chosen);
}

TEST_F(SetupScreenTest, TelemetryWithoutLapsOrWithDamagedOnesDrawsNothingAndLeaves)
{
    directory_.WriteFile("Tempdaten/Daten_Runde1.fhr", std::string(100, '\x7F'));
    std::array<uint8_t, 4> channels = {200, 0, 0, 0};  // a damaged settings byte
    DataRecorder recorder({.circuit = 99,
                           .circuitName = kit::kDemoRaceCircuitName,
                           .language = Language::German,
                           .slotChannels = &channels});
    ASSERT_EQ(recorder.Load(), 1);
    recorder.SetSlotLap(0, 0);
    recorder.SetSlotLap(1, 5);
    EXPECT_EQ(recorder.Readout(0), "");
    window_.PumpMessages();
    EXPECT_EQ(recorder.Update(0.04f), 0u);
    PlatformEvent escape;
    escape.kind = PlatformEvent::Kind::KeyDown;
    escape.virtualKey = vk::Escape;
    platform_.Push(escape);
    window_.PumpMessages();
    EXPECT_EQ(recorder.Update(0.04f), 1u);
    recorder.ReleaseResources();
}

TEST_F(SetupScreenTest, TelemetryPulldownsAndZoomSlidersFollowTheMouse)
{
    WriteDemoLaps();
    // The set-up screen has the knob loaded when it opens the telemetry.
    g_renderDevice.LoadTexture(std::string(kKnobPicture).c_str(), kKnobTexture, 0, 0);
    std::array<uint8_t, 4> channels = {4, kNoChannel, kNoChannel, kNoChannel};
    DataRecorder recorder({.circuit = 0,
                           .circuitName = kit::kDemoRaceCircuitName,
                           .language = Language::German,
                           .slotChannels = &channels});
    ASSERT_EQ(recorder.Load(), 1);
    const auto frame = [&]
    {
        window_.PumpMessages();
        return recorder.Update(0.04f);
    };
    const auto click = [&](int x, int y)
    {
        MoveMouse(x, y);
        Button(true);
        frame();
        Button(false);
        return frame();
    };
    namespace tc = telemetry_controls;
    // Slot 2: revolutions of the second lap; a lap that was not recorded cannot be chosen.
    click(tc::kHeaderX[2] + 20, 12);
    ASSERT_EQ(recorder.OpenPulldown(), 2);
    const ScreenRect revolutions = tc::Entry(2, 5);
    click(revolutions.left + 10, revolutions.top + 10);
    EXPECT_EQ(recorder.SlotChannel(1), 5);
    EXPECT_EQ(channels[1], 5);
    EXPECT_EQ(recorder.OpenPulldown(), -1);
    click(tc::kHeaderX[3] + 10, 12);
    const ScreenRect missing = tc::Entry(3, 4);
    click(missing.left + 10, missing.top + 10);
    EXPECT_EQ(recorder.OpenPulldown(), 3);
    EXPECT_EQ(recorder.SlotLap(1), -1);
    const ScreenRect second = tc::Entry(3, 1);
    click(second.left + 10, second.top + 10);
    EXPECT_EQ(recorder.SlotLap(1), 1);
    click(tc::kHeaderX[1] + 10, 12);
    click(tc::Entry(1, 0).left + 10, tc::Entry(1, 0).top + 10);
    EXPECT_EQ(recorder.SlotLap(0), 0);

    // The horizontal zoom dragged half-way keeps the centre's axis value.
    GraphWindow& window = recorder.Window();
    const float centre = window.AxisValue(GraphWindow::kCentreColumn);
    const Slider& zoom = recorder.ZoomSlider(1);
    MoveMouse(zoom.knobPosition + zoom.knobWidth / 2, zoom.y + 3);
    Button(true);
    frame();
    MoveMouse(zoom.x + zoom.width / 2 + 5, zoom.y + 3);
    frame();
    Button(false);
    frame();
    EXPECT_GT(zoom.value, 0.2f);
    EXPECT_NEAR(window.xZoom, 1.0f - zoom.value * 0.98f, 1e-6f);
    EXPECT_NEAR(window.AxisValue(GraphWindow::kCentreColumn), centre, 1e-3f);

    // The right button drags the graphs up and down.
    MoveMouse(300, 200);
    PlatformEvent right;
    right.kind = PlatformEvent::Kind::MouseButton;
    right.button = 2;
    right.pressed = true;
    platform_.Push(right);
    frame();
    MoveMouse(300, 230);
    frame();
    right.pressed = false;
    platform_.Push(right);
    frame();
    EXPECT_EQ(window.panOffsetY, 30.0f);

    click(tc::kSlotSelector.left + 5, tc::kSlotSelector.top + 5);
    EXPECT_EQ(recorder.ActiveSlot(), 1);
    click(tc::kAxisSwitch.left + 5, tc::kAxisSwitch.top + 5);
    EXPECT_TRUE(recorder.DistanceAxis());
    click(tc::kHeaderX[4] + 20, 12);  // slot 3's channels left open
    MoveMouse(tc::Entry(4, 3).left + 4, tc::Entry(4, 3).top + 4);
    frame();
    const CapturedFrame& captured = platform_.Frames().back();
    EXPECT_TRUE(MatchesGolden(
        "telemetry-pulldowns",
        {captured.pixels.data(), captured.width, captured.height, captured.width * 2},
        0xF1FE4265B4E2CAD3, std::string(ZARVO_GOLDEN_DIR) + "/telemetry-pulldowns.bmp"));
    click(tc::kHeaderX[4] + 20, 12);
    EXPECT_EQ(click(tc::kExitButton.left + 5, tc::kExitButton.top + 5), 1u);
    recorder.ReleaseResources();
}

TEST_F(SetupScreenTest, Telemetry3dViewComparesTwoLapsAndReturnsToTheSameSample)
{
    WriteDemoLaps();
    g_renderDevice.LoadTexture(std::string(kKnobPicture).c_str(), kKnobTexture, 0, 0);
    std::array<uint8_t, 4> channels = {4, 5, kNoChannel, kNoChannel};
    DataRecorder recorder({.circuit = 0,
                           .circuitName = kit::kDemoRaceCircuitName,
                           .language = Language::German,
                           .slotChannels = &channels});
    ASSERT_EQ(recorder.Load(), 1);
    recorder.SetSlotLap(0, 0);
    recorder.SetSlotLap(1, 1);
    GraphWindow& window = recorder.Window();
    window.panOffsetX = 300 * 0.04f - GraphWindow::kCentreColumn * window.Step() + 1e-4f;
    recorder.SetSlotLap(0, 0);
    LapRecord first;
    LapRecord second;
    ASSERT_TRUE(ReadLapFile(SessionLapPath(1), first));
    ASSERT_TRUE(ReadLapFile(SessionLapPath(2), second));
    const auto frame = [&]
    {
        window_.PumpMessages();
        return recorder.Update(0.04f);
    };
    const auto click = [&](const ScreenRect& rect)
    {
        MoveMouse(rect.left + 4, rect.top + 4);
        Button(true);
        frame();
        Button(false);
        return frame();
    };
    namespace tc = telemetry_controls;
    click(tc::kView3dButton);
    ASSERT_TRUE(recorder.In3dView());
    EXPECT_FLOAT_EQ(recorder.ViewSlider(0).value, 300.0f / static_cast<float>(first.sampleCount));
    // The second compared lap starts empty; it steps past the empty place to the first lap.
    EXPECT_EQ(recorder.CompareLapNumber(0), "01");
    EXPECT_EQ(recorder.CompareLapNumber(1), "--");
    EXPECT_EQ(recorder.CompareLapTime(1), "--:--:---");
    click(tc::CompareArrow(1, 0));
    EXPECT_EQ(recorder.CompareLap(1), 1);
    click(tc::CompareArrow(1, 1));
    click(tc::CompareArrow(1, 1));
    EXPECT_EQ(recorder.CompareLap(1), 0);
    click(tc::CompareArrow(1, 1));
    const int32_t ms = second.times[static_cast<size_t>(LapTime::Lap)];
    std::array<char, 32> expected{};
    std::snprintf(expected.data(), expected.size(), "%d:%.2d:%.3d", ms / 60000, ms / 1000 % 60,
                  ms % 1000);
    EXPECT_EQ(recorder.CompareLapTime(1), expected.data());

    // Height up, held for ten frames: 0.1 a second.
    MoveMouse(tc::kHeightArrows[0].left + 4, tc::kHeightArrows[0].top + 4);
    Button(true);
    for (int i = 0; i < 10; ++i)
    {
        frame();
    }
    Button(false);
    frame();
    EXPECT_NEAR(recorder.ViewSlider(1).value, 0.04f, 0.0045f);
    // Close above the marker: the flat track under the laps' traces.
    recorder.SetViewSlider(1, 0.95f);
    frame();
    const CapturedFrame& captured = platform_.Frames().back();
    EXPECT_TRUE(
        MatchesGolden("telemetry-3d",
                      {captured.pixels.data(), captured.width, captured.height, captured.width * 2},
                      0xF10D48328952C9E0, std::string(ZARVO_GOLDEN_DIR) + "/telemetry-3d.bmp"));

    // Back in the graphs the horizontal zoom is the height, and the sample is at the centre.
    const float height = recorder.ViewSlider(1).value;
    click(tc::kGraphViewButton);
    EXPECT_FALSE(recorder.In3dView());
    EXPECT_FLOAT_EQ(recorder.ZoomSlider(1).value, height);
    const float centre = window.AxisValue(GraphWindow::kCentreColumn);
    EXPECT_NEAR(centre, first.raceTime[300] - first.raceTime[0], window.Step() * 1.5f);
    recorder.ReleaseResources();
}

// The 3D view's world is its own: loading, drawing and freeing it leave the game's world
// current; a missing or damaged track object leaves a world without ground.
TEST_F(SetupScreenTest, TheTelemetryWorldKeepsTheGamesWorldAndSurvivesADamagedTrackObject)
{
    std::string error;
    kit::CprWriter menu;
    const std::optional<std::vector<uint8_t>> read = ReadWholeIfPresent(
        menuArchive_.get(), telemetry_files::FlatTrackObject(kit::kDemoRaceCircuitName));
    ASSERT_TRUE(read);
    const std::vector<uint8_t>& whole = *read;
    ASSERT_TRUE(menu.Add(telemetry_files::FlatTrackObject("Cut"),
                         std::span(whole).first(whole.size() / 3), kit::MemberStorage::Stored,
                         error));
    ASSERT_TRUE(menu.Add(telemetry_files::FlatTrackObject(kit::kDemoRaceCircuitName), whole,
                         kit::MemberStorage::Stored, error));
    const std::vector<uint8_t> bytes = menu.Build();
    directory_.WriteFile("telemetry.cpr", std::string(bytes.begin(), bytes.end()));
    CprArchive archive;
    ASSERT_TRUE(archive.Open("telemetry.cpr", true));
    g_archiveMenu = &archive;

    g_renderDevice.CreateWorld(1 << 20);
    WorldObject* const game = g_renderDevice.Root();
    ASSERT_NE(game, nullptr);
    TelemetryWorld world;
    for (const char* circuit : {"Cut", "Missing", kit::kDemoRaceCircuitName})
    {
        const bool sound = std::string(circuit) == kit::kDemoRaceCircuitName;
        EXPECT_EQ(world.Load(circuit, 0.5f), sound) << circuit;
        EXPECT_TRUE(world.Loaded());
        EXPECT_EQ(g_renderDevice.Root(), game);
        EXPECT_GT(world.PixelsPerUnit(100.0f), 0.0f);
        for (const bool shown : {true, false, true})
        {
            world.Show(shown);
            EXPECT_EQ(world.CentreY(), shown ? 158.0f : 240.0f);
            window_.PumpMessages();
            ASSERT_NE(g_renderDevice.BeginDraw(), 0);
            world.Draw(100.0f, 10.0f, -20.0f);
            g_renderDevice.EndDraw();
            EXPECT_EQ(g_renderDevice.Root(), game);
        }
    }
    world.Free();
    EXPECT_FALSE(world.Loaded());
    EXPECT_EQ(g_renderDevice.Root(), game);
    g_archiveMenu = menuArchive_.get();
}

// Loading asks for one of the telemetry's music tracks; the track object is loaded hidden,
// under linear fog from 1 to 465000, into a world whose viewport is the whole screen; the 3D
// view shows it in the scene's part of the screen.
TEST_F(SetupScreenTest, TheTrackObjectIsHiddenAndFoggedUntilThe3dViewShowsIt)
{
    WriteDemoLaps();
    DataRecorder recorder(
        {.circuit = 0, .circuitName = kit::kDemoRaceCircuitName, .language = Language::German});
    g_cdMusic.Request(CdMusic::kNoTrack);
    ASSERT_EQ(recorder.Load(), 1);
    const int32_t music = g_cdMusic.RequestedTrack();
    EXPECT_TRUE(music == 3 || music == 5 || music == 7) << music;
    g_cdMusic.Request(CdMusic::kNoTrack);
    const TelemetryWorld& world = recorder.World();
    const WorldObject* track = world.Track();
    ASSERT_NE(track, nullptr);
    ASSERT_TRUE(track->fogTable);
    const uint8_t* linear = g_renderDevice.FogGenerateLinear(1.0f, 465000.0f);
    EXPECT_TRUE(std::equal(linear, linear + 64, track->fogTable.get()));
    constexpr uint16_t kHidden = object_flags::kNoOwnPolygons;
    const auto expectShown = [&](bool shown)
    {
        EXPECT_EQ(world.Shown(), shown);
        EXPECT_EQ((track->flags & kHidden) == 0, shown);
        EXPECT_EQ(world.CentreY(), shown ? 158.0f : 240.0f);
    };
    expectShown(false);
    recorder.Enter3DView();
    expectShown(true);
    recorder.EnterGraphView();
    expectShown(false);
    recorder.ReleaseResources();
}

TEST_F(SetupScreenTest, TelemetryOfALapWithAbsurdValuesDrawsInBothViewsAndLeaves)
{
    kit::LapFileContent lap;
    lap.header = {0, 0, 1, 0, 0, 1013, 20, 65};
    for (int i = 0; i < 60; ++i)
    {
        LapSample sample;
        sample.raceTime = i < 30 ? static_cast<float>(i) * 0.04f : 1e30f;
        sample.groundX =
            i % 7 == 0 ? std::numeric_limits<float>::quiet_NaN() : 1e20f * static_cast<float>(i);
        sample.groundZ = -3e25f;
        sample.speed = 65000;
        sample.acceleration = std::numeric_limits<float>::infinity();
        lap.samples.push_back(sample);
    }
    std::string error;
    ASSERT_TRUE(kit::WriteLapFile(SessionLapPath(1), lap, error)) << error;
    UseLanguage(Language::English);
    std::array<uint8_t, 4> channels = {4, 1, 10, 7};
    DataRecorder recorder({.circuit = 0,
                           .circuitName = kit::kDemoRaceCircuitName,
                           .language = Language::English,
                           .slotChannels = &channels});
    ASSERT_EQ(recorder.Load(), 1);
    ASSERT_EQ(recorder.Offered().lapsShown, 1);
    for (int slot = 0; slot < DataRecorder::kSlots; ++slot)
    {
        recorder.SetSlotLap(slot, 0);
    }
    const auto frame = [&]
    {
        window_.PumpMessages();
        return recorder.Update(0.04f);
    };
    EXPECT_EQ(frame(), 0u);
    recorder.SetDistanceAxis(true);
    recorder.SetZoomSlider(1, 1.0f);
    EXPECT_EQ(frame(), 0u);
    recorder.Enter3DView();
    recorder.SetViewSlider(1, 1.0f);
    recorder.StepCompareLap(1, -1);
    EXPECT_EQ(frame(), 0u);
    recorder.EnterGraphView();
    EXPECT_EQ(frame(), 0u);
    recorder.ReleaseResources();
}

TEST_F(SetupScreenTest, SuspensionPanelTakesTheMouseAndOkWritesTheRecord)
{
    BikeSetup setup = kit::ClassStandardSetup(BikeClass::Class125);
    SuspensionDialog dialog(setup, BikeClass::Class125);
    SuspensionDialogPanel panel(dialog);
    panel.Enter();
    DirtyRectList list;
    const auto frame = [&] { return PanelFrame(panel, list); };
    const auto click = [&](int x, int y) { return PanelClick(panel, list, x, y); };
    // The hardest rear spring, the thickest front oil; the front compression dragged to the end.
    click(345, 196 + 4 * 16 + 4);
    click(105, 306 + 4 * 16 + 4);
    MoveMouse(190, 111);
    Button(true);
    frame();
    MoveMouse(600, 111);
    frame();
    Button(false);
    EXPECT_EQ(frame(), DialogResult::Open);
    EXPECT_EQ(panel.GetPos(1017), 20);
    EXPECT_EQ(panel.GetRadio(1022), 4);
    const CapturedFrame& captured = platform_.Frames().back();
    EXPECT_TRUE(
        MatchesGolden("suspension-panel",
                      {captured.pixels.data(), captured.width, captured.height, captured.width * 2},
                      0x66E27B86A0C18C9E));

    EXPECT_EQ(click(240, 420), DialogResult::Ok);
    EXPECT_EQ(setup.frontCompression, 19.0f);   // the screens' 1..19
    EXPECT_EQ(setup.rearSpringRate, 20000.0f);  // (4 + 4) x 2500
    EXPECT_EQ(setup.frontOilValue, 120.0f);
    EXPECT_EQ(setup.frontOilFactor, -60.0f);
}

TEST_F(SetupScreenTest, DevicePanelListsWhatALibraryOffersAndOkWritesTheChoice)
{
    ConfigBlock config;
    config.SetRenderLibraryName("ZarvoGlide2.so");
    config.SetDisplayText("Software");
    config.SetDisplayMode({1024, 768, 16, 85, 0});
    config.SetU8At(ConfigBlock::kDisplayOptionOffset, 1);
    FakeProbe probe;
    DeviceSetupDialog dialog(config, {"other.so", "ZarvoGlide2.so"}, probe, Language::German);
    DeviceSetupDialogPanel panel(dialog);
    panel.Enter();
    DirtyRectList list;
    const auto frame = [&] { return PanelFrame(panel, list); };
    const auto click = [&](int x, int y) { return PanelClick(panel, list, x, y); };
    using D = DeviceSetupDialog;
    EXPECT_EQ(panel.GetSel(D::kModes), 1);  // 1024 x 768 of the record
    // The other library, its second device, the full screen switched off.
    click(100, 56 + 1 + 6);
    EXPECT_EQ(panel.Items(D::kDevices), (std::vector<std::string>{"First", "Second"}));
    click(100, 126 + 1 + 13 + 6);
    EXPECT_EQ(panel.Items(D::kModes), (std::vector<std::string>{"0  640 x 480"}));
    EXPECT_EQ(panel.Items(D::kRefreshRates), (std::vector<std::string>{"72 Hz"}));
    click(360, 56 + 6);
    EXPECT_EQ(frame(), DialogResult::Open);
    const CapturedFrame& captured = platform_.Frames().back();
    EXPECT_TRUE(
        MatchesGolden("device-panel",
                      {captured.pixels.data(), captured.width, captured.height, captured.width * 2},
                      0x60C5BFFBA38835C2, std::string(ZARVO_GOLDEN_DIR) + "/device-panel.bmp"));

    EXPECT_EQ(click(240, 430), DialogResult::Ok);
    EXPECT_EQ(config.RenderLibraryName(), "other.so");
    EXPECT_EQ(config.DisplayText(), "Second");
    EXPECT_EQ(config.DisplayMode().width, 640);
    EXPECT_EQ(config.DisplayMode().refreshHz, 72);
    EXPECT_EQ(config.U8At(ConfigBlock::kDisplayOptionOffset), 0);
}

TEST_F(SetupScreenTest, DevicePanelClosedWithEscapeChangesNothing)
{
    ConfigBlock config;
    config.SetRenderLibraryName("ZarvoGlide2.so");
    const ConfigBlock before = config;
    FakeProbe probe;
    DeviceSetupDialog dialog(config, {"other.so", "ZarvoGlide2.so"}, probe, Language::English);
    DeviceSetupDialogPanel panel(dialog);
    panel.Enter();
    DirtyRectList list;
    MoveMouse(100, 56 + 1 + 6);
    Button(true);
    window_.PumpMessages();
    panel.Step(list);
    PlatformEvent escape;
    escape.kind = PlatformEvent::Kind::KeyDown;
    escape.virtualKey = vk::Escape;
    platform_.Push(escape);
    window_.PumpMessages();
    EXPECT_EQ(panel.Step(list), DialogResult::Cancel);
    EXPECT_EQ(config.RenderLibraryName(), before.RenderLibraryName());
    EXPECT_EQ(probe.releases, 1);
}
}  // namespace

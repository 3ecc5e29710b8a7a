// The race titles, the starting grid's timing and reveal, and the final standing.

#include <gtest/gtest.h>

#include <string>

#include "tests/view/hud/HudTestSupport.h"
#include "view/titles/EventTitles.h"
#include "view/titles/RaceTitles.h"

namespace
{
TEST(GridScheduleTest, FourSecondsAndThreeARowOfFour)
{
    const struct
    {
        uint32_t riders;
        int32_t rows;
        int32_t startTick;
    } cases[] = {{1, 1, 175}, {4, 1, 175}, {5, 2, 250}, {25, 7, 625}, {26, 7, 625}};
    for (const auto& c : cases)
    {
        const GridSchedule schedule = ScheduleGrid(c.riders);
        EXPECT_EQ(schedule.rows, c.rows) << c.riders;
        EXPECT_EQ(schedule.startTick, c.startTick) << c.riders;
        EXPECT_FLOAT_EQ(schedule.startClockRate, 6.0f / static_cast<float>(1 + 3 * c.rows));
    }
}

TEST(EventTitleTest, KnownCircuitsAndAnyOther)
{
    const struct
    {
        const char* circuit;
        const char* title;
    } cases[] = {{"Assen", "Dutch Grand Prix"},
                 {"Bruenn", "Czech Rep. Grand Prix"},
                 {"Nuerburgring", "Deutschland Grand Prix"},
                 {"Frankreich", "Grand Prix de France"},
                 {"Suzuka", "Japanese Grand Prix"},
                 {"Sentul", "Indonesian Grand Prix"},
                 {"assen", "Grand Prix"},  // compared exactly
                 {"Jerez", "Grand Prix"},
                 {"", "Grand Prix"}};
    for (const auto& c : cases)
    {
        EXPECT_EQ(EventTitle(c.circuit), c.title) << c.circuit;
    }
}

TEST(EventTitleTest, GrandPrixTitleFromTheListOrTheNetworkCircuitWords)
{
    const struct
    {
        Language language;
        CircuitId circuit;
        const char* listText;
        const char* title;
    } cases[] = {
        {Language::German, CircuitId::Drenthe, "(Assen) Niederlande", "Assen Grand Prix"},
        {Language::English, CircuitId::Jerez, "(Jerez", "Jerez Grand Prix"},
        {Language::English, CircuitId::Jerez, "", " Grand Prix"},
        {Language::German, CircuitId::Netz1, "", "Hexagon Ring Grand Prix"},
        {Language::English, CircuitId::Netz3, "", "Mount Elisabeth Grand Prix"},
    };
    for (const auto& c : cases)
    {
        EXPECT_STREQ(GrandPrixTitle(c.language, c.circuit, c.listText).data(), c.title)
            << c.listText;
    }
    EXPECT_STREQ(CircuitTitle(Language::German, CircuitId::Nuerburgring).first, "N\xFCrburg");
    EXPECT_STREQ(CircuitTitle(Language::English, CircuitId::Nuerburgring).first, "Nurburg");
    EXPECT_STREQ(CircuitTitle(Language::English, CircuitId::Bruenn).first, "Brno");
    EXPECT_STREQ(CircuitTitle(Language::English, CircuitId::Bruenn).second, "");
}

TEST(EventTitleTest, LongListTextLeavesRoomForTheSuffix)
{
    const std::string text = "(" + std::string(400, 'x');
    const TitleText title = GrandPrixTitle(Language::German, CircuitId::Imola, text);
    const std::string shown = title.data();
    EXPECT_EQ(shown.size(), 255u);
    EXPECT_TRUE(shown.ends_with("xx Grand Prix"));
}

class StartingGrid : public testing::Test
{
protected:
    StartingGrid() : scene(26)
    {
        scene.frame.circuit = CircuitId::Drenthe;
        scene.frame.circuitListText = "(Assen)";
        scene.frame.bikeClass = BikeClass::Class250;
        scene.frame.realFrameMs = 40;
        for (uint32_t rider = 0; rider < 26; ++rider)
        {
            gridTexts[rider] = {};
            const std::string text = std::to_string(100 + rider) + ".5";
            std::copy(text.begin(), text.end(), gridTexts[rider].begin());
        }
        scene.frame.gridTexts = gridTexts;
        titles.SetGridPageActive(true);
        titles.BuildTitle(scene.frame, hooks);
    }

    HudScene scene;
    std::array<std::array<char, 16>, 26> gridTexts{};
    RaceTitles titles;
    RecordingHooks hooks;
    RecordingCanvas canvas;
};

TEST_F(StartingGrid, TwentySixRidersTakeSevenRowsOfTwoAndAHalfSeconds)
{
    EXPECT_EQ(titles.State(), TitleState::StartingGrid);
    EXPECT_STREQ(titles.Title(), "Assen Grand Prix");
    EXPECT_EQ(hooks.calls, std::vector<std::string>{"schedule 0.272727 625"});

    int frames = 0;
    std::vector<std::string> lastRow;
    while (titles.DrawStartingGrid(scene.frame, canvas) && frames < 2000)
    {
        ++frames;
        if (titles.Row() == 6)
        {
            lastRow = canvas.Lines("text Tv1");
        }
        canvas.log.clear();
    }
    // Each row 2.5 s at twice the real time: 5000 ms of page clock, 63 frames of 40 ms.
    EXPECT_EQ(frames, 7 * 63 - 1);
    EXPECT_EQ(titles.State(), TitleState::None);
    EXPECT_FALSE(titles.GridPageActive());
    EXPECT_EQ(lastRow,
              (std::vector<std::string>{"text Tv1 186,150 L Last24", "text Tv1 266,200 L Last25"}));
}

TEST_F(StartingGrid, RowOpensHoldsAndCloses)
{
    std::vector<std::string> clips;
    for (int frame = 0; frame < 63; ++frame)
    {
        canvas.log.clear();
        titles.DrawStartingGrid(scene.frame, canvas);
        const std::vector<std::string> frameClips = canvas.Lines("clip");
        clips.push_back(frameClips.empty() ? "open" : frameClips[0]);
    }
    EXPECT_EQ(clips[0], "clip 0,150 640,176");   // 80 of 1000 open
    EXPECT_EQ(clips[11], "clip 0,150 640,466");  // nearly open
    EXPECT_EQ(clips[12], "open");                // open from 0.5 s on: left as it is
    EXPECT_EQ(clips[50], "clip 0,150 640,453");  // closing in the last 0.5 s
    EXPECT_EQ(clips[62], "clip 0,150 640,150");  // closed: the next row
    EXPECT_EQ(titles.Row(), 1);

    canvas.log.clear();
    titles.DrawStartingGrid(scene.frame, canvas);
    EXPECT_TRUE(canvas.Has("text Balmoral 320,60 C Starting Grid"));
    EXPECT_TRUE(canvas.Has("text Balmoral 213,90 L Assen Grand Prix"));
    EXPECT_TRUE(canvas.Has("text BigDigits 351,90 L 250"));
    EXPECT_TRUE(canvas.Has("text Balmoral 375,102 L ccm"));
    EXPECT_TRUE(canvas.Has("text Balmoral 443,182 C 2nd Row"));
    EXPECT_TRUE(canvas.Has("text BigDigits 160,161 L 5"));
    EXPECT_TRUE(canvas.Has("text Tv1 186,150 L Last4"));
    EXPECT_TRUE(canvas.Has("text SmallYellow 186,174 L 104.5"));
}

TEST_F(StartingGrid, GridThatIsNotAskedForEndsAtOnce)
{
    titles.SetGridPageActive(false);
    EXPECT_FALSE(titles.DrawStartingGrid(scene.frame, canvas));
    EXPECT_EQ(titles.State(), TitleState::None);
    EXPECT_TRUE(canvas.log.empty());
}

TEST(RaceTitlesTest, PracticeBuildsNoTitle)
{
    HudScene scene(10);
    scene.frame.isRaceSession = false;
    RaceTitles titles;
    RecordingHooks hooks;
    titles.BuildTitle(scene.frame, hooks);
    titles.BuildEventTitle(scene.frame);
    EXPECT_EQ(titles.State(), TitleState::None);
    EXPECT_TRUE(hooks.calls.empty());
}

class FinalStanding : public testing::Test
{
protected:
    FinalStanding() : scene(12)
    {
        scene.frame.realFrameMs = 100;
        scene.frame.language = Language::English;
        titles.BuildEventTitle(scene.frame);
    }

    void Finish(uint32_t rider, float seconds)
    {
        scene.bikes[rider].timedLap = 6;
        scene.bikes[rider].aiLapStartMs = static_cast<int32_t>(seconds * 1000.0f);
        scene.standings.sessionTimes[rider] = seconds;
    }

    HudScene scene;
    RaceTitles titles;
    RecordingHooks hooks;
    RecordingCanvas canvas;
};

TEST_F(FinalStanding, WaitsForTheWinnerThenListsTheFinishersWithGaps)
{
    EXPECT_EQ(titles.State(), TitleState::FinalStanding);
    EXPECT_STREQ(titles.Title(), "Dutch Grand Prix");
    EXPECT_TRUE(titles.DrawFinalStanding(scene.frame, canvas, hooks));
    EXPECT_TRUE(canvas.log.empty());

    Finish(0, 100.0f);
    Finish(1, 101.25f);
    Finish(2, 99.0f);  // behind on the road, ahead on the clock: the crossing order holds
    titles.DrawFinalStanding(scene.frame, canvas, hooks);
    titles.DrawFinalStanding(scene.frame, canvas, hooks);
    EXPECT_EQ(hooks.calls, std::vector<std::string>{"finish"});  // once, not every frame
    EXPECT_TRUE(canvas.Has("text Balmoral 320,20 C Final Standing"));
    EXPECT_TRUE(canvas.Has("text Tv1 80,90 L First2 Last2"));
    EXPECT_TRUE(canvas.Has("text Tv3Fixed 640,90 R 01:39:000"));
    EXPECT_TRUE(canvas.Has("text Tv3Fixed 640,120 R 00:01:000"));
    EXPECT_TRUE(canvas.Has("text Tv3Fixed 640,150 R 00:02:250"));
    EXPECT_TRUE(canvas.Lines("text Tv1 80,180").empty());  // rider 3 still racing
    EXPECT_TRUE(canvas.Has("clip 0,90 640,168"));          // revealing over the first second
}

TEST_F(FinalStanding, HoldsFiveSecondsAfterTheLastRider)
{
    for (uint32_t rider = 0; rider < 12; ++rider)
    {
        Finish(rider, 100.0f + static_cast<float>(rider));
    }
    int frames = 0;
    while (titles.DrawFinalStanding(scene.frame, canvas, hooks) && frames < 1000)
    {
        ++frames;
    }
    // The page clock from 1000 to below -5000 in 100 ms frames.
    EXPECT_EQ(frames, 60);
}
}  // namespace

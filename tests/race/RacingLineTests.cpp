// The racing line: its node forms, the file image, the checks that keep a damaged file out and
// the loading of the current circuit's line.

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/util/LittleEndian.h"
#include "race/RaceContext.h"
#include "race/RacingLine.h"
#include "race/RacingLineFile.h"
#include "tests/race/RingLine.h"
#include "tests/support/TestDirectory.h"

namespace
{
std::string AsString(const std::vector<uint8_t>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

TEST(RacingLineTest, CanonicalNodeFollowsTheSideLinksDownToTheMainLine)
{
    const auto line = MakeRingLine(10);
    line->nodeCount = 16;
    line->linkLimit = 16;
    line->pitLaneEndNode = 10;
    for (uint16_t i = 10; i < 16; ++i)
    {
        line->nodes[i].sideLink0 = line->nodes[i].sideLink1 = RacingLine::kNoNode;
    }
    // Side-0 lane 10..12 beside 4..6; a node of a lane further out beside it.
    for (uint16_t i = 0; i < 3; ++i)
    {
        line->nodes[4 + i].sideLink0 = static_cast<uint16_t>(10 + i);
        line->nodes[10 + i].sideLink1 = static_cast<uint16_t>(4 + i);
    }
    line->nodes[13].sideLink1 = 11;
    line->nodes[14].sideLink1 = 15;  // a link upwards is no way down
    line->nodes[15].sideLink0 = 14;

    EXPECT_EQ(line->CanonicalNode(4), 4);
    EXPECT_EQ(line->CanonicalNode(11), 5);
    EXPECT_EQ(line->CanonicalNode(13), 5);
    EXPECT_EQ(line->CanonicalNode(15), 14);
    EXPECT_EQ(line->CanonicalNode(RacingLine::kNoNode), RacingLine::kNoNode);
}

TEST(RacingLineTest, FileNamesTakeTheClassAtMostTwo)
{
    EXPECT_EQ(RacingLine::MakeFileName("Jerez", 1), "Streckendaten/Jerez1.wgf");
    EXPECT_EQ(RacingLine::MakeFileName("Jerez", 3), "Streckendaten/Jerez2.wgf");
    EXPECT_EQ(RacingLine::MakeFileName("Jerez", 4), "Streckendaten/Jerez0.wgf");
}

TEST(RacingLineTest, ResetEmptiesTheCountsAndTheTimingNodes)
{
    const auto line = MakeRingLine(10);
    line->timingNodes[2] = 4;
    line->Reset();
    EXPECT_EQ(line->nodeCount, 0);
    EXPECT_EQ(line->linkLimit, 0);
    EXPECT_EQ(line->lapLengthUnits, RacingLine::kDefaultLapLengthUnits);
    EXPECT_EQ(line->timingNodes[2], RacingLine::kNoNode);
}

RacingLineNode SampleNode()
{
    return {.x = -12.34f,
            .y = 5.0f,
            .z = 100.5f,
            .speedFactor = 31.25f,
            .slope = 0.1f,
            .heading = 1.5f,
            .edgeA = 0.6f,
            .edgeB = -0.8f,
            .edgeC = 2.0f,
            .next = 8,
            .previous = 6,
            .section = 7,
            .sideLink0 = 1000,
            .sideLink1 = 2000,
            .stepLength = 3,
            .runAhead = 255,
            .padding = 0};
}

TEST(RacingLineNodeTest, TheArchiveFormCarriesPositionSpeedHeadingAndLinks)
{
    const RacingLineNode node = SampleNode();
    std::vector<uint8_t> bytes;
    node.Store(bytes);
    ASSERT_EQ(bytes.size(), RacingLineNode::kArchiveSize);
    EXPECT_EQ(std::bit_cast<float>(LoadLe32(&bytes[4])), 100.5f) << "z second";
    EXPECT_EQ(LoadLe16(&bytes[22]), 2000) << "side link 1 before side link 0";
    EXPECT_EQ(LoadLe16(&bytes[24]), 1000);

    RacingLineNode loaded = SampleNode();
    ASSERT_TRUE(loaded.Load(bytes));
    EXPECT_EQ(loaded.x, node.x);
    EXPECT_EQ(loaded.heading, node.heading);
    EXPECT_EQ(loaded.sideLink0, 1000);
    EXPECT_EQ(loaded.runAhead, 255);
    EXPECT_EQ(loaded.y, 0.0f);
    EXPECT_EQ(loaded.slope, 0.0f);
    EXPECT_EQ(loaded.edgeC, 0.0f);
    EXPECT_FALSE(loaded.Load(std::span(bytes).first(29)));

    RacingLineNode copy{};
    copy.CopyFrom(node);
    EXPECT_EQ(std::memcmp(&copy, &node, sizeof node), 0);
}

TEST(RacingLineNodeTest, TheCompactFormTruncatesTowardZero)
{
    std::vector<uint8_t> bytes;
    SampleNode().StoreCompact(bytes);
    ASSERT_EQ(bytes.size(), RacingLineNode::kCompactSize);
    EXPECT_EQ(static_cast<int16_t>(LoadLe16(&bytes[0])), -308) << "-12.34 x 25 = -308.5";
    EXPECT_EQ(LoadLe16(&bytes[2]), 2512) << "100.5 x 25";
    EXPECT_EQ(LoadLe16(&bytes[4]), 977) << "1.5 rad in 4096ths of a turn";
    EXPECT_EQ(LoadLe16(&bytes[6]), 8000) << "31.25 x 256";
    EXPECT_EQ(LoadLe16(&bytes[8]), 8) << "then the links";
    EXPECT_EQ(LoadLe16(&bytes[20]), 255);
}

TEST(RacingLineFileTest, AnyImageReadsAndWritesBackByteForByte)
{
    std::vector<uint8_t> file(kRacingLineFileSize + 9);
    std::mt19937 random(7);
    for (uint8_t& byte : file)
    {
        byte = static_cast<uint8_t>(random());
    }
    const auto line = std::make_unique<RacingLine>();
    StandingsHeadRecord head;
    ASSERT_TRUE(DecodeRacingLineFile(file, *line, head));
    file.resize(kRacingLineFileSize);
    EXPECT_TRUE(EncodeRacingLineFile(*line, head) == file) << "bytes after the image are dropped";

    // The fields land at the image's offsets.
    EXPECT_EQ(line->linkLimit, LoadLe16(&file[6]));
    EXPECT_EQ(line->nodes[4749].runAhead, LoadLe16(&file[552 + 4749 * 52 + 48]));
    EXPECT_EQ(line->startSlots.node[69], LoadLe16(&file[249780 + 2 * 69]));
    EXPECT_EQ(std::bit_cast<uint32_t>(head.lineOffset[2]), LoadLe32(&file[249920 + 72]));
}

TEST(RacingLineFileTest, AShortFileChangesNothing)
{
    const auto ring = MakeRingLine(12);
    StandingsHeadRecord head;
    std::vector<uint8_t> file = EncodeRacingLineFile(*ring, head);
    file.pop_back();
    const auto line = MakeRingLine(5);
    EXPECT_FALSE(DecodeRacingLineFile(file, *line, head));
    EXPECT_EQ(line->nodeCount, 5);
}

struct Damage
{
    const char* name;
    std::function<void(RacingLine&, StandingsHeadRecord&)> apply;
};

class UnusableLineTest : public ::testing::TestWithParam<Damage>
{
};

TEST_P(UnusableLineTest, IsRefused)
{
    const auto line = MakeRingLine(40);
    StandingsHeadRecord head;
    ASSERT_TRUE(IsUsableRacingLine(*line, head));
    GetParam().apply(*line, head);
    EXPECT_FALSE(IsUsableRacingLine(*line, head));
}

INSTANTIATE_TEST_SUITE_P(
    Damages, UnusableLineTest,
    ::testing::Values(
        Damage{"MoreNodesThanTheLineHolds",
               [](RacingLine& l, StandingsHeadRecord&) { l.nodeCount = l.linkLimit = 4751; }},
        Damage{"NoMainLap", [](RacingLine& l, StandingsHeadRecord&) { l.pitLaneFirstNode = 0; }},
        Damage{"PitLaneEndsBeforeItBegins",
               [](RacingLine& l, StandingsHeadRecord&) { l.pitLaneEndNode = 39; }},
        Damage{"LinkLimitBeyondTheNodes",
               [](RacingLine& l, StandingsHeadRecord&) { l.linkLimit = 41; }},
        Damage{"MainLapLongerThanTheAidTable", [](RacingLine& l, StandingsHeadRecord&)
               { l.nodeCount = l.linkLimit = l.pitLaneEndNode = l.pitLaneFirstNode = 801; }},
        Damage{"NextLinkOutsideTheLine",
               [](RacingLine& l, StandingsHeadRecord&) { l.nodes[7].next = 40; }},
        Damage{"MainLapLinkToNowhere", [](RacingLine& l, StandingsHeadRecord&)
               { l.nodes[3].previous = RacingLine::kNoNode; }},
        Damage{"NoGripFactor", [](RacingLine& l, StandingsHeadRecord&) { l.gripFactor = 0.0f; }},
        Damage{"TooManyCameras", [](RacingLine& l, StandingsHeadRecord&) { l.tvCameraCount = 41; }},
        Damage{"TooManyStartSlots",
               [](RacingLine& l, StandingsHeadRecord&) { l.startSlots.count = 71; }},
        Damage{"StartSlotOffTheLine",
               [](RacingLine& l, StandingsHeadRecord&) { l.startSlots.node[2] = 40; }},
        Damage{"PracticeSlotBeyondTheSlots",
               [](RacingLine& l, StandingsHeadRecord&) { l.startSlots.firstPracticeSlot = 3; }},
        Damage{"TimingNodeOffTheLine",
               [](RacingLine& l, StandingsHeadRecord&) { l.timingNodes[1] = 40; }},
        Damage{"FinishZoneOffTheMainLap",
               [](RacingLine& l, StandingsHeadRecord&) { l.finishZoneLast = 40; }},
        Damage{"NoSuchSpeedTrapLine",
               [](RacingLine&, StandingsHeadRecord& h) { h.speedTrapLine = 3; }}),
    [](const ::testing::TestParamInfo<Damage>& info) { return info.param.name; });

TEST(UsableLineTest, BranchesMayEndAndLinksOutsideTheLimitAreNoLinks)
{
    const auto line = MakeRingLine(40);
    line->nodeCount = 44;
    line->linkLimit = 44;
    line->pitLaneEndNode = 42;
    line->nodes[41].next = RacingLine::kNoNode;
    line->nodes[42].previous = RacingLine::kNoNode;
    line->nodes[5].sideLink1 = 60000;
    EXPECT_TRUE(IsUsableRacingLine(*line, StandingsHeadRecord{}));
}

// Loading the current circuit's line from plain files (no data archive).
class LoadRacingLineTest : public ::testing::Test
{
protected:
    void WriteLine(const std::string& name, const RacingLine& line, float lineZ = 0.0f)
    {
        StandingsHeadRecord head;
        head.lineZ[0] = {lineZ, lineZ};
        directory_.WriteFile(name, AsString(EncodeRacingLineFile(line, head)));
    }

    TestDirectory directory_;
    std::unique_ptr<RaceContext> context_ = std::make_unique<RaceContext>("records.cpr");
};

TEST_F(LoadRacingLineTest, ReadsTheClassFileAndItsTimingLines)
{
    WriteLine("Streckendaten/Oval1.wgf", *MakeRingLine(24), 7.0f);
    context_->current.circuitName = "Oval";
    context_->current.bikeClass = BikeClass::Class250;
    ASSERT_TRUE(context_->LoadRacingLine(nullptr));
    EXPECT_EQ(context_->race.nodeCount, 24);
    EXPECT_EQ(context_->standings.head.lineZ[0][1], 7.0f);
}

TEST_F(LoadRacingLineTest, TheHardestLevelRidesLinesOfItsOwn)
{
    WriteLine("Streckendaten/Oval1.wgf", *MakeRingLine(24));
    WriteLine("Streckendaten/Oval4.wgf", *MakeRingLine(30));
    context_->current.circuitName = "Oval";
    context_->current.bikeClass = BikeClass::Class250;
    context_->current.difficulty = 2;
    ASSERT_TRUE(context_->LoadRacingLine(nullptr));
    EXPECT_EQ(context_->race.nodeCount, 30);
}

TEST_F(LoadRacingLineTest, ClassThreeIsReadAsTwoAndKeptSo)
{
    WriteLine("Streckendaten/Oval2.wgf", *MakeRingLine(26));
    context_->current.circuitName = "Oval";
    context_->current.bikeClass = static_cast<BikeClass>(3);
    ASSERT_TRUE(context_->LoadRacingLine(nullptr));
    EXPECT_EQ(context_->race.nodeCount, 26);
    EXPECT_EQ(context_->current.bikeClass, BikeClass::Class500);
}

TEST_F(LoadRacingLineTest, TheCircuitFolderStandsInWithoutTheDifficulty)
{
    WriteLine("Streckendaten/Oval/Oval1.weg", *MakeRingLine(28));
    context_->current.circuitName = "Oval";
    context_->current.bikeClass = BikeClass::Class250;
    context_->current.difficulty = 2;
    ASSERT_TRUE(context_->LoadRacingLine(nullptr));
    EXPECT_EQ(context_->race.nodeCount, 28);
}

TEST_F(LoadRacingLineTest, ADamagedFileCountsAsMissing)
{
    auto damaged = MakeRingLine(24);
    damaged->nodes[3].next = 500;
    WriteLine("Streckendaten/Oval0.wgf", *damaged);
    context_->current.circuitName = "Oval";
    ASSERT_FALSE(context_->LoadRacingLine(nullptr));

    WriteLine("Streckendaten/Oval/Oval0.weg", *MakeRingLine(22));
    ASSERT_TRUE(context_->LoadRacingLine(nullptr));
    EXPECT_EQ(context_->race.nodeCount, 22);
}

TEST_F(LoadRacingLineTest, WithoutAUsableFileTheLineStaysAsItWas)
{
    WriteLine("Streckendaten/Oval0.wgf", *MakeRingLine(24), 3.0f);
    context_->current.circuitName = "Oval";
    ASSERT_TRUE(context_->LoadRacingLine(nullptr));
    context_->race.gripFactor = 2.0f;

    directory_.WriteFile("Streckendaten/Oval0.wgf", "short");
    EXPECT_FALSE(context_->LoadRacingLine(nullptr));
    context_->current.circuitName = "Elsewhere";
    EXPECT_FALSE(context_->LoadRacingLine(nullptr));
    EXPECT_EQ(context_->race.nodeCount, 24);
    EXPECT_EQ(context_->race.gripOffset, 0.0f) << "not derived again";
    EXPECT_EQ(context_->standings.head.lineZ[0][0], 3.0f);
}

TEST_F(LoadRacingLineTest, GripFactorGivesTheGripOffset)
{
    context_->current.circuitName = "Oval";
    for (const auto& [factor, offset] :
         {std::pair{1.0f, 0.0f}, std::pair{1.2f, 0.1f}, std::pair{0.8f, -0.125f}})
    {
        auto line = MakeRingLine(24);
        line->gripFactor = factor;
        WriteLine("Streckendaten/Oval0.wgf", *line);
        ASSERT_TRUE(context_->LoadRacingLine(nullptr));
        EXPECT_NEAR(context_->race.gripOffset, offset, 1e-6f) << "grip factor " << factor;
    }
}

TEST_F(LoadRacingLineTest, OneCircuitRaisesItsLowCamera)
{
    auto line = MakeRingLine(24);
    line->tvCameras[19].y = 4.0f;
    WriteLine("Streckendaten/Sentul0.wgf", *line);
    context_->current.circuitName = "Sentul";
    context_->current.circuitIndex = CircuitId::Sentul;
    ASSERT_TRUE(context_->LoadRacingLine(nullptr));
    EXPECT_EQ(context_->race.tvCameras[19].y, 5.0f);
    ASSERT_TRUE(context_->LoadRacingLine(nullptr));
    EXPECT_EQ(context_->race.tvCameras[19].y, 5.0f) << "raised once per load";
}
}  // namespace

// The telemetry map's racing line: sections of the main lap between two nodes, and racing-line
// files that are missing or damaged.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/archive/CprArchive.h"
#include "kit/CprWriter.h"
#include "kit/race/CircuitGenerator.h"
#include "race/RacingLineFile.h"
#include "setup/telemetry/TelemetryTrack.h"
#include "tests/support/TestDirectory.h"

namespace
{
constexpr const char* kCircuit = "Oval";

class TelemetryTrackTest : public testing::Test
{
protected:
    void SetUp() override
    {
        std::string error;
        const std::optional<kit::GeneratedCircuit> circuit =
            kit::GenerateCircuit(kit::CircuitShape{}, BikeClass::Class250, error);
        ASSERT_TRUE(circuit) << error;
        line_ = std::make_unique<RacingLine>(*circuit->line);
        file_ = EncodeRacingLineFile(*line_, circuit->head);
        ASSERT_TRUE(Load(file_));
        mainLap_ = line_->pitLaneFirstNode;
        // The generated line has parallel lines beside the main lap, which no section enters.
        ASSERT_GT(line_->nodeCount, mainLap_ + 10);
    }

    // The file as the class's racing line of the archive.
    bool Load(const std::vector<uint8_t>& file)
    {
        kit::CprWriter writer;
        std::string error;
        EXPECT_TRUE(writer.Add(RacingLine::MakeFileName(kCircuit, 1), file,
                               kit::MemberStorage::Stored, error))
            << error;
        const std::vector<uint8_t> bytes = writer.Build();
        directory_.WriteFile("data.cpr", std::string(bytes.begin(), bytes.end()));
        CprArchive archive;
        EXPECT_TRUE(archive.Open("data.cpr", true));
        return track_.Load(&archive, kCircuit, 1);
    }

    TrackPoint NodeAt(uint16_t node) const { return {line_->nodes[node].x, line_->nodes[node].z}; }

    TestDirectory directory_;
    std::unique_ptr<RacingLine> line_;
    std::vector<uint8_t> file_;
    TelemetryTrack track_;
    int32_t mainLap_ = 0;
};

void ExpectPoint(const TrackPoint& point, const TrackPoint& expected)
{
    EXPECT_FLOAT_EQ(point.x, expected.x);
    EXPECT_FLOAT_EQ(point.z, expected.z);
}

TEST_F(TelemetryTrackTest, ASectionOverTheStartWrapsAtTheMainLapsEnd)
{
    const std::vector<TrackPoint> section = track_.Section(mainLap_ - 2, 1);
    ASSERT_EQ(section.size(), 4u);  // a segment per node
    ExpectPoint(section[0], NodeAt(static_cast<uint16_t>(mainLap_ - 2)));
    ExpectPoint(section[1], NodeAt(static_cast<uint16_t>(mainLap_ - 1)));
    ExpectPoint(section[2], NodeAt(0));
    ExpectPoint(section[3], NodeAt(1));
}

TEST_F(TelemetryTrackTest, ALongSectionHasAHundredSegmentsInWhole256thsOfANode)
{
    const int32_t last = mainLap_ - 1;
    ASSERT_GE(last, TelemetryTrack::kSectionSegments);
    const std::vector<TrackPoint> section = track_.Section(0, last);
    ASSERT_EQ(section.size(), 101u);
    ExpectPoint(section.front(), NodeAt(0));
    ExpectPoint(section.back(), NodeAt(static_cast<uint16_t>(last)));
    // Point 37 lies at 37/100 of the way, in 256ths of a node, between its two nodes.
    const int64_t at = int64_t{last} * 256 * 37 / 100;
    const auto node = static_cast<uint16_t>(at / 256);
    const float t = static_cast<float>(at % 256) / 256.0f;
    const TrackPoint a = NodeAt(node);
    const TrackPoint b = NodeAt(static_cast<uint16_t>(node + 1));
    ExpectPoint(section[37], {a.x + (b.x - a.x) * t, a.z + (b.z - a.z) * t});
}

TEST_F(TelemetryTrackTest, SampleNodesMapToTheMainLapOrToNone)
{
    EXPECT_EQ(track_.MainNode(7), 7);
    EXPECT_EQ(track_.MainNode(static_cast<uint16_t>(mainLap_ + 7)), 7);  // a parallel line
    EXPECT_EQ(track_.MainNode(line_->nodeCount), TelemetryTrack::kNoNode);
    EXPECT_EQ(track_.MainNode(0xFFFF), TelemetryTrack::kNoNode);
    // A section needs two main-lap nodes; a single node is one point.
    EXPECT_TRUE(track_.Section(TelemetryTrack::kNoNode, 5).empty());
    EXPECT_TRUE(track_.Section(3, mainLap_).empty());
    EXPECT_EQ(track_.Section(4, 4).size(), 1u);
    ExpectPoint(track_.Point(4), NodeAt(4));
    const std::vector<TrackPoint> lap = track_.MainLap();
    ASSERT_EQ(lap.size(), static_cast<size_t>(mainLap_) + 1);
    ExpectPoint(lap.back(), NodeAt(0));
}

TEST_F(TelemetryTrackTest, AMissingOrDamagedRacingLineLeavesNoLine)
{
    std::vector<uint8_t> shortFile = file_;
    shortFile.resize(kRacingLineFileSize - 1);
    std::vector<uint8_t> tooManyNodes = file_;
    tooManyNodes[0] = 0xFF;  // nodeCount 0x..FF beyond the table
    tooManyNodes[1] = 0xFF;
    for (const std::vector<uint8_t>* damaged : {&shortFile, &tooManyNodes})
    {
        EXPECT_FALSE(Load(*damaged));
        EXPECT_FALSE(track_.HasLine());
        EXPECT_EQ(track_.MainNode(3), TelemetryTrack::kNoNode);
        EXPECT_TRUE(track_.Section(0, 5).empty());
        EXPECT_TRUE(track_.MainLap().empty());
    }
    CprArchive empty;
    EXPECT_FALSE(track_.Load(&empty, kCircuit, 1));
    EXPECT_FALSE(track_.Load(nullptr, kCircuit, 1));
}
}  // namespace

// Generated circuits: shapes the generator builds and refuses, and the kit's own checks, which
// every built shape passes and which catch what would stop a race.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "kit/race/CircuitChecks.h"
#include "kit/race/CircuitGenerator.h"
#include "kit/race/DemoRace.h"
#include "kit/race/GroundMesh.h"

namespace
{
struct ShapeCase
{
    const char* name;
    kit::CircuitShape shape;
};

kit::CircuitShape Shape(float lap, int bends, float radius, float halfWidth = 6.0f)
{
    kit::CircuitShape shape;
    shape.lapLengthMetres = lap;
    shape.bends = bends;
    shape.bendRadiusMetres = radius;
    shape.trackHalfWidthMetres = halfWidth;
    return shape;
}

std::string Joined(const std::vector<std::string>& problems)
{
    std::string text;
    for (const std::string& problem : problems)
    {
        text += problem + "\n";
    }
    return text;
}

class BuiltShapeTest : public ::testing::TestWithParam<ShapeCase>
{
};

TEST_P(BuiltShapeTest, PassesTheChecksInEveryClass)
{
    for (const BikeClass bikeClass :
         {BikeClass::Class125, BikeClass::Class250, BikeClass::Class500})
    {
        std::string error;
        const std::optional<kit::GeneratedCircuit> circuit =
            kit::GenerateCircuit(GetParam().shape, bikeClass, error);
        ASSERT_TRUE(circuit.has_value()) << error;
        EXPECT_EQ(Joined(kit::CheckCircuit(*circuit)), "") << "class " << ToIndex(bikeClass);
    }
}

INSTANTIATE_TEST_SUITE_P(Shapes, BuiltShapeTest,
                         ::testing::Values(ShapeCase{"Demo", kit::DemoCircuitShape()},
                                           ShapeCase{"Oval", kit::CircuitShape{}},
                                           ShapeCase{"Triangle", Shape(1500, 3, 40)},
                                           ShapeCase{"TightSquare", Shape(1200, 4, 25)},
                                           ShapeCase{"WideOctagon", Shape(4000, 8, 70, 10)},
                                           ShapeCase{"LongOval", Shape(5000, 2, 120)}),
                         [](const ::testing::TestParamInfo<ShapeCase>& info)
                         { return info.param.name; });

TEST(CircuitGeneratorTest, RefusesShapesItCannotBuild)
{
    const struct
    {
        kit::CircuitShape shape;
        std::string reason;
    } cases[] = {
        {Shape(977, 1, 60), "a lap needs two bends at least"},
        {Shape(500, 2, 60), "the straights are too short for the grid"},
        {Shape(977, 2, 60, 4), "the lanes do not fit on the track"},
        {Shape(977, 2, 15), "the run-off reaches past the centre of the bends"},
    };
    for (const auto& c : cases)
    {
        std::string error;
        EXPECT_FALSE(kit::GenerateCircuit(c.shape, BikeClass::Class125, error).has_value());
        EXPECT_EQ(error, c.reason);
    }
}

TEST(CircuitGeneratorTest, TheLineHasItsLanesGridAndSpeeds)
{
    std::string error;
    const auto circuit = kit::GenerateCircuit(Shape(3000, 2, 60), BikeClass::Class500, error);
    ASSERT_TRUE(circuit.has_value()) << error;
    const RacingLine& line = *circuit->line;
    const uint16_t lap = line.pitLaneFirstNode;
    EXPECT_EQ(line.nodeCount, 3 * lap);
    EXPECT_EQ(line.linkLimit, line.nodeCount);
    EXPECT_EQ(line.startSlots.count, 27);
    for (uint16_t node = 0; node < line.nodeCount; ++node)
    {
        ASSERT_EQ(line.CanonicalNode(node), node % lap) << "node " << node;
    }
    // Fast on the straights, slower in the bends and on their inside, braking before them.
    const auto [slowest, fastest] =
        std::minmax_element(line.nodes.begin(), line.nodes.begin() + lap,
                            [](const RacingLineNode& a, const RacingLineNode& b)
                            { return a.speedFactor < b.speedFactor; });
    EXPECT_EQ(fastest->speedFactor, 80.0f);
    EXPECT_NEAR(slowest->speedFactor, std::sqrt(12.0f * 60.0f), 0.01f);
    const auto bendNode = static_cast<uint16_t>(slowest - line.nodes.begin());
    EXPECT_LT(line.nodes[2 * lap + bendNode].speedFactor, slowest->speedFactor) << "inside";
    EXPECT_GT(line.nodes[lap + bendNode].speedFactor, slowest->speedFactor) << "outside";
}

// Damage the checks must find.
struct Fault
{
    const char* name;
    void (*apply)(kit::GeneratedCircuit&);
    const char* finding;
};

class CircuitCheckTest : public ::testing::TestWithParam<Fault>
{
};

TEST_P(CircuitCheckTest, FindsTheFault)
{
    std::string error;
    auto circuit = kit::GenerateCircuit(kit::CircuitShape{}, BikeClass::Class250, error);
    ASSERT_TRUE(circuit.has_value()) << error;
    GetParam().apply(*circuit);
    EXPECT_NE(Joined(kit::CheckCircuit(*circuit)).find(GetParam().finding), std::string::npos)
        << Joined(kit::CheckCircuit(*circuit));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, CircuitCheckTest,
    ::testing::Values(
        Fault{"TriangleWoundTheOtherWay",
              [](kit::GeneratedCircuit& c)
              {
                  auto& corners = c.ground[40].corners;
                  std::swap(corners[2], corners[4]);
                  std::swap(corners[3], corners[5]);
              },
              "triangle 40 is wound the other way"},
        Fault{"NeighbourNotLinkedBack",
              [](kit::GeneratedCircuit& c) {
                  c.ground[41].neighbours = {-1, -1, -1};
              },
              "is not linked back"},
        Fault{"NodeOffTheGround", [](kit::GeneratedCircuit& c) { c.line->nodes[77].x += 500.0f; },
              "node 77 lies in 0 triangles"},
        Fault{"NodeOnTheGrass", [](kit::GeneratedCircuit& c) { c.line->nodes[12].x -= 9.0f; },
              "node 12 lies in 1 triangles, surface 3"},
        Fault{"StartSlotOnAnEdge",
              [](kit::GeneratedCircuit& c)
              {
                  c.line->startSlots.x[5] = c.ground[0].corners[0];
                  c.line->startSlots.z[5] = c.ground[0].corners[1];
              },
              "start slot 5 lies in"},
        Fault{"TimingLineEndsSwapped",
              [](kit::GeneratedCircuit& c)
              {
                  std::swap(c.head.lineX[1][0], c.head.lineX[1][1]);
                  std::swap(c.head.lineZ[1][0], c.head.lineZ[1][1]);
              },
              "does not cross the timing lines in lap order"},
        Fault{"TimingLinesOutOfOrder",
              [](kit::GeneratedCircuit& c)
              {
                  std::swap(c.head.lineX[1], c.head.lineX[2]);
                  std::swap(c.head.lineZ[1], c.head.lineZ[2]);
                  std::swap(c.head.lineSlope[1], c.head.lineSlope[2]);
                  std::swap(c.head.lineOffset[1], c.head.lineOffset[2]);
              },
              "are not crossed in lap order"},
        Fault{"UnusableLine", [](kit::GeneratedCircuit& c) { c.line->nodes[3].next = 9000; },
              "not usable"}),
    [](const ::testing::TestParamInfo<Fault>& info) { return info.param.name; });
}  // namespace

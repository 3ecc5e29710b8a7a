#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <string>

#include "core/files/FileSystem.h"
#include "core/world/WorldObject.h"
#include "kit/motion/PoseTableWriter.h"
#include "tests/view/rider/RiderWorld.h"
#include "view/rider/RiderPoseTable.h"

namespace
{
constexpr float kUnit = static_cast<float>(2.0 * std::numbers::pi / 16384.0);
constexpr uint32_t kNoGhost = 0xFFFFFFFF;
using Angles = std::array<int32_t, 3>;  // heading, pitch, bank in table steps

// Row r's joint j angle k = 1000 r + 10 j + k; the hip of row r at (r, 0.7 + r, 2 r).
kit::PoseTable NumberedTable()
{
    kit::PoseTable table;
    for (size_t row = 0; row < table.size(); ++row)
    {
        const auto r = static_cast<float>(row);
        table[row].hip = {r, 0.7f + r, 2.0f * r};
        for (size_t joint = 0; joint < 13; ++joint)
        {
            for (size_t k = 0; k < 3; ++k)
            {
                table[row].joints[joint][k] =
                    static_cast<int32_t>(1000 * row + 10 * (joint + 1) + k);
            }
        }
    }
    return table;
}

Angles StepsOf(const WorldObject& node)
{
    const auto steps = [](float radians)
    { return static_cast<int32_t>(std::lround(radians / kUnit)); };
    return {steps(node.angles[1]), steps(node.angles[0]), steps(node.angles[2])};
}

class RiderPoseTableTest : public RiderWorldTest
{
protected:
    void LoadTable(const kit::PoseTable& table)
    {
        ASSERT_TRUE(files::MakeDirectories("Motions"));
        ASSERT_TRUE(
            files::ReplaceAtomically(RiderPoseTable::kFileName, kit::WritePoseTable(table)));
        ASSERT_TRUE(poses_.Load());
    }

    RiderPoseTable poses_;
};

TEST_F(RiderPoseTableTest, OnlyATableOfExactlyTheRightSizeLoads)
{
    LoadTable(NumberedTable());
    const std::vector<uint8_t> good = kit::WritePoseTable(NumberedTable());
    ASSERT_EQ(good.size(), 1800u);
    for (const size_t size : {1799u, 1801u, 0u})
    {
        std::vector<uint8_t> bytes = good;
        bytes.resize(size);
        ASSERT_TRUE(files::ReplaceAtomically(RiderPoseTable::kFileName, bytes));
        EXPECT_FALSE(poses_.Load()) << size;
    }
    EXPECT_EQ(poses_.Rows()[9].joints[12][2], 9132) << "the table stays as it was";
    EXPECT_EQ(poses_.Rows()[2].hip[1], 2.7f);
    ASSERT_TRUE(files::Remove(RiderPoseTable::kFileName));
    EXPECT_FALSE(poses_.Load());
}

// Lean 0 without braking is the first row: the hip's placement and each node's joint, with
// the angles' two low bits cleared. The walk poses 12 nodes; the last one in its order (the
// right hand) keeps its angles.
TEST_F(RiderPoseTableTest, UprightRiderTakesTheFirstRow)
{
    LoadTable(NumberedTable());
    BuildRider(0, 0.0f, 0.0f);
    poses_.Update(bikes_, 1, 0.02f, kNoGhost);
    const WorldObject* hip = Part(0, 0);
    EXPECT_EQ(hip->placement.x, 0.0f);
    EXPECT_FLOAT_EQ(hip->placement.y, 0.7f);
    EXPECT_EQ(hip->placement.z, 0.0f);
    for (int32_t part = 0; part < 13; ++part)
    {
        const int32_t joint = static_cast<int32_t>(kPartCodes[part]) + 1;
        const Angles expected =
            part == 11 ? Angles{0, 0, 0}
                       : Angles{(10 * joint) & ~3, (10 * joint + 1) & ~3, (10 * joint + 2) & ~3};
        EXPECT_EQ(StepsOf(*Part(0, part)), expected) << "part " << part;
    }
}

// Rows r, r + 1 blend by the lean weight, rows r + 5 and r + 6 likewise, and the two sets by
// the fade weight; a left-side pose negates heading and bank and swaps the limbs' joints;
// code 6 takes the twist.
TEST_F(RiderPoseTableTest, BlendOfFourRows)
{
    LoadTable(NumberedTable());
    BuildRider(0, 0.0f, 0.0f);
    struct Case
    {
        const char* name;
        int32_t part;
        int32_t row;
        int32_t leanWeight;
        int32_t fadeWeight;
        bool rightSide;
        int32_t twist;
        Angles expected;
    };
    const Case cases[] = {
        // joint 2 (thigh left): 1020 + 1000 x 128 / 256
        {"lean blend", 2, 1, 128, 0, true, 0, {1520, 1520, 1520}},
        {"lean and fade", 2, 1, 128, 64, true, 0, {2768, 2768, 2772}},
        // the left thigh takes joint 4, heading and bank negated
        {"mirrored", 2, 1, 128, 0, false, 0, {16384 - 1540, 1540, 16384 - 1544}},
        {"hip mirrored", 0, 0, 0, 0, false, 0, {16384 - 12, 8, 16384 - 12}},
        // joint 7 (helmet) 70, 71, 72 with the twist's half-halves
        {"twist", 12, 0, 0, 0, true, 400, {168, 120, 16384 - 28}},
        {"twist the other way", 12, 0, 0, 0, true, -400, {16384 - 32, 120, 172}},
        {"twist only for code 6", 1, 0, 0, 0, true, 400, {60, 60, 60}},
    };
    for (const Case& c : cases)
    {
        BlendPose(poses_.Rows(), *Part(0, 0), c.row, c.leanWeight, c.fadeWeight, c.rightSide,
                  c.twist);
        EXPECT_EQ(StepsOf(*Part(0, c.part)), c.expected) << c.name;
    }
    BlendPose(poses_.Rows(), *Part(0, 0), 1, 128, 64, false, 0);
    EXPECT_FLOAT_EQ(Part(0, 0)->placement.x, -(1.5f + (6.5f - 1.5f) * 0.25f));
    EXPECT_FLOAT_EQ(Part(0, 0)->placement.z, 3.0f + (13.0f - 3.0f) * 0.25f);
}

TEST_F(RiderPoseTableTest, AnglesBlendTheShortWayRound)
{
    kit::PoseTable table{};
    table[0].joints[0] = {16000, 200, 8000};
    table[1].joints[0] = {200, 16000, 8400};
    LoadTable(table);
    BuildRider(0, 0.0f, 0.0f);
    BlendPose(poses_.Rows(), *Part(0, 0), 0, 128, 0, true, 0);
    // 16000 to 200 is 584 steps forward through 0; 8000 to 8400 needs no wrap.
    EXPECT_EQ(StepsOf(*Part(0, 0)), (Angles{16292, 16292, 8200}));
}

TEST_F(RiderPoseTableTest, BrakingFadeFollowsTheDeceleration)
{
    LoadTable(NumberedTable());
    BuildRider(0, 0.0f, 0.0f);
    struct Case
    {
        float fade;
        float acceleration;
        float dt;
        float expected;
    };
    const Case cases[] = {
        {0.0f, -10.0f, 0.1f, 20.0f - 6.4f},   // rises by -v x dt x 20
        {0.0f, -24.0f, 0.1f, 48.0f - 6.4f},   //
        {0.0f, -30.0f, 0.1f, 48.0f - 6.4f},   // at most 480 x dt
        {100.0f, 5.0f, 0.1f, 100.0f - 6.4f},  // sinks by 64 x dt
        {3.0f, 0.0f, 0.1f, 0.0f},
        {250.0f, -24.0f, 0.5f, 255.0f},
    };
    for (const Case& c : cases)
    {
        bikes_[0].poseFade = c.fade;
        bikes_[0].acceleration = c.acceleration;
        poses_.Update(bikes_, 1, c.dt, kNoGhost);
        EXPECT_NEAR(bikes_[0].poseFade, c.expected, 1e-4f) << c.fade << ", " << c.acceleration;
        EXPECT_EQ(bikes_[0].poseFadeCopy, static_cast<int32_t>(bikes_[0].poseFade));
    }
}

// Update poses as BlendPose does with the lean's row and weight, the fade and the twist.
TEST_F(RiderPoseTableTest, LeanChoosesTheRowsAndTheSide)
{
    LoadTable(NumberedTable());
    BuildRider(0, 0.0f, 0.0f);
    BuildRider(1, 5.0f, 0.0f);
    struct Case
    {
        float lean;
        int32_t row;
        int32_t leanWeight;
    };
    // |lean| x 3.9 in steps, the weight from its 256ths; beyond the table the last step.
    const Case cases[] = {{0.5f, 1, 243}, {-0.5f, 1, 243}, {0.26f, 1, 3}, {-2.0f, 3, 255}};
    for (const Case& c : cases)
    {
        bikes_[0].steer = c.lean;
        bikes_[0].poseFade = 130.0f;
        bikes_[0].poseTwist = 0.0123f;
        poses_.Update(bikes_, 1, 0.0f, kNoGhost);
        BlendPose(poses_.Rows(), *Part(1, 0), c.row, c.leanWeight, 130, c.lean >= 0.0f, 120);
        for (int32_t part = 0; part < 13; ++part)
        {
            EXPECT_EQ(StepsOf(*Part(0, part)), StepsOf(*Part(1, part)))
                << "lean " << c.lean << ", part " << part;
        }
        EXPECT_EQ(Part(0, 0)->placement.x, Part(1, 0)->placement.x) << c.lean;
    }
}

// A clip poses a rider itself, and a rider who is out is not posed; the ghost always is.
TEST_F(RiderPoseTableTest, RidersInAClipOrOutAreLeftAlone)
{
    LoadTable(NumberedTable());
    for (const uint32_t flags : {0x1u, 0x2u, 0x4u, 0x80000000u})
    {
        BuildRider(0, 0.0f, 0.0f);
        bikes_[0].flags = flags;
        poses_.Update(bikes_, 1, 0.1f, kNoGhost);
        EXPECT_EQ(Part(0, 1)->angles[1], 0.0f) << flags;
        poses_.Update(bikes_, 1, 0.1f, 0);
        EXPECT_NE(Part(0, 1)->angles[1], 0.0f) << flags << " as the ghost";
    }
}

TEST(StripPathCopyTest, KeepsTheTextAfterTheLastSeparator)
{
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"Motions/Motions.MDF", "Motions.MDF"},
        {"a\\b/c\\d.mdf", "d.mdf"},
        {"name", "name"},
        {"/name", "/name"},  // the first character is not looked at
        {"dir/", ""},
        {"", ""},
    };
    for (const auto& [path, expected] : cases)
    {
        EXPECT_EQ(StripPathCopy(path), expected) << path;
    }
}
}  // namespace

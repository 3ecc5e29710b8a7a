// The other players' names over their bikes in a network race.

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "tests/view/hud/HudTestSupport.h"
#include "view/hud/NetPlayerNames.h"

namespace
{
TEST(NetPlayerNamesTest, SplitFirstWordKeepsTheRestOrTheWholeName)
{
    const struct
    {
        const char* name;
        const char* shown;
    } cases[] = {{"Anna Berg", "Berg"}, {"Anna van Berg", "van Berg"},
                 {"Solo", "Solo"},      {"Trailing ", "Trailing "},
                 {" Lead", "Lead"},     {"", ""}};
    for (const auto& c : cases)
    {
        EXPECT_EQ(SplitFirstWord(c.name), c.shown) << c.name;
    }
}

class NetPlayerNames : public testing::Test
{
protected:
    NetPlayerNames()
    {
        scene.frame.playerRider = 0;
        views.fill({0.0f, 0.0f, 10.0f});
    }
    std::vector<std::string> Draw(uint32_t netRiders)
    {
        DrawNetPlayerNames(scene.frame, netRiders, views, projection, canvas);
        return canvas.Lines("colourtext");
    }

    HudScene scene{4};
    RecordingCanvas canvas;
    std::array<Vector3, 4> views{};
    ProjectionValues projection{640, 480, 320.0f, 240.0f, 300.0f, 400.0f};
};

TEST_F(NetPlayerNames, NameCentredAboveTheBikeInGreen)
{
    views[2] = {1.0f, 0.5f, 20.0f};
    // x = 320 + 1 * 400 / 20, y = 240 - 1.5 * 300 / 20 - 10
    EXPECT_EQ(Draw(1u << 2), (std::vector<std::string>{"colourtext Name 340,207 64FF64 C Last2"}));
}

TEST_F(NetPlayerNames, OnlyOtherPlayersRunningWithinSight)
{
    const struct
    {
        const char* what;
        float depth;
        uint32_t flags;
        bool shown;
    } cases[] = {
        {"in sight", 10.0f, 0, true},
        {"nearest", 1.0f, 0, true},
        {"farthest", 200.0f, 0, true},
        {"too near", 0.99f, 0, false},
        {"behind", -10.0f, 0, false},
        {"too far", 200.5f, 0, false},
        {"down", 10.0f, bike_flags::kDown, false},
        {"out", 10.0f, bike_flags::kInactive, false},
    };
    for (const auto& c : cases)
    {
        canvas.log.clear();
        views[1].z = c.depth;
        scene.bikes[1].flags = c.flags;
        EXPECT_EQ(Draw(0b11).size(), c.shown ? 1u : 0u) << c.what;  // the player's bit is set
    }
    canvas.log.clear();
    scene.bikes[1].flags = 0;
    EXPECT_TRUE(Draw(0).empty()) << "riders without a peer are computer riders";
}
}  // namespace

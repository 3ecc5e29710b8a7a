#include <gtest/gtest.h>

#include "tests/view/hud/HudTestSupport.h"
#include "view/tv/PlaceTable.h"

namespace
{
TEST(PlaceTableTest, FullFieldKeepsItsEndMarkInsideTheTable)
{
    HudScene scene(26);
    PlaceTable table;
    table.Build(scene.standings, scene.bikes, 26);
    EXPECT_EQ(table.Count(), 26u);
    EXPECT_EQ(table.RiderAt(1), 0);
    EXPECT_EQ(table.RiderAt(26), 25);
    EXPECT_EQ(table.RiderAt(27), PlaceTable::kEnd);
    EXPECT_EQ(table.RiderAt(0), PlaceTable::kEnd);
    EXPECT_EQ(table.FindPlaceOfRider(25), 26);
}

TEST(PlaceTableTest, EmptySlotOrStrangeRiderEndsTheTable)
{
    HudScene scene(6);
    scene.standings.positionTable[3] = -1;
    PlaceTable table;
    table.Build(scene.standings, scene.bikes, 6);
    EXPECT_EQ(table.Count(), 3u);
    EXPECT_EQ(table.FindPlaceOfRider(4), -1);

    scene.SetOrder({0, 1, 200});
    table.Build(scene.standings, scene.bikes, 3);
    EXPECT_EQ(table.Count(), 2u);
}

TEST(PlaceTableTest, SortPutsMoreLapsThenEarlierCrossingFirst)
{
    HudScene scene(5);
    const struct
    {
        uint16_t lap;
        int32_t lapStart;
    } riders[] = {{2, 90000}, {3, 5000}, {3, 4000}, {2, 80000}, {3, 4000}};
    for (uint32_t rider = 0; rider < 5; ++rider)
    {
        scene.bikes[rider].timedLap = riders[rider].lap;
        scene.bikes[rider].aiLapStartMs = riders[rider].lapStart;
    }
    PlaceTable table;
    table.Build(scene.standings, scene.bikes, 5);
    table.Sort();
    const std::vector<int> expected = {2, 4, 1, 3, 0};  // level riders keep their order
    for (int place = 1; place <= 5; ++place)
    {
        EXPECT_EQ(table.RiderAt(place), expected[place - 1]) << place;
    }
}
}  // namespace

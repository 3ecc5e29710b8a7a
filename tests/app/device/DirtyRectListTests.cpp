#include "app/device/DirtyRectList.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
std::vector<ScreenRect> Stored(const DirtyRectList& list)
{
    std::vector<ScreenRect> rects;
    ScreenRect rect;
    int32_t index = 0;
    while (list.GetNext(&rect, &index))
    {
        rects.push_back(rect);
    }
    return rects;
}

bool Overlap(const ScreenRect& a, const ScreenRect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

int64_t Area(const std::vector<ScreenRect>& rects)
{
    int64_t area = 0;
    for (const ScreenRect& rect : rects)
    {
        area += int64_t{rect.right - rect.left} * (rect.bottom - rect.top);
    }
    return area;
}

struct AddCase
{
    const char* name;
    std::vector<ScreenRect> added;
    std::vector<ScreenRect> stored;
};

class DirtyRectListAddTest : public testing::TestWithParam<AddCase>
{
};

TEST_P(DirtyRectListAddTest, StoresTheRectanglesSplitApart)
{
    DirtyRectList list;
    for (const ScreenRect& rect : GetParam().added)
    {
        list.AddRect(rect);
    }
    EXPECT_EQ(Stored(list), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DirtyRectListAddTest,
    testing::Values(
        AddCase{"TheSameTwice", {{0, 0, 10, 10}, {0, 0, 10, 10}}, {{0, 0, 10, 10}}},
        AddCase{"WiderOverAStoredOne",
                {{5, 0, 10, 10}, {0, 0, 20, 10}},
                {{5, 0, 10, 10}, {10, 0, 20, 10}, {0, 0, 5, 10}}},
        AddCase{"InsideAStoredOne", {{0, 0, 100, 100}, {10, 10, 20, 20}}, {{0, 0, 100, 100}}},
        AddCase{
            "EmptyOrInverted", {{5, 5, 5, 10}, {5, 5, 10, 5}, {10, 0, 0, 10}, {0, 10, 10, 0}}, {}},
        AddCase{"InInsertionOrder",
                {{0, 0, 1, 1}, {5, 5, 6, 6}, {2, 2, 3, 3}},
                {{0, 0, 1, 1}, {5, 5, 6, 6}, {2, 2, 3, 3}}}),
    [](const testing::TestParamInfo<AddCase>& info) { return info.param.name; });

TEST(DirtyRectListTest, AnEnclosingRectangleIsSplitAroundTheStoredOne)
{
    DirtyRectList list;
    list.Add(10, 10, 20, 20);
    list.Add(0, 0, 30, 30);
    const std::vector<ScreenRect> rects = Stored(list);
    EXPECT_EQ(Area(rects), 30 * 30);
    for (size_t i = 0; i < rects.size(); ++i)
    {
        for (size_t j = i + 1; j < rects.size(); ++j)
        {
            EXPECT_FALSE(Overlap(rects[i], rects[j])) << i << " and " << j;
        }
    }
}

TEST(DirtyRectListTest, OverflowKeepsEverythingInOneBoundingRectangle)
{
    DirtyRectList list;
    for (int32_t i = 0; i < DirtyRectList::kCapacity; ++i)
    {
        list.Add(i * 10, 0, i * 10 + 5, 5);
    }
    ASSERT_EQ(list.Count(), DirtyRectList::kCapacity);
    list.Add(0, 100, 10, 110);
    EXPECT_EQ(Stored(list), (std::vector<ScreenRect>{{0, 0, 395, 110}}));
}

TEST(DirtyRectListTest, ClearEmptiesTheList)
{
    DirtyRectList list;
    list.Add(0, 0, 1, 1);
    list.Clear();
    EXPECT_TRUE(Stored(list).empty());
    ScreenRect rect;
    int32_t index = -1;
    EXPECT_FALSE(list.GetNext(&rect, &index));
}
}  // namespace

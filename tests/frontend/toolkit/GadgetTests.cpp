// Registering gadgets, finding the one under the pointer, following it with the highlight,
// and clicks of the left mouse button.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "app/device/DirtyRectList.h"
#include "app/device/RenderBindings.h"
#include "app/input/KeyState.h"
#include "frontend/toolkit/Gadget.h"
#include "frontend/toolkit/MenuPointer.h"
#include "platform/VirtualKeys.h"

namespace
{
int32_t g_cursorX = 0;
int32_t g_cursorY = 0;

void Cursor(int32_t* out)
{
    out[0] = g_cursorX;
    out[1] = g_cursorY;
    out[2] = 1;
}

Gadget VisibleGadget(uint16_t x, uint16_t y, uint16_t width, uint16_t height)
{
    Gadget gadget;
    gadget.screenX = x;
    gadget.screenY = y;
    gadget.width = width;
    gadget.height = height;
    gadget.visible = 1;
    return gadget;
}

TEST(GadgetTest, RegistrationPushesNewestFirstAndClearsTheStates)
{
    Gadget first = VisibleGadget(0, 0, 10, 10);
    Gadget second = VisibleGadget(0, 0, 10, 10);
    second.hover = 1;
    second.pressed = 1;
    GadgetList owner;
    AddGadget(owner, first, 3);
    AddPlainGadget(owner, second);
    EXPECT_EQ(owner.head, &second);
    EXPECT_EQ(second.next, &first);
    EXPECT_EQ(first.next, nullptr);
    EXPECT_EQ(first.kind, 3);
    EXPECT_EQ(second.kind, 0);
    EXPECT_EQ(second.hover, 0);
    EXPECT_EQ(second.pressed, 0);
}

TEST(GadgetTest, TheRectangleHoldsItsLeftAndTopEdgesButNotItsRightAndBottom)
{
    const Gadget gadget = VisibleGadget(100, 50, 20, 10);
    const struct
    {
        int32_t x;
        int32_t y;
        bool hit;
    } cases[] = {
        {100, 50, true},  {119, 59, true},  {110, 55, true},  {99, 55, false},
        {120, 55, false}, {110, 49, false}, {110, 60, false}, {-1, -1, false},
    };
    GadgetList owner;
    Gadget registered = gadget;
    AddGadget(owner, registered, 0);
    for (const auto& test : cases)
    {
        EXPECT_EQ(ContainsPoint(gadget, test.x, test.y), test.hit) << test.x << ", " << test.y;
        EXPECT_EQ(FindGadgetAt(owner, test.x, test.y) != nullptr, test.hit)
            << test.x << ", " << test.y;
    }
}

TEST(GadgetTest, OfOverlappingGadgetsTheNewestVisibleOneIsHit)
{
    Gadget older = VisibleGadget(0, 0, 100, 100);
    Gadget newer = VisibleGadget(50, 50, 100, 100);
    Gadget hidden = VisibleGadget(0, 0, 200, 200);
    hidden.visible = 0;
    GadgetList owner;
    AddGadget(owner, older, 0);
    AddGadget(owner, newer, 0);
    AddGadget(owner, hidden, 0);
    EXPECT_EQ(FindGadgetAt(owner, 60, 60), &newer);
    EXPECT_EQ(FindGadgetAt(owner, 10, 10), &older);
    EXPECT_EQ(FindGadgetAt(owner, 180, 180), nullptr);
    EXPECT_EQ(FindGadgetAt(GadgetList{}, 10, 10), nullptr);
}

TEST(GadgetTest, TheHighlightFollowsThePointerAndRepaintsWhereItChanges)
{
    Gadget lit = VisibleGadget(0, 0, 10, 10);
    Gadget plain = VisibleGadget(20, 0, 10, 10);
    Gadget other = VisibleGadget(40, 0, 10, 10);
    GadgetList owner;
    AddGadget(owner, lit, kGadgetHighlight);
    AddPlainGadget(owner, plain);
    AddGadget(owner, other, 3);
    DirtyRectList first;
    DirtyRectList second;

    EXPECT_EQ(UpdateGadgetHover(owner, &lit, first, second), &lit);
    EXPECT_EQ(lit.hover, 1);
    EXPECT_EQ(first.Count(), 1);
    EXPECT_EQ(second.Count(), 1);

    // Staying over it neither repaints nor sounds again.
    EXPECT_EQ(UpdateGadgetHover(owner, &lit, first, second), nullptr);
    EXPECT_EQ(first.Count(), 1);

    // A gadget without the highlight bit never lights; leaving lights the old one down.
    EXPECT_EQ(UpdateGadgetHover(owner, &plain, first, second), nullptr);
    EXPECT_EQ(plain.hover, 0);
    EXPECT_EQ(lit.hover, 0);

    first.Clear();
    second.Clear();
    EXPECT_EQ(UpdateGadgetHover(owner, &other, first, second), &other);
    ScreenRect marked;
    int32_t index = 0;
    ASSERT_TRUE(second.GetNext(&marked, &index));
    EXPECT_EQ(marked, (ScreenRect{40, 0, 50, 10}));
}

class MenuPointerTest : public testing::Test
{
protected:
    MenuPointerTest()
    {
        ClearAllKeys();
        g_renderSlots.rdll_GetCursorData = Cursor;
    }
    ~MenuPointerTest() override
    {
        ClearAllKeys();
        ClearRenderDll();
    }

    std::vector<ScreenRect> Rects(const DirtyRectList& list) const
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

    MenuPointer pointer_;
    DirtyRectList first_;
    DirtyRectList second_;
};

TEST_F(MenuPointerTest, AMovedPointerRepaintsItsOldAndNewPlacesInBothLists)
{
    g_cursorX = 100;
    g_cursorY = 200;
    pointer_.Update(32, 32, true, first_, second_);
    EXPECT_EQ(pointer_.X(), 100);
    EXPECT_EQ(pointer_.Y(), 200);
    const std::vector<ScreenRect> expected = {{0, 0, 32, 32}, {100, 200, 132, 232}};
    EXPECT_EQ(Rects(first_), expected);
    EXPECT_EQ(Rects(second_), expected);

    first_.Clear();
    pointer_.Update(32, 32, true, first_, second_);  // not moved
    EXPECT_TRUE(Rects(first_).empty());

    g_cursorX = 110;
    pointer_.Update(32, 32, false, first_, second_);  // moved, but not shown
    EXPECT_TRUE(Rects(first_).empty());
    EXPECT_EQ(pointer_.X(), 110);
}

TEST_F(MenuPointerTest, APressIsOneClickHoweverLongTheButtonIsHeld)
{
    EXPECT_FALSE(pointer_.TakeClick());
    PressKey(vk::LeftButton);
    EXPECT_TRUE(pointer_.TakeClick());
    EXPECT_TRUE(pointer_.IsHeld());
    EXPECT_FALSE(pointer_.TakeClick());
    ReleaseKey(vk::LeftButton);
    EXPECT_FALSE(pointer_.TakeClick());
    EXPECT_FALSE(pointer_.IsHeld());
    PressKey(vk::LeftButton);
    EXPECT_TRUE(pointer_.TakeClick());
}

TEST_F(MenuPointerTest, APressAndReleaseBetweenFramesStillClicks)
{
    PressKey(vk::LeftButton);
    ReleaseKey(vk::LeftButton);
    EXPECT_TRUE(pointer_.TakeClick());
    EXPECT_FALSE(pointer_.IsHeld());
}

TEST_F(MenuPointerTest, APressWhileTheButtonWasHeldIsNoClick)
{
    PressKey(vk::LeftButton);
    ASSERT_TRUE(pointer_.TakeClick());
    // A second press reported while the first was never seen released.
    PressKey(vk::LeftButton);
    EXPECT_FALSE(pointer_.TakeClick());
}
}  // namespace

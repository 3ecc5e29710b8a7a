#include "app/input/KeyState.h"

#include <gtest/gtest.h>

#include "platform/VirtualKeys.h"

namespace
{

class KeyStateTest : public ::testing::Test
{
protected:
    KeyStateTest() { ClearAllKeys(); }
    ~KeyStateTest() override { ClearAllKeys(); }
};

TEST_F(KeyStateTest, APressIsReportedOnceAndTheHeldBitWhileDown)
{
    const uint8_t key = vk::Letter('A');
    PressKey(key);
    EXPECT_EQ(ReadKey(key), kKeyHeld | kKeyPressed);
    EXPECT_EQ(ReadKey(key), kKeyHeld);
    ReleaseKey(key);
    EXPECT_EQ(ReadKey(key), 0);

    // Pressed and released between two reads: the press still counts, once.
    PressKey(key);
    ReleaseKey(key);
    EXPECT_EQ(ReadKey(key), kKeyPressed);
    EXPECT_EQ(ReadKey(key), 0);
}

TEST_F(KeyStateTest, GenericModifiersAnswerForBothSidesAndUnlatchAllThree)
{
    PressKey(vk::LeftShift);
    ReleaseKey(vk::LeftShift);
    PressKey(vk::RightControl);
    EXPECT_EQ(ReadKey(vk::Shift), kKeyPressed);
    EXPECT_EQ(ReadKey(vk::LeftShift), 0) << "the generic read took the left key's press";
    EXPECT_EQ(ReadKey(vk::Control), kKeyHeld | kKeyPressed);
    EXPECT_EQ(ReadKey(vk::RightControl), kKeyHeld);
    EXPECT_EQ(ReadKey(vk::Menu), 0);
    EXPECT_EQ(ReadKey(vk::LeftControl), 0) << "sided codes stand for themselves only";
}

TEST_F(KeyStateTest, ClearingForgetsKeysAndCodesOutsideTheTableAreIgnored)
{
    PressKey(vk::Up);
    PressKey(vk::Down);
    ClearKey(vk::Up);
    EXPECT_EQ(ReadKey(vk::Up), 0);
    EXPECT_NE(ReadKey(vk::Down), 0);
    ClearAllKeys();
    EXPECT_EQ(ReadKey(vk::Down), 0);

    PressKey(256);
    ReleaseKey(1000);
    ClearKey(256);
    EXPECT_EQ(ReadKey(256), 0);
}

}  // namespace

#include "app/input/JoystickReader.h"

#include <gtest/gtest.h>

#include "platform/scripted/ScriptedPlatform.h"

namespace
{

class JoystickReaderTest : public ::testing::Test
{
protected:
    ScriptedPlatform platform_;
    ScopedPlatform installed_{platform_};
    JoystickReader reader_;
};

TEST_F(JoystickReaderTest, WithoutAJoystickNothingIsFound)
{
    EXPECT_FALSE(reader_.Init());
    EXPECT_EQ(reader_.Id(), JoystickReader::kNoJoystick);
    EXPECT_FALSE(reader_.Poll());
    const JoystickState state = reader_.GetState();
    EXPECT_EQ(state.x, 32768u) << "the stick stands at its centre until read";
    EXPECT_EQ(state.buttons, 0u);
}

TEST_F(JoystickReaderTest, OnlyTheSecondJoystickAnswers)
{
    platform_.SetJoystick(1, {100, 200, 300, 400, 0b101});
    ASSERT_TRUE(reader_.Init());
    EXPECT_EQ(reader_.Id(), 1);
    ASSERT_TRUE(reader_.Poll());
    const JoystickState state = reader_.GetState();
    EXPECT_EQ(state.x, 100u);
    EXPECT_EQ(state.r, 400u);
    EXPECT_EQ(state.buttons, 0b101u);
}

TEST_F(JoystickReaderTest, AxesBeyondTheCalibrationAreClampedToIt)
{
    platform_.SetJoystick(0, {70000, 65535, 0, 1u << 31, 0});
    ASSERT_TRUE(reader_.Init());
    ASSERT_TRUE(reader_.Poll());
    const JoystickState state = reader_.GetState();
    EXPECT_EQ(state.x, 65535u);
    EXPECT_EQ(state.y, 65535u);
    EXPECT_EQ(state.z, 0u);
    EXPECT_EQ(state.r, 65535u);
}

TEST_F(JoystickReaderTest, AFailingReadChangesNothing)
{
    platform_.SetJoystick(0, {1000, 2000, 3000, 4000, 1});
    ASSERT_TRUE(reader_.Init());
    ASSERT_TRUE(reader_.Poll());
    ASSERT_EQ(reader_.ReadCount(), 1u);

    platform_.RemoveJoystick(0);
    EXPECT_FALSE(reader_.Poll());
    EXPECT_EQ(reader_.ReadCount(), 1u);
    const JoystickState state = reader_.GetState();
    EXPECT_EQ(state.x, 1000u);
    EXPECT_EQ(state.buttons, 1u);

    EXPECT_FALSE(reader_.Init()) << "looked for anew";
    EXPECT_EQ(reader_.Id(), JoystickReader::kNoJoystick);
}

}  // namespace

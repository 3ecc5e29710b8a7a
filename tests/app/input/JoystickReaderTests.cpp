#include "app/input/JoystickReader.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

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

using namespace std::chrono_literals;

// Waits, without a time limit of its own, until the platform has seen more reads.
void AwaitReadsBeyond(const ScriptedPlatform& platform, uint32_t reads)
{
    while (platform.JoystickReads() <= reads)
    {
        std::this_thread::sleep_for(5ms);
    }
}

TEST_F(JoystickReaderTest, TheCompanionThreadReadsAndDiscardsUntilStopped)
{
    platform_.SetJoystick(0, {1000, 2000, 3000, 4000, 1});
    ASSERT_TRUE(reader_.Init());
    EXPECT_FALSE(reader_.StartThread()) << "Init started it";
    ASSERT_TRUE(reader_.Init()) << "a second Init keeps the one thread";
    AwaitReadsBeyond(platform_, platform_.JoystickReads());
    EXPECT_EQ(reader_.ReadCount(), 0u) << "the thread's readings are not kept";
    EXPECT_EQ(reader_.GetState().x, 32768u);

    ASSERT_TRUE(reader_.StopThread());
    EXPECT_FALSE(reader_.StopThread());
    const uint32_t reads = platform_.JoystickReads();
    std::this_thread::sleep_for(3 * std::chrono::milliseconds(JoystickReader::kThreadPeriodMs));
    EXPECT_EQ(platform_.JoystickReads(), reads);
    EXPECT_TRUE(reader_.StartThread());
}

// A reader may outlive the platform it was started on, as the game's one reader outlives a
// test's: its thread then leaves the machine alone.
TEST(JoystickReaderThread, OutlivesThePlatformItStartedOn)
{
    JoystickReader reader;
    {
        auto platform = std::make_unique<ScriptedPlatform>();
        const ScopedPlatform installed(*platform);
        platform->SetJoystick(0, {1, 2, 3, 4, 0});
        ASSERT_TRUE(reader.Init());
        AwaitReadsBeyond(*platform, platform->JoystickReads());
    }
    std::this_thread::sleep_for(3 * std::chrono::milliseconds(JoystickReader::kThreadPeriodMs));
    ScriptedPlatform next;
    const ScopedPlatform installed(next);
    next.SetJoystick(0, {1, 2, 3, 4, 0});
    AwaitReadsBeyond(next, 0);
    EXPECT_TRUE(reader.StopThread());
}
}  // namespace

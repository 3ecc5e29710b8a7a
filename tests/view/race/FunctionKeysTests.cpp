// The function keys' ride aids and display options by difficulty, and the camera keys.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/input/KeyState.h"
#include "app/settings/MenuState.h"
#include "platform/VirtualKeys.h"
#include "race/RaceContext.h"
#include "view/camera/RaceCamera.h"
#include "view/race/FunctionKeys.h"

namespace
{
class FunctionKeysTest : public testing::Test
{
protected:
    FunctionKeysTest()
        : race(std::make_unique<RaceContext>("records.cpr")),
          settings(std::make_unique<MenuState>()),
          camera(std::make_unique<RaceCamera>(*race, *settings))
    {
        ClearAllKeys();
    }
    ~FunctionKeysTest() override { ClearAllKeys(); }

    FunctionKeyContext Context(uint32_t difficulty)
    {
        return {race->bikes[0], *settings, *camera, difficulty};
    }
    void Tap(uint8_t key, uint32_t difficulty)
    {
        PressKey(key);
        ReleaseKey(key);
        FunctionKeyContext context = Context(difficulty);
        HandleFunctionKeys(context);
    }

    std::unique_ptr<RaceContext> race;
    std::unique_ptr<MenuState> settings;
    std::unique_ptr<RaceCamera> camera;
};

TEST_F(FunctionKeysTest, SteeringAidAtTheHighestDifficultyBringsEveryAid)
{
    Tap(vk::Function(4), 2);
    const BikeRecord& bike = race->bikes[0];
    EXPECT_EQ(bike.steeringAid, 1);
    EXPECT_EQ(bike.furtherAid, 1);
    EXPECT_EQ(bike.autoClutch, 1);
    EXPECT_EQ(bike.autoGearbox, 1);

    // The clutch off takes the gearbox and the steering aid with it.
    Tap(vk::Function(2), 2);
    EXPECT_EQ(bike.autoClutch, 0);
    EXPECT_EQ(bike.autoGearbox, 0);
    EXPECT_EQ(bike.steeringAid, 0);
}

TEST_F(FunctionKeysTest, BelowTheHighestDifficultyTheSteeringAidStaysOff)
{
    Tap(vk::Function(4), 1);
    EXPECT_EQ(race->bikes[0].steeringAid, 0);
}

TEST_F(FunctionKeysTest, TheIdealLineCannotBeSwitchedOffAtTheLowestDifficulty)
{
    // The option byte is 0 while the line shows.
    settings->SetU8At(MenuState::kIdealLinesOffset, 0);
    Tap(vk::Function(5), 1);
    EXPECT_EQ(settings->U8At(MenuState::kIdealLinesOffset), 1);
    Tap(vk::Function(5), 0);
    EXPECT_EQ(settings->U8At(MenuState::kIdealLinesOffset), 1);
    Tap(vk::Function(5), 1);
    EXPECT_EQ(settings->U8At(MenuState::kIdealLinesOffset), 0);
}

TEST_F(FunctionKeysTest, TheViewKeysChooseTheViewAndStoreTheChoice)
{
    Tap(vk::Digit(3), 1);
    EXPECT_EQ(camera->mode, CameraMode::CameraTrail);
    EXPECT_EQ(settings->U8At(MenuState::kCameraViewOffset), RaceCamera::kChoiceTrail);
    Tap(vk::Digit(1), 1);
    EXPECT_EQ(camera->mode, CameraMode::CameraOnBoard);
    EXPECT_EQ(settings->U8At(MenuState::kCameraViewOffset), RaceCamera::kChoiceOnBoard);
}

TEST_F(FunctionKeysTest, ZoomAndPitchKeysActWhileHeldWithinTheirLimits)
{
    camera->SetChaseView();
    PressKey(vk::Digit(5));
    PressKey(vk::Digit(9));
    FunctionKeyContext context = Context(1);
    context.frameDt = 10.0f;
    HandleFunctionKeys(context);
    EXPECT_FLOAT_EQ(camera->zoom, 800.0f);
    EXPECT_FLOAT_EQ(camera->pitch, 0.4f);
}
}  // namespace

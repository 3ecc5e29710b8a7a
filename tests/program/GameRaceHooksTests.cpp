// The camera at the end of the player's fall: it forgets the fall it followed and goes back to
// the view the player chose, on board or behind him.

#include <gtest/gtest.h>

#include <memory>

#include "app/settings/MenuState.h"
#include "program/GameRaceHooks.h"
#include "race/RaceContext.h"
#include "view/camera/RaceCamera.h"

namespace
{
TEST(GameRiderFallServicesTest, TheCameraReturnsFromTheFallToTheChosenView)
{
    for (const bool onBoard : {false, true})
    {
        const auto race = std::make_unique<RaceContext>("records.cpr");
        MenuState settings;
        RaceCamera camera(*race, settings);
        race->current.viewedRider = 0;
        if (onBoard)
        {
            camera.SetOnBoardView();
        }
        else
        {
            camera.SetChaseView();
        }
        camera.SetFallenRiderView();
        camera.fallFollowRider = 0;

        GameRiderFallServices(*race, camera).ReturnCameraToRider();
        EXPECT_EQ(camera.mode, onBoard ? CameraMode::CameraOnBoard : CameraMode::CameraChase)
            << onBoard;
        EXPECT_EQ(camera.onBoardChosen, onBoard);
        EXPECT_EQ(camera.fallFollowRider, RaceCamera::kNoFallFollowed);
    }
}
}  // namespace

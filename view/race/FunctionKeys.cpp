#include "view/race/FunctionKeys.h"

#include <algorithm>

#include "app/input/KeyState.h"
#include "app/settings/MenuState.h"
#include "core/world/WorldObject.h"
#include "platform/VirtualKeys.h"
#include "race/BikeRecord.h"
#include "race/SimMath.h"
#include "view/camera/RaceCamera.h"

namespace
{
constexpr uint16_t kIdealLineHidden = 0x80;

bool Pressed(uint8_t key)
{
    if ((ReadKey(key) & kKeyPressed) == 0)
    {
        return false;
    }
    ClearKey(key);
    return true;
}

bool Held(uint8_t key)
{
    return (g_keyState[key].load(std::memory_order_relaxed) & kKeyHeld) != 0;
}

// The option bytes hold 0 for on. A player may always switch a display aid on; off only above
// the lowest difficulty.
void ToggleDisplayAid(MenuState& settings, size_t offset, uint32_t difficulty)
{
    const uint8_t value = settings.U8At(offset);
    if (value == 0)
    {
        settings.SetU8At(offset, 1);
    }
    else if (difficulty != 0)
    {
        settings.SetU8At(offset, 0);
    }
}

void HandleRideAids(FunctionKeyContext& context)
{
    BikeRecord& bike = context.player;
    if (Pressed(vk::Function(1)))
    {
        if (context.difficulty == 0 || bike.autoGearbox != 0)
        {
            bike.autoGearbox = 0;
            bike.steeringAid = 0;
        }
        else
        {
            bike.autoGearbox = 1;
            bike.autoClutch = 1;
        }
    }
    if (Pressed(vk::Function(2)))
    {
        if (!context.joystickOption)
        {
            bike.autoClutch = 1;
        }
        else if (bike.autoClutch != 0)
        {
            bike.autoClutch = 0;
            bike.steeringAid = 0;
            bike.autoGearbox = 0;
        }
        else
        {
            bike.autoClutch = 1;
        }
    }
    if (Pressed(vk::Function(3)))
    {
        if (context.difficulty < 2 || bike.furtherAid != 0)
        {
            bike.furtherAid = 0;
            bike.steeringAid = 0;
            bike.steeringAidMode = 0;
            bike.aiAidBrake = 0.0f;
        }
        else
        {
            bike.furtherAid = 1;
        }
    }
    if (Pressed(vk::Function(4)))
    {
        if (context.difficulty < 2 || bike.steeringAid != 0)
        {
            bike.steeringAid = 0;
            bike.steeringAidMode = 0;
        }
        else
        {
            bike.steeringAid = 1;
            bike.furtherAid = 1;
            bike.autoClutch = 1;
            bike.autoGearbox = 1;
        }
    }
}

void HandleObservation(RaceCamera& camera)
{
    if (Pressed(vk::Prior))
    {
        camera.ViewPreviousRider();
    }
    if (Pressed(vk::Next))
    {
        camera.ViewNextRider();
    }
    if (Pressed(vk::Home))
    {
        camera.ViewLeader();
    }
    if (Pressed(vk::End))
    {
        camera.ViewLastRider();
    }
    if (Pressed(vk::Return))
    {
        camera.ViewPlayerRider();
    }
}

void HandleCameraKeys(FunctionKeyContext& context)
{
    RaceCamera& camera = context.camera;
    MenuState& settings = context.settings;
    if (Pressed(vk::Digit(1)))
    {
        camera.SetOnBoardView();
        settings.SetU8At(MenuState::kCameraViewOffset, RaceCamera::kChoiceOnBoard);
    }
    if (Pressed(vk::Digit(2)))
    {
        camera.SetChaseView();
        settings.SetU8At(MenuState::kCameraViewOffset, RaceCamera::kChoiceChase);
    }
    if (Pressed(vk::Digit(3)))
    {
        camera.SetTrailView();
        settings.SetU8At(MenuState::kCameraViewOffset, RaceCamera::kChoiceTrail);
    }
    if (Pressed(vk::Digit(4)))
    {
        camera.SetTvView(-1);
    }
    if (camera.mode == CameraMode::CameraOnBoard)
    {
        return;
    }
    const float dt = context.frameDt;
    if (Held(vk::Digit(5)))
    {
        camera.zoom = std::min(camera.zoom * sim::Pow(1.67f, dt), 800.0f);
    }
    if (Held(vk::Digit(6)))
    {
        camera.zoom = std::max(camera.zoom * sim::Pow(0.6f, dt), 250.0f);
    }
    if (Held(vk::Digit(7)))
    {
        camera.backDistance = std::max(camera.backDistance * sim::Pow(0.6f, dt), 2.0f);
    }
    if (Held(vk::Digit(8)))
    {
        camera.backDistance = std::min(camera.backDistance * sim::Pow(1.67f, dt), 6.0f);
    }
    if (Held(vk::Digit(9)))
    {
        camera.pitch = std::min(camera.pitch + dt, 0.4f);
    }
    if (Held(vk::Digit(0)))
    {
        camera.pitch = std::max(camera.pitch - dt, 0.1f);
    }
}
}  // namespace

void HandleFunctionKeys(FunctionKeyContext& context)
{
    if (!context.network)
    {
        HandleRideAids(context);
    }
    MenuState& settings = context.settings;
    // F8 shares its moment with F5: a held F5 keeps the name display as it is.
    const bool idealLineKeyHeld = Held(vk::Function(5));
    if (Pressed(vk::Function(5)))
    {
        ToggleDisplayAid(settings, MenuState::kIdealLinesOffset, context.difficulty);
    }
    if (Pressed(vk::Function(8)) && !idealLineKeyHeld)
    {
        settings.SetU8At(MenuState::kNameDisplayOffset,
                         settings.U8At(MenuState::kNameDisplayOffset) == 0 ? 1 : 0);
    }
    if (Pressed(vk::Function(6)))
    {
        ToggleDisplayAid(settings, MenuState::kBendIndicatorOffset, context.difficulty);
    }
    if (Pressed(vk::Function(7)))
    {
        context.autoCentre = !context.autoCentre;
        settings.SetU8At(MenuState::kAutoCentreOffset, context.autoCentre ? 0 : 1);
    }
    if (context.observing)
    {
        HandleObservation(context.camera);
    }
    HandleCameraKeys(context);
    if (context.idealLine != nullptr)
    {
        const bool shown = settings.U8At(MenuState::kIdealLinesOffset) == 0 && !context.demoRace;
        context.idealLine->flags = shown ? context.idealLine->flags & ~kIdealLineHidden
                                         : context.idealLine->flags | kIdealLineHidden;
    }
}

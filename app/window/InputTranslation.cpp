// Key and mouse events into the key table and the key listeners.
//
// The machine reports Shift, Ctrl and Alt with their side (left or right code) where it knows
// it, or with the generic code; a generic code is resolved to a side by asking which key is
// down, so the table ends up holding the side wherever it can be told.

#include <array>

#include "app/input/KeyState.h"
#include "app/window/KeyListeners.h"
#include "app/window/OutputWindow.h"
#include "platform/VirtualKeys.h"

namespace
{
struct Modifier
{
    uint8_t generic;
    uint8_t left;
    uint8_t right;
};

constexpr std::array<Modifier, 3> kModifiers = {{
    {vk::Shift, vk::LeftShift, vk::RightShift},
    {vk::Control, vk::LeftControl, vk::RightControl},
    {vk::Menu, vk::LeftMenu, vk::RightMenu},
}};

const Modifier* GenericModifier(uint8_t virtualKey)
{
    for (const Modifier& modifier : kModifiers)
    {
        if (modifier.generic == virtualKey)
        {
            return &modifier;
        }
    }
    return nullptr;
}

bool IsAlt(uint8_t virtualKey)
{
    return virtualKey == vk::Menu || virtualKey == vk::LeftMenu || virtualKey == vk::RightMenu;
}

bool IsHeld(uint8_t virtualKey)
{
    return (g_keyState[virtualKey].load(std::memory_order_relaxed) & kKeyHeld) != 0;
}

void KeyWentDown(uint8_t virtualKey)
{
    PressKey(virtualKey);
    NotifyKeyListeners(kKeyWentDown, virtualKey);
}

void KeyWentUp(uint8_t virtualKey)
{
    ReleaseKey(virtualKey);
    NotifyKeyListeners(kKeyWentUp, virtualKey);
}
}  // namespace

bool OutputWindow::TranslateInput(const PlatformEvent& event)
{
    switch (event.kind)
    {
        case PlatformEvent::Kind::KeyDown:
            OnKeyDown(event.virtualKey);
            return true;
        case PlatformEvent::Kind::KeyUp:
            OnKeyUp(event.virtualKey);
            return true;
        case PlatformEvent::Kind::MouseButton:
            if (event.button != vk::LeftButton && event.button != vk::RightButton)
            {
                return false;
            }
            if (event.pressed)
            {
                PressKey(event.button);
            }
            else
            {
                ReleaseKey(event.button);
            }
            return true;
        default:
            return false;
    }
}

bool OutputWindow::CompletesAltF4(uint8_t virtualKey)
{
    // Reading the other key takes its pressed bit, so one combination asks to quit once.
    if (virtualKey == vk::F4)
    {
        return (ReadKey(vk::Menu) & kKeyHeld) != 0;
    }
    return IsAlt(virtualKey) && (ReadKey(vk::F4) & kKeyHeld) != 0;
}

void OutputWindow::OnKeyDown(uint8_t virtualKey)
{
    if (CompletesAltF4(virtualKey))
    {
        RequestQuit();
    }
    const Modifier* modifier = GenericModifier(virtualKey);
    if (modifier == nullptr)
    {
        KeyWentDown(virtualKey);
        return;
    }
    Platform& platform = CurrentPlatform();
    if (platform.IsKeyDown(modifier->left))
    {
        KeyWentDown(modifier->left);
    }
    else if (platform.IsKeyDown(modifier->right))
    {
        KeyWentDown(modifier->right);
    }
    else
    {
        KeyWentDown(modifier->generic);
    }
}

void OutputWindow::OnKeyUp(uint8_t virtualKey)
{
    const Modifier* modifier = GenericModifier(virtualKey);
    if (modifier == nullptr)
    {
        KeyWentUp(virtualKey);
        return;
    }
    Platform& platform = CurrentPlatform();
    if (IsHeld(modifier->left) && !platform.IsKeyDown(modifier->left))
    {
        KeyWentUp(modifier->left);
    }
    else if (IsHeld(modifier->right) && !platform.IsKeyDown(modifier->right))
    {
        KeyWentUp(modifier->right);
    }
    else
    {
        KeyWentUp(modifier->generic);
    }
}

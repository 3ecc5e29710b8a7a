#include "app/input/KeyState.h"

#include "platform/VirtualKeys.h"

std::array<std::atomic<uint8_t>, 256> g_keyState{};

namespace
{
// The generic modifier codes stand for their left and right keys as well.
std::array<uint8_t, 3> ModifierFamily(uint8_t generic)
{
    const auto left = static_cast<uint8_t>(vk::LeftShift + 2 * (generic - vk::Shift));
    return {generic, left, static_cast<uint8_t>(left + 1)};
}

bool IsGenericModifier(uint32_t vk)
{
    return vk == vk::Shift || vk == vk::Control || vk == vk::Menu;
}

bool InTable(uint32_t vk)
{
    return vk < g_keyState.size();
}
}  // namespace

void PressKey(uint32_t vk)
{
    if (InTable(vk))
    {
        g_keyState[vk].fetch_or(kKeyHeld | kKeyPressed, std::memory_order_relaxed);
    }
}

void ReleaseKey(uint32_t vk)
{
    if (InTable(vk))
    {
        g_keyState[vk].fetch_and(static_cast<uint8_t>(~kKeyHeld), std::memory_order_relaxed);
    }
}

uint8_t ReadKey(uint32_t vk)
{
    if (!InTable(vk))
    {
        return 0;
    }
    const auto unlatch = [](uint8_t code)
    {
        return g_keyState[code].fetch_and(static_cast<uint8_t>(~kKeyPressed),
                                          std::memory_order_relaxed);
    };
    if (!IsGenericModifier(vk))
    {
        return unlatch(static_cast<uint8_t>(vk));
    }
    uint8_t state = 0;
    for (const uint8_t code : ModifierFamily(static_cast<uint8_t>(vk)))
    {
        state |= unlatch(code);
    }
    return state;
}

void ClearKey(uint32_t vk)
{
    if (InTable(vk))
    {
        g_keyState[vk].store(0, std::memory_order_relaxed);
    }
}

void ClearAllKeys()
{
    for (std::atomic<uint8_t>& key : g_keyState)
    {
        key.store(0, std::memory_order_relaxed);
    }
}

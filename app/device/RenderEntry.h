#pragma once

// Calling a bound entry point of the render library from the game's forwarding members.

#include <type_traits>

#include "app/debug/Trace.h"
#include "app/device/RenderBindings.h"

// Calls the entry in the slot; an entry that is not bound does nothing and gives a zero
// result, so that a screen drawn while no library is loaded does not take the game down.
template <auto Slot, typename... Args>
auto CallRenderEntry(Args... args)
{
    const auto entry = g_renderSlots.*Slot;
    using Result = decltype(entry(args...));
    if (entry == nullptr)
    {
        Trace("render library entry called while unbound\n");
        if constexpr (std::is_void_v<Result>)
        {
            return;
        }
        else
        {
            return Result{};
        }
    }
    return entry(args...);
}

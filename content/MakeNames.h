#pragma once

// The five makes of a class's machines by make slot, as the names of their own cockpit models
// and pictures spell them.

#include <array>
#include <cstdint>
#include <string_view>

namespace content
{
inline constexpr std::array<std::string_view, 5> kMakeNames = {"falke", "adler", "sperber", "milan",
                                                               "bussard"};

inline std::string_view MakeName(uint32_t slot)
{
    return kMakeNames[slot % kMakeNames.size()];
}
}  // namespace content

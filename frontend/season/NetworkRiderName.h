#pragma once

// The name a player of another machine gave, as that rider's name in the standings: trailing
// spaces dropped, split at the last space into first name and surname (a name without a space
// is all surname), each part cut to the 16 characters its field holds; the shown name is the
// whole name.

#include <string>
#include <string_view>

#include "race/RiderProfile.h"

struct SplitName
{
    std::string first;
    std::string last;
};

SplitName SplitNetworkName(std::string_view name);

void TakeNetworkName(RiderProfile& profile, std::string_view name);

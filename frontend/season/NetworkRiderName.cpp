#include "frontend/season/NetworkRiderName.h"

#include <algorithm>

namespace
{
void SetField(std::array<char, RiderProfile::kNameSize>& field, std::string_view text)
{
    field.fill('\0');
    std::copy_n(text.begin(), std::min(text.size(), field.size()), field.begin());
}
}  // namespace

SplitName SplitNetworkName(std::string_view name)
{
    const size_t end = name.find_last_not_of(' ');
    name = end == std::string_view::npos ? std::string_view() : name.substr(0, end + 1);
    const size_t space = name.rfind(' ');
    const std::string_view first =
        space == std::string_view::npos ? std::string_view() : name.substr(0, space);
    const std::string_view last = space == std::string_view::npos ? name : name.substr(space + 1);
    return {std::string(first.substr(0, RiderProfile::kNameSize)),
            std::string(last.substr(0, RiderProfile::kNameSize))};
}

void TakeNetworkName(RiderProfile& profile, std::string_view name)
{
    const SplitName split = SplitNetworkName(name);
    SetField(profile.firstName, split.first);
    SetField(profile.lastName, split.last);
    const size_t end = name.find_last_not_of(' ');
    profile.displayNames[RiderProfile::kNetworkName] =
        end == std::string_view::npos ? std::string() : std::string(name.substr(0, end + 1));
    profile.shownName = RiderProfile::kNetworkName;
}

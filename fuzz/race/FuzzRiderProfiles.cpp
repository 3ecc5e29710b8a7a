// Reads the input as a class's rider data file: a file is refused with every profile as it was,
// or its riders load with their riding parameters in range and their names bounded.

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>

#include "race/RiderProfileFile.h"

namespace
{
void Require(bool condition)
{
    if (!condition)
    {
        std::abort();
    }
}

bool Within(float value, float low, float high)
{
    return value >= low && value <= high;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto profiles = std::make_unique<std::array<RiderProfile, kRiderCount>>();
    const int count = DecodeRiderProfiles(std::span(data, size), BikeClass::Class250, *profiles);
    Require(count >= -1 && count <= static_cast<int>(kRiderCount));
    for (int rider = 0; rider < count; ++rider)
    {
        const RiderProfile& profile = (*profiles)[rider];
        Require(Within(profile.launchFactor, 0.5f, 1.0f));
        Require(Within(profile.rangeBase, 1.0f, 10.0f));
        Require(Within(profile.paceBase, 0.92f, 1.05f));
        Require(Within(profile.performance, 0.85f, 1.0f));
        Require(std::isfinite(profile.baseAngle) && std::isfinite(profile.avoidDistanceSq));
        Require(profile.ShownName().size() <= 2 * RiderProfile::kNameSize + 1);
        Require(profile.firstNameLength[1] <= 15);
    }
    return 0;
}

#include "race/BikeSetupImage.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <type_traits>

namespace
{
// The block is words and bytes without padding in the file's order, so on a little-endian
// machine its bytes are the image.
static_assert(std::endian::native == std::endian::little);
static_assert(std::is_trivially_copyable_v<BikeSetup>);

// The float fields: the first 248 words hold nothing else.
constexpr size_t kFloatWords = offsetof(BikeSetup, gearChoice) / 4;

bool AllFinite(const BikeSetup& setup)
{
    const BikeSetupImage image = EncodeBikeSetup(setup);
    for (size_t word = 0; word < kFloatWords; ++word)
    {
        float value = 0.0f;
        std::memcpy(&value, &image[4 * word], sizeof value);
        if (!std::isfinite(value))
        {
            return false;
        }
    }
    return true;
}
}  // namespace

BikeSetupImage EncodeBikeSetup(const BikeSetup& setup)
{
    return std::bit_cast<BikeSetupImage>(setup);
}

std::optional<BikeSetup> DecodeBikeSetup(std::span<const uint8_t> bytes)
{
    if (bytes.size() < BikeSetup::kSize)
    {
        return std::nullopt;
    }
    BikeSetupImage image{};
    std::copy_n(bytes.begin(), image.size(), image.begin());
    return std::bit_cast<BikeSetup>(image);
}

bool IsRideableSetup(const BikeSetup& setup)
{
    const float positives[] = {setup.mass,           setup.frontLoadArm + setup.rearLoadArm,
                               setup.rpmScale,       setup.frontSpringRate,
                               setup.rearSpringRate, setup.frontTravel,
                               setup.rearTravel,     setup.frontTyreRadius,
                               setup.rearTyreRadius};
    return AllFinite(setup) &&
           std::all_of(std::begin(positives), std::end(positives), [](float v) { return v > 0; });
}

#include "render/DisplayModes.h"

#include <algorithm>
#include <cstring>

namespace render
{

std::optional<GrScreenResolution> ResolutionOf(int32_t width, int32_t height)
{
    const auto mode =
        std::ranges::find_if(kDisplayModes, [&](const ModeSize& size)
                             { return size.width == width && size.height == height; });
    if (mode == kDisplayModes.end())
    {
        return std::nullopt;
    }
    return static_cast<GrScreenResolution>(mode - kDisplayModes.begin());
}

GrScreenRefresh RefreshOf(int32_t rateHz)
{
    const auto rate = std::ranges::find(kRefreshRatesHz, static_cast<uint32_t>(rateHz));
    return rate == kRefreshRatesHz.end()
               ? GrScreenRefresh::Rate60Hz
               : static_cast<GrScreenRefresh>(rate - kRefreshRatesHz.begin());
}

Adapter::Adapter() = default;

Adapter::~Adapter() = default;

void Adapter::Describe()
{
    description_ = std::make_unique<Description>();
    AdapterInfo& info = description_->info;
    std::strcpy(info.name, "Voodoo");
    for (size_t index = 0; index < kDisplayModes.size(); ++index)
    {
        ScreenModeInfo& mode = description_->modes[index];
        mode.width = static_cast<uint32_t>(kDisplayModes[index].width);
        mode.height = static_cast<uint32_t>(kDisplayModes[index].height);
        mode.bitsPerPixel = 16;
        mode.refreshRateCount = static_cast<uint8_t>(kRefreshRatesHz.size());
        mode.refreshRatesHz = kRefreshRatesHz.data();
    }
    info.modeCount = static_cast<uint32_t>(kDisplayModes.size());
    info.modes = description_->modes.data();
}

void Adapter::Forget()
{
    description_.reset();
}

int32_t Adapter::Infos(AdapterInfo** out)
{
    AdapterInfo* const info = description_ ? &description_->info : nullptr;
    if (out != nullptr)
    {
        *out = info;
    }
    return info != nullptr ? 1 : 0;
}

}  // namespace render

#include "app/settings/MenuStateChecks.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "core/game/GameEnums.h"

namespace
{
enum class Width : uint8_t
{
    U8,
    I8,
    U32,
};

// `count` values of one width from `offset` on, each within low..high.
struct Range
{
    size_t offset;
    size_t count;
    Width width;
    int64_t low;
    int64_t high;
};

constexpr int64_t kLastRider = MenuState::kRiders - 1;
constexpr int64_t kLastCircuit = kCircuitCount - 1;
constexpr int64_t kLastWeather = kWeatherCount - 1;
constexpr int64_t kLastTelemetryChannel = 12;

constexpr Range kRanges[] = {
    {MenuState::kLanguageOffset, 1, Width::U32, 0, kLanguageCount - 1},
    {MenuState::kBikeClassOffset, 1, Width::U32, 0, kBikeClassCount - 1},
    {MenuState::kPlayerRiderOffset, 1, Width::U32, 0, kLastRider},
    {MenuState::kGameModeOffset, 1, Width::U32, 0, kGameModeCount - 1},
    {MenuState::kLevelOffset, 1, Width::U8, 0, 2},
    {MenuState::kCircuitOffset, 1, Width::U32, 0, kLastCircuit},
    {MenuState::kRaceLapsOffset, 1, Width::U32, 1, 21},
    {MenuState::kGridPositionOffset, 1, Width::U32, 1, MenuState::kRiders},
    {MenuState::kViewDistanceOffset, 1, Width::U32, 200, 1200},
    {MenuState::kModelDetailOffset, 1, Width::U8, 0, 2},
    {MenuState::kTelemetrySlotsOffset, MenuState::kTelemetrySlotCount, Width::U8, 0,
     kLastTelemetryChannel},
    {MenuState::kWeatherOffset, 1, Width::U8, 0, kLastWeather},
    {MenuState::kWeatherPersistencyOffset, 1, Width::U8, 0, 2},
    {MenuState::kOpponentLevelOffset, 1, Width::U8, 0, 2},
    {MenuState::kSessionWeatherOffset, MenuState::kSessionSlotCount, Width::U8, 0, kLastWeather},
    {MenuState::kSessionOffset, 1, Width::U32, 0, 6},
    {MenuState::kTimeLimitIndexOffset, 1, Width::U32, 0, 3},
    {MenuState::kNetworkRaceIndexOffset, 1, Width::U32, 0, MenuState::kNetworkRaces},
    {MenuState::kNetworkWeatherOffset, MenuState::kNetworkRaces, Width::U8, 0, kLastWeather},
    {MenuState::kNetworkCircuitsOffset, MenuState::kNetworkCircuitEntries, Width::I8, INT8_MIN,
     kLastCircuit},
};

constexpr CameraMode kCameraViews[] = {
    CameraMode::CameraChase,
    CameraMode::CameraOnBoard,
    CameraMode::CameraTrail,
};

size_t WidthBytes(Width width)
{
    return width == Width::U32 ? 4 : 1;
}

int64_t ValueAt(const MenuState& state, size_t offset, Width width)
{
    switch (width)
    {
        case Width::U8:
            return state.U8At(offset);
        case Width::I8:
            return state.I8At(offset);
        case Width::U32:
            return state.U32At(offset);
    }
    return 0;
}

void CopyValue(MenuState& state, const MenuState& from, size_t offset, Width width)
{
    for (size_t i = 0; i < WidthBytes(width); ++i)
    {
        state.SetU8At(offset + i, from.U8At(offset + i));
    }
}

bool IsCameraView(uint32_t view)
{
    return std::ranges::find(kCameraViews, static_cast<CameraMode>(view)) != std::end(kCameraViews);
}
}  // namespace

void ReplaceOutOfRangeValues(MenuState& state)
{
    const MenuState defaults;
    for (const Range& range : kRanges)
    {
        for (size_t i = 0; i < range.count; ++i)
        {
            const size_t offset = range.offset + i * WidthBytes(range.width);
            const int64_t value = ValueAt(state, offset, range.width);
            if (value < range.low || value > range.high)
            {
                CopyValue(state, defaults, offset, range.width);
            }
        }
    }
    if (!IsCameraView(state.U32At(MenuState::kCameraViewOffset)))
    {
        CopyValue(state, defaults, MenuState::kCameraViewOffset, Width::U32);
    }
    const float volume = state.F32At(MenuState::kVolumeOffset);
    if (!(volume >= 0.0f && volume <= 1.0f))
    {
        CopyValue(state, defaults, MenuState::kVolumeOffset, Width::U32);
    }
    for (const size_t name : {MenuState::kServerNameOffset, MenuState::kPlayerNameOffset})
    {
        state.SetU8At(name + MenuState::kNameSize - 1, 0);
    }
}

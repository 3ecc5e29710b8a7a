#include "app/settings/MenuState.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstring>

#include "core/util/LittleEndian.h"

MenuState g_menuState;

namespace
{
constexpr size_t kChoiceFlagsEnd = MenuState::kChoiceAllowedOffset + MenuState::kChoiceAllowedCount;
constexpr size_t kOptionsOnByDefault[] = {
    MenuState::kTimePenaltyOffset,
    MenuState::kSteeringAidOffset,
    MenuState::kSkiddingInactiveOffset,
    MenuState::kStartPointOffset,
};
constexpr size_t kSessionTimeCount =
    MenuState::kTimedSessions * MenuState::kSessionTimeTables * MenuState::kRiders;
struct NetworkDefault
{
    size_t offset;
    uint32_t value;
};
constexpr NetworkDefault kNetworkDefaults[] = {{MenuState::kNetworkInputDelayOffset, 1},
                                               {MenuState::kNetworkClassOffset, 1},
                                               {MenuState::kNetworkLapsOffset, 3},
                                               {MenuState::kTimeLimitIndexOffset, 2},
                                               {MenuState::kNetworkRiderCountOffset, 25}};
}  // namespace

MenuState::MenuState()
{
    SetU32At(kBikeClassOffset, 1);
    SetU32At(kPlayerRiderOffset, 20);
    SetU32At(kRiderNumberOffset, 25);
    std::fill(&bytes_[kFreeChoiceOffset], &bytes_[kChoiceFlagsEnd], uint8_t{1});
    SetU8At(kNameDisplayOffset, 1);
    for (const size_t option : kOptionsOnByDefault)
    {
        SetU8At(option, 1);
    }
    SetU32At(kRaceLapsOffset, 5);
    SetU32At(kOpponentsOffset, 25);
    SetU32At(kGridPositionOffset, 1);
    SetF32At(kVolumeOffset, 1.0f);
    SetU32At(kViewDistanceOffset, 600);
    SetU8At(kModelDetailOffset, 2);
    for (size_t slot = 0; slot < kTelemetrySlotCount; ++slot)
    {
        SetU8At(kTelemetrySlotsOffset + slot, static_cast<uint8_t>(slot));
    }
    SetU8At(kOpponentLevelOffset, 1);
    SetU8At(kOpponentBehaviourOffset, 1);
    for (size_t rider = 0; rider < kRiders; ++rider)
    {
        SetU32At(kWeekendBestOffset + 4 * rider, kNoTime);
    }
    std::fill_n(&bytes_[kSessionOrderOffset], kTimedSessions * kRiders, kNoEntry);
    for (size_t time = 0; time < kSessionTimeCount; ++time)
    {
        SetI32At(kSessionTimesOffset + 4 * time, -1);
    }
    std::fill_n(&bytes_[kChampionshipOffset], kRiders * kChampionshipCircuits, kNoEntry);
    SetServerName("Server1");
    SetPlayerName("Spieler");
    SetI32At(kNetworkChoiceOffset, -1);
    for (const NetworkDefault& value : kNetworkDefaults)
    {
        SetU32At(value.offset, value.value);
    }
    std::fill_n(&bytes_[kNetworkCircuitsOffset + 1], kNetworkCircuitEntries - 1, kNoEntry);
    SetControls(ControlMap());
}

uint16_t MenuState::U16At(size_t offset) const
{
    assert(offset + 2 <= kSize);
    return static_cast<uint16_t>(bytes_[offset] | bytes_[offset + 1] << 8);
}

void MenuState::SetU16At(size_t offset, uint16_t value)
{
    assert(offset + 2 <= kSize);
    bytes_[offset] = static_cast<uint8_t>(value);
    bytes_[offset + 1] = static_cast<uint8_t>(value >> 8);
}

uint32_t MenuState::U32At(size_t offset) const
{
    assert(offset + 4 <= kSize);
    return LoadLe32(&bytes_[offset]);
}

void MenuState::SetU32At(size_t offset, uint32_t value)
{
    assert(offset + 4 <= kSize);
    StoreLe32(&bytes_[offset], value);
}

float MenuState::F32At(size_t offset) const
{
    return std::bit_cast<float>(U32At(offset));
}

void MenuState::SetF32At(size_t offset, float value)
{
    SetU32At(offset, std::bit_cast<uint32_t>(value));
}

std::string_view MenuState::TextAt(size_t offset) const
{
    const auto field = std::span(bytes_).subspan(offset, kNameSize);
    const auto end = std::ranges::find(field, 0);
    return {reinterpret_cast<const char*>(field.data()), static_cast<size_t>(end - field.begin())};
}

void MenuState::SetTextAt(size_t offset, std::string_view text)
{
    const size_t length = std::min(text.size(), kNameSize - 1);
    std::fill_n(&bytes_[offset], kNameSize, uint8_t{0});
    std::memcpy(&bytes_[offset], text.data(), length);
}

ControlMap MenuState::Controls() const
{
    return ControlMap::FromBytes(std::span(bytes_).subspan<kControlMapOffset, ControlMap::kSize>());
}

void MenuState::SetControls(const ControlMap& controls)
{
    const uint8_t bytes[ControlMap::kSize] = {
        controls.throttle,
        controls.brake,
        controls.left,
        controls.right,
        controls.clutchSelector,
        controls.shiftUp,
        controls.shiftDown,
        controls.wheelie,
        controls.lookBack,
        controls.throttleSensitivity,
        controls.brakeSensitivity,
        controls.steeringSensitivity,
    };
    std::ranges::copy(bytes, &bytes_[kControlMapOffset]);
}

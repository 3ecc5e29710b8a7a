#include "frontend/mainmenu/OptionRules.h"

#include <algorithm>
#include <array>

#include "app/config/ConfigBlock.h"
#include "app/settings/MenuState.h"
#include "frontend/SessionChoices.h"
#include "frontend/mainmenu/MainMenuLayout.h"
#include "sound/SoundTables.h"

namespace
{
constexpr uint8_t kOn = 0;
constexpr uint8_t kOff = 1;

// Auto gear, auto clutch, auto braking, steering aid, ideal lines, bend indicator, skidding
// inactive, accidents inactive, auto centre.
constexpr std::array<size_t, kRideAidOptionRows> kRideAidOffsets = {
    MenuState::kAutoGearOffset,         MenuState::kAutoClutchOffset,
    MenuState::kAutoBrakingOffset,      MenuState::kSteeringAidOffset,
    MenuState::kIdealLinesOffset,       MenuState::kBendIndicatorOffset,
    MenuState::kSkiddingInactiveOffset, MenuState::kAccidentsInactiveOffset,
    MenuState::kAutoCentreOffset};
constexpr size_t kAutoGearRow = 0;
constexpr size_t kAutoClutchRow = 1;
constexpr size_t kAutoBrakingRow = 2;
constexpr size_t kSteeringAidRow = 3;
constexpr size_t kIdealLinesRow = 4;
constexpr size_t kBendIndicatorRow = 5;

constexpr RowMask Row(size_t row)
{
    return RowMask{1} << row;
}

// The buffer length each sample rate starts with.
constexpr std::array<int32_t, 3> kRateBufferIndex = {1, 2, 3};

int32_t Cycled(const ConfigBlock& config, size_t offset, int32_t count)
{
    const int32_t value = config.I32At(offset);
    return value >= 0 && value < count - 1 ? value + 1 : 0;
}

template <size_t N>
uint32_t Pick(const std::array<uint32_t, N>& table, const ConfigBlock& config, size_t offset)
{
    const int32_t index = config.I32At(offset);
    return table[index >= 0 && static_cast<size_t>(index) < N ? static_cast<size_t>(index) : 0];
}
}  // namespace

size_t RideAidOffset(size_t row)
{
    return kRideAidOffsets.at(row);
}

void ToggleByte(MenuState& settings, size_t offset)
{
    settings.SetU8At(offset, settings.U8At(offset) == 0 ? kOff : kOn);
}

void CycleByte(MenuState& settings, size_t offset, uint8_t count)
{
    const uint8_t value = settings.U8At(offset);
    settings.SetU8At(offset, value + 1 < count ? static_cast<uint8_t>(value + 1) : 0);
}

void ToggleRideAid(MenuState& settings, size_t row)
{
    const size_t offset = RideAidOffset(row);
    ToggleByte(settings, offset);
    const uint8_t now = settings.U8At(offset);
    switch (row)
    {
        case kAutoGearRow:
            settings.SetU8At(
                now == kOn ? MenuState::kAutoClutchOffset : MenuState::kSteeringAidOffset, now);
            break;
        case kAutoClutchRow:
            if (now == kOff)
            {
                settings.SetU8At(MenuState::kAutoGearOffset, kOff);
                settings.SetU8At(MenuState::kSteeringAidOffset, kOff);
            }
            break;
        case kAutoBrakingRow:
            if (now == kOff)
            {
                settings.SetU8At(MenuState::kSteeringAidOffset, kOff);
            }
            break;
        case kSteeringAidRow:
            if (now == kOn)
            {
                settings.SetU8At(MenuState::kAutoGearOffset, kOn);
                settings.SetU8At(MenuState::kAutoBrakingOffset, kOn);
                settings.SetU8At(MenuState::kAutoClutchOffset, kOn);
            }
            break;
        default:
            break;
    }
}

RowMask ApplyLevelAidLocks(MenuState& settings)
{
    RowMask locked = 0;
    switch (settings.U8At(MenuState::kLevelOffset))
    {
        case 1:
            locked = Row(kAutoBrakingRow) | Row(kSteeringAidRow);
            break;
        case 2:
            locked = Row(kAutoGearRow) | Row(kAutoBrakingRow) | Row(kSteeringAidRow) |
                     Row(kIdealLinesRow) | Row(kBendIndicatorRow);
            break;
        default:
            break;
    }
    for (size_t row = 0; row < kRideAidOptionRows; ++row)
    {
        if ((locked & Row(row)) != 0)
        {
            settings.SetU8At(RideAidOffset(row), kOff);
        }
    }
    return locked;
}

void SetEveryRideAid(MenuState& settings, RowMask locked, uint8_t value)
{
    for (size_t row = 0; row < kRideAidOptionRows; ++row)
    {
        if ((locked & Row(row)) == 0)
        {
            settings.SetU8At(RideAidOffset(row), value);
        }
    }
}

void ToggleDamage(MenuState& settings, size_t row)
{
    ToggleByte(settings, MenuState::kDamageOffset + std::min(row, MenuState::kDamageCount - 1));
}

void SetEveryDamage(MenuState& settings, uint8_t value)
{
    for (size_t part = 0; part < MenuState::kDamageCount; ++part)
    {
        settings.SetU8At(MenuState::kDamageOffset + part, value);
    }
}

void CycleMenuWeather(MenuState& settings)
{
    CycleByte(settings, MenuState::kWeatherOffset, 3);
    for (size_t session = 0; session < MenuState::kSessionSlotCount; ++session)
    {
        settings.SetU8At(MenuState::kSessionWeatherOffset + session,
                         settings.U8At(MenuState::kWeatherOffset));
    }
    settings.SetU32At(MenuState::kSessionOffset, 0);
    RollWeatherConditions(settings);
}

int32_t RidersOfSettingsClass(const MenuState& settings)
{
    return RiderCountOfClass(std::min<uint32_t>(settings.U32At(MenuState::kBikeClassOffset), 2));
}

void ClampRaceField(MenuState& settings)
{
    const int64_t riders = RidersOfSettingsClass(settings);
    const int64_t opponents =
        std::clamp<int64_t>(settings.U32At(MenuState::kOpponentsOffset), 4, riders - 1);
    settings.SetU32At(MenuState::kOpponentsOffset, static_cast<uint32_t>(opponents));
    const int64_t start =
        std::clamp<int64_t>(settings.U32At(MenuState::kGridPositionOffset), 1, opponents + 1);
    settings.SetU32At(MenuState::kGridPositionOffset, static_cast<uint32_t>(start));
}

void CycleSampleRate(ConfigBlock& config)
{
    const int32_t rate = Cycled(config, ConfigBlock::kSoundRateIndexOffset,
                                static_cast<int32_t>(kSoundRates.size()));
    config.SetI32At(ConfigBlock::kSoundRateIndexOffset, rate);
    config.SetI32At(ConfigBlock::kSoundBufferIndexOffset,
                    kRateBufferIndex[static_cast<size_t>(rate)]);
    config.SetU8At(ConfigBlock::kSampleOptionOffset, 1);
}

void CycleBufferSize(ConfigBlock& config)
{
    config.SetI32At(ConfigBlock::kSoundBufferIndexOffset,
                    Cycled(config, ConfigBlock::kSoundBufferIndexOffset,
                           static_cast<int32_t>(kSoundBufferSizes.size())));
}

void CycleVoices(ConfigBlock& config)
{
    config.SetI32At(ConfigBlock::kEngineVoiceIndexOffset,
                    Cycled(config, ConfigBlock::kEngineVoiceIndexOffset,
                           static_cast<int32_t>(kSoundVoiceCounts.size())));
}

void ToggleInterpolation(ConfigBlock& config)
{
    config.SetU8At(ConfigBlock::kSampleOptionOffset,
                   config.U8At(ConfigBlock::kSampleOptionOffset) == 0 ? 1 : 0);
}

int32_t SampleRateOf(const ConfigBlock& config)
{
    return static_cast<int32_t>(Pick(kSoundRates, config, ConfigBlock::kSoundRateIndexOffset));
}

int32_t BufferSizeOf(const ConfigBlock& config)
{
    return static_cast<int32_t>(
        Pick(kSoundBufferSizes, config, ConfigBlock::kSoundBufferIndexOffset));
}

int32_t VoicesShownOf(const ConfigBlock& config)
{
    return 2 * static_cast<int32_t>(
                   Pick(kSoundVoiceCounts, config, ConfigBlock::kEngineVoiceIndexOffset));
}

bool SoundOutputDiffers(const ConfigBlock& before, const ConfigBlock& after)
{
    return before.I32At(ConfigBlock::kSoundRateIndexOffset) !=
               after.I32At(ConfigBlock::kSoundRateIndexOffset) ||
           before.I32At(ConfigBlock::kSoundBufferIndexOffset) !=
               after.I32At(ConfigBlock::kSoundBufferIndexOffset) ||
           before.U8At(ConfigBlock::kSampleOptionOffset) !=
               after.U8At(ConfigBlock::kSampleOptionOffset);
}

void ToggleMenuMusic(MenuState& settings)
{
    ToggleByte(settings, MenuState::kMenuMusicOffOffset);
    if (settings.U8At(MenuState::kMenuMusicOffOffset) != 0)
    {
        settings.SetU8At(MenuState::kRaceMusicOffOffset, 1);
    }
}

void ToggleRaceMusic(MenuState& settings)
{
    if (settings.U8At(MenuState::kMenuMusicOffOffset) == 0)
    {
        ToggleByte(settings, MenuState::kRaceMusicOffOffset);
    }
}

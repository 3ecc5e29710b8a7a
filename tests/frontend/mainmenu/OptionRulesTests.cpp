// The rows of the realism and options panels: the riding aids that pull each other along, the
// level's locks, the race field's limits and the sound rows of the 3D set-up record.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "app/config/ConfigBlock.h"
#include "app/settings/MenuState.h"
#include "frontend/mainmenu/OptionRules.h"

namespace
{
constexpr uint8_t kOn = 0;
constexpr uint8_t kOff = 1;

// Auto gear, auto clutch, auto braking, steering aid as "1" (off) and "0" (on).
std::string FourAids(const MenuState& settings)
{
    std::string aids;
    for (const size_t offset : {MenuState::kAutoGearOffset, MenuState::kAutoClutchOffset,
                                MenuState::kAutoBrakingOffset, MenuState::kSteeringAidOffset})
    {
        aids += static_cast<char>('0' + settings.U8At(offset));
    }
    return aids;
}

MenuState WithAids(const std::string& aids)
{
    MenuState settings;
    const size_t offsets[] = {MenuState::kAutoGearOffset, MenuState::kAutoClutchOffset,
                              MenuState::kAutoBrakingOffset, MenuState::kSteeringAidOffset};
    for (size_t aid = 0; aid < 4; ++aid)
    {
        settings.SetU8At(offsets[aid], static_cast<uint8_t>(aids[aid] - '0'));
    }
    return settings;
}
}  // namespace

TEST(RideAidRules, ATogglePullsTheDependentAidsAlong)
{
    const struct
    {
        const char* before;
        size_t row;
        const char* after;
    } cases[] = {
        {"1111", 0, "0011"},  // auto gear on: auto clutch on
        {"0000", 0, "1001"},  // auto gear off: steering aid off
        {"0000", 1, "1101"},  // auto clutch off: auto gear and steering aid off
        {"1111", 1, "1011"},  // auto clutch on alone
        {"0000", 2, "0011"},  // auto braking off: steering aid off
        {"1111", 3, "0000"},  // steering aid on: auto gear, braking and clutch on
        {"0000", 3, "0001"},  // steering aid off alone
    };
    for (const auto& test : cases)
    {
        MenuState settings = WithAids(test.before);
        ToggleRideAid(settings, test.row);
        EXPECT_EQ(FourAids(settings), test.after) << test.before << " row " << test.row;
    }
}

TEST(RideAidRules, TheProfessionalLevelLocksFiveAidsOffAndAllChangesOnlyTheRest)
{
    MenuState settings;
    for (size_t row = 0; row < kRideAidOptionRows; ++row)
    {
        settings.SetU8At(RideAidOffset(row), kOn);
    }
    settings.SetU8At(MenuState::kLevelOffset, 2);
    const RowMask locked = ApplyLevelAidLocks(settings);
    EXPECT_EQ(locked, 0b111101u);  // auto gear, braking, steering aid, ideal lines, bends

    SetEveryRideAid(settings, locked, kOn);
    for (size_t row = 0; row < kRideAidOptionRows; ++row)
    {
        const bool isLocked = (locked >> row & 1) != 0;
        EXPECT_EQ(settings.U8At(RideAidOffset(row)), isLocked ? kOff : kOn) << row;
    }

    settings.SetU8At(MenuState::kLevelOffset, 1);
    EXPECT_EQ(ApplyLevelAidLocks(settings), 0b1100u);
    settings.SetU8At(MenuState::kLevelOffset, 0);
    EXPECT_EQ(ApplyLevelAidLocks(settings), 0u);
}

TEST(RaceFieldRules, OpponentsStayWithinTheClassAndTheStartPositionFollows)
{
    const struct
    {
        uint32_t bikeClass;
        uint32_t opponents;
        uint32_t start;
        uint32_t opponentsAfter;
        uint32_t startAfter;
    } cases[] = {
        {1, 30, 40, 25, 26},  // 26 riders of 250 ccm: 25 opponents at most
        {0, 30, 26, 24, 25},  // 25 riders of 125 ccm
        {2, 1, 0, 4, 1},      // at least 4 opponents, start from 1
        {0, 10, 15, 10, 11},  // the start position pulled down to opponents + 1
        {0, 0xFFFFFFFF, 3, 24, 3},
    };
    for (const auto& test : cases)
    {
        MenuState settings;
        settings.SetU32At(MenuState::kBikeClassOffset, test.bikeClass);
        settings.SetU32At(MenuState::kOpponentsOffset, test.opponents);
        settings.SetU32At(MenuState::kGridPositionOffset, test.start);
        ClampRaceField(settings);
        EXPECT_EQ(settings.U32At(MenuState::kOpponentsOffset), test.opponentsAfter);
        EXPECT_EQ(settings.U32At(MenuState::kGridPositionOffset), test.startAfter);
    }
}

TEST(SoundRules, TheSampleRateResetsTheBufferAndOnlyOutputFieldsRestartTheOutput)
{
    ConfigBlock config;
    config.SetI32At(ConfigBlock::kSoundRateIndexOffset, 1);
    config.SetI32At(ConfigBlock::kSoundBufferIndexOffset, 4);
    const ConfigBlock before = config;

    CycleVoices(config);
    EXPECT_EQ(VoicesShownOf(config), 16);
    EXPECT_FALSE(SoundOutputDiffers(before, config));

    CycleSampleRate(config);
    EXPECT_EQ(SampleRateOf(config), 44100);
    EXPECT_EQ(BufferSizeOf(config), 2048);
    EXPECT_EQ(config.U8At(ConfigBlock::kSampleOptionOffset), 1);
    EXPECT_TRUE(SoundOutputDiffers(before, config));
    CycleSampleRate(config);
    EXPECT_EQ(SampleRateOf(config), 11000);
    EXPECT_EQ(BufferSizeOf(config), 512);

    // A broken index in the set-up file shows and cycles from the first entry.
    config.SetI32At(ConfigBlock::kSoundBufferIndexOffset, 77);
    EXPECT_EQ(BufferSizeOf(config), 256);
    CycleBufferSize(config);
    EXPECT_EQ(BufferSizeOf(config), 256);
}

TEST(SoundRules, MusicOffInTheMenusTurnsTheRaceMusicOffAndLocksIt)
{
    MenuState settings;
    ToggleRaceMusic(settings);
    EXPECT_EQ(settings.U8At(MenuState::kRaceMusicOffOffset), 1);
    ToggleRaceMusic(settings);
    ToggleMenuMusic(settings);
    EXPECT_EQ(settings.U8At(MenuState::kRaceMusicOffOffset), 1);
    ToggleRaceMusic(settings);
    EXPECT_EQ(settings.U8At(MenuState::kRaceMusicOffOffset), 1);
    ToggleMenuMusic(settings);
    EXPECT_EQ(settings.U8At(MenuState::kMenuMusicOffOffset), 0);
    EXPECT_EQ(settings.U8At(MenuState::kRaceMusicOffOffset), 1);
}

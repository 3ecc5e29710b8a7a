#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "frontend/season/SessionOptions.h"

namespace
{
constexpr uint8_t kOn = 0;  // "Ein"
constexpr uint8_t kOff = 1;

struct OptionCase
{
    const char* name;
    size_t offset;
    uint8_t value;
    SessionOptions expected;
};

// From the defaults (skidding inactive "Aus", every other option "Ein"), one option changed.
const SessionSwitches kDefaultSwitches{.fallsEnabled = false,
                                       .slideFallsEnabled = true,
                                       .engineDamage = true,
                                       .engineConditions = true,
                                       .detailEffects = true};

SessionOptions Changed(void (*change)(SessionOptions&))
{
    SessionOptions options{.race = kDefaultSwitches, .autoCentre = true};
    change(options);
    return options;
}

void ExpectOptions(const SessionOptions& actual, const SessionOptions& expected)
{
    EXPECT_EQ(actual.race.fallsEnabled, expected.race.fallsEnabled);
    EXPECT_EQ(actual.race.slideFallsEnabled, expected.race.slideFallsEnabled);
    EXPECT_EQ(actual.race.engineDamage, expected.race.engineDamage);
    EXPECT_EQ(actual.race.engineConditions, expected.race.engineConditions);
    EXPECT_EQ(actual.race.detailEffects, expected.race.detailEffects);
    EXPECT_EQ(actual.autoCentre, expected.autoCentre);
}

TEST(SessionOptionsTest, EachOptionSwitchesItsOwnSwitch)
{
    const std::vector<OptionCase> cases = {
        {"defaults", MenuState::kAutoGearOffset, kOn, Changed([](SessionOptions&) {})},
        {"accidents active", MenuState::kAccidentsInactiveOffset, kOff,
         Changed([](SessionOptions& o) { o.race.fallsEnabled = true; })},
        {"skidding inactive", MenuState::kSkiddingInactiveOffset, kOn,
         Changed([](SessionOptions& o) { o.race.slideFallsEnabled = false; })},
        {"no engine failure", MenuState::kEngineFailureOffset, kOff,
         Changed([](SessionOptions& o) { o.race.engineDamage = false; })},
        {"no engine tuning", MenuState::kEngineTuningOffset, kOff,
         Changed([](SessionOptions& o) { o.race.engineConditions = false; })},
        {"no transparency effects", MenuState::kTransparencyOffset, kOff,
         Changed([](SessionOptions& o) { o.race.detailEffects = false; })},
        {"no auto centre", MenuState::kAutoCentreOffset, kOff,
         Changed([](SessionOptions& o) { o.autoCentre = false; })},
        {"time penalty off changes no switch", MenuState::kTimePenaltyOffset, kOn,
         Changed([](SessionOptions&) {})},
    };
    for (const OptionCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        MenuState settings;
        settings.SetU8At(c.offset, c.value);
        ExpectOptions(SessionOptionsOf(settings), c.expected);
    }
}

TEST(SessionOptionsTest, ANetworkRaceRidesWithoutTheMachinesOwnSwitchesAndWithItsOptionBytes)
{
    MenuState settings;
    settings.SetU8At(MenuState::kAccidentsInactiveOffset, kOff);
    settings.SetU8At(MenuState::kTransparencyOffset, kOff);
    settings.SetU8At(MenuState::kNetworkOptionsOffset, kOff);
    settings.SetU8At(MenuState::kNetworkOptionsOffset + 1, kOff);
    settings.SetU8At(MenuState::kNetworkOptionsOffset + 2, kOn);
    settings.SetU8At(MenuState::kBendIndicatorOffset, kOff);
    const SessionOptions options = TakeNetworkRaceOptions(settings, SessionOptionsOf(settings));

    // Only the picture's own switch is kept.
    ExpectOptions(options, {.race = {.fallsEnabled = false,
                                     .slideFallsEnabled = false,
                                     .engineDamage = false,
                                     .engineConditions = false,
                                     .detailEffects = false},
                            .autoCentre = false});
    EXPECT_EQ(settings.U8At(MenuState::kAutoCentreOffset), kOff);
    EXPECT_EQ(settings.U8At(MenuState::kIdealLinesOffset), kOff);
    EXPECT_EQ(settings.U8At(MenuState::kBendIndicatorOffset), kOn);

    settings.SetU8At(MenuState::kNetworkOptionsOffset, kOn);
    EXPECT_TRUE(TakeNetworkRaceOptions(settings, SessionOptionsOf(settings)).autoCentre);
}
}  // namespace

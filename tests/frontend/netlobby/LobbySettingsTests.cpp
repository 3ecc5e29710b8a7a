// The server page's settings steps, the port text and the network circuit calendar.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frontend/netlobby/LobbySettings.h"

namespace
{
struct StepCase
{
    std::string name;
    size_t offset;
    uint32_t before;
    LobbySetting step;
    uint32_t after;
};

void PrintTo(const StepCase& step, std::ostream* out)
{
    *out << step.name;
}

class LobbySettingStep : public ::testing::TestWithParam<StepCase>
{
};

std::vector<int8_t> Calendar(const MenuState& settings)
{
    std::vector<int8_t> races;
    for (uint32_t race = 0; race < CalendarLength(settings); ++race)
    {
        races.push_back(CalendarAt(settings, race));
    }
    return races;
}

void SetCalendar(MenuState& settings, const std::vector<int8_t>& races)
{
    for (size_t race = 0; race < MenuState::kNetworkCircuitEntries; ++race)
    {
        settings.SetI8At(MenuState::kNetworkCircuitsOffset + race,
                         race < races.size() ? races[race] : int8_t{-1});
    }
}
}  // namespace

TEST_P(LobbySettingStep, WrapsWithinItsRange)
{
    MenuState settings;
    settings.SetU32At(MenuState::kNetworkClassOffset, 1);  // 250 ccm: 26 riders
    settings.SetU32At(GetParam().offset, GetParam().before);
    StepLobbySetting(settings, GetParam().step);
    EXPECT_EQ(settings.U32At(GetParam().offset), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, LobbySettingStep,
    ::testing::Values(
        StepCase{"LapsUpFrom20To1", MenuState::kNetworkLapsOffset, 20, LobbySetting::LapsUp, 1},
        StepCase{"LapsDownFrom1To20", MenuState::kNetworkLapsOffset, 1, LobbySetting::LapsDown, 20},
        StepCase{"CountdownUpFrom3To0", MenuState::kTimeLimitIndexOffset, 3,
                 LobbySetting::CountdownUp, 0},
        StepCase{"CountdownDownFrom0To3", MenuState::kTimeLimitIndexOffset, 0,
                 LobbySetting::CountdownDown, 3},
        StepCase{"DelayUpFrom3To1", MenuState::kNetworkInputDelayOffset, 3,
                 LobbySetting::InputDelayUp, 1},
        StepCase{"DelayDownFrom1To3", MenuState::kNetworkInputDelayOffset, 1,
                 LobbySetting::InputDelayDown, 3},
        StepCase{"RidersUpFrom26To2", MenuState::kNetworkRiderCountOffset, 26,
                 LobbySetting::RiderCountUp, 2},
        StepCase{"RidersDownFrom2To26", MenuState::kNetworkRiderCountOffset, 2,
                 LobbySetting::RiderCountDown, 26},
        StepCase{"WeatherFromRandomToSunny", MenuState::kNetworkWeatherChoiceOffset, 4,
                 LobbySetting::Weather, 0},
        StepCase{"LevelFromProfessionalToNovice", MenuState::kNetworkLevelOffset, 2,
                 LobbySetting::Level, 0},
        StepCase{"GridOrderToggles", MenuState::kNetworkGridOrderOffset, 1, LobbySetting::GridOrder,
                 0},
        // A damaged settings file steps from the nearest end of the range.
        StepCase{"DamagedLapsStepFromTheEnd", MenuState::kNetworkLapsOffset, 0xFFFFFFFF,
                 LobbySetting::LapsDown, 19},
        StepCase{"DamagedCountdownStepsFromTheEnd", MenuState::kTimeLimitIndexOffset, 77,
                 LobbySetting::CountdownUp, 0}),
    [](const ::testing::TestParamInfo<StepCase>& info) { return info.param.name; });

TEST(LobbySettings, ANewClassLowersTheRiderCountToItsRiders)
{
    MenuState settings;
    settings.SetU32At(MenuState::kNetworkClassOffset, 1);
    settings.SetU32At(MenuState::kNetworkRiderCountOffset, 26);
    StepLobbySetting(settings, LobbySetting::BikeClass);
    EXPECT_EQ(settings.U32At(MenuState::kNetworkClassOffset), 2u);
    EXPECT_EQ(settings.U32At(MenuState::kNetworkRiderCountOffset), 25u);
    StepLobbySetting(settings, LobbySetting::BikeClass);
    EXPECT_EQ(settings.U32At(MenuState::kNetworkClassOffset), 0u) << "500 ccm wraps to 125";
    EXPECT_EQ(settings.U32At(MenuState::kNetworkRiderCountOffset), 25u);
}

TEST(LobbySettings, PortTextsAndCountdowns)
{
    EXPECT_EQ(PortTextOf(kAutomaticPort), "8080");
    EXPECT_EQ(PortTextOf(0x4752), "4752");
    EXPECT_EQ(PortTextOf(0x1a), "001a");
    EXPECT_EQ(CountdownSeconds(0), 30);
    EXPECT_EQ(CountdownSeconds(3), 90);
    EXPECT_EQ(CountdownSeconds(9), 90);
}

TEST(LobbyCalendar, RemovingACircuitMovesTheLaterOnesUp)
{
    MenuState settings;
    SetCalendar(settings, {3, 7, 0, 12});
    ToggleCalendarCircuit(settings, 3);
    EXPECT_EQ(Calendar(settings), (std::vector<int8_t>{7, 0, 12}));
    EXPECT_LT(settings.I8At(MenuState::kNetworkCircuitsOffset + 3), 0) << "ended after the last";
    ToggleCalendarCircuit(settings, 5);
    EXPECT_EQ(Calendar(settings), (std::vector<int8_t>{7, 0, 12, 5}));
    EXPECT_EQ(CalendarPlaceOf(settings, 5), 3u);
    EXPECT_EQ(CalendarPlaceOf(settings, 3), std::nullopt);
    ToggleCalendarCircuit(settings, 99);
    EXPECT_EQ(Calendar(settings), (std::vector<int8_t>{7, 0, 12, 5})) << "no such circuit";
}

TEST(LobbyCalendar, AFullCalendarEndsWithTheMarkAndADamagedOneStaysInItsField)
{
    MenuState settings;
    SetCalendar(settings, {});
    for (int8_t circuit = 17; circuit >= 0; --circuit)
    {
        ToggleCalendarCircuit(settings, static_cast<uint32_t>(circuit));
    }
    EXPECT_EQ(CalendarLength(settings), 18u);
    EXPECT_EQ(CalendarAt(settings, 0), 17);
    EXPECT_LT(settings.I8At(MenuState::kNetworkCircuitsOffset + 18), 0);

    // Eighteen entries with one circuit twice leave no place for the missing one; the bytes
    // after the calendar are not touched.
    std::vector<int8_t> damaged(18, 4);
    SetCalendar(settings, damaged);
    settings.SetI8At(MenuState::kNetworkCircuitsOffset + 18, 0x55);
    const uint8_t after = settings.U8At(MenuState::kNetworkCircuitsOffset + 19);
    ToggleCalendarCircuit(settings, 9);
    EXPECT_EQ(CalendarLength(settings), 18u);
    EXPECT_EQ(settings.U8At(MenuState::kNetworkCircuitsOffset + 19), after);
    // An entry that names no circuit ends the calendar.
    SetCalendar(settings, {2, 40, 5});
    EXPECT_EQ(Calendar(settings), (std::vector<int8_t>{2}));
}

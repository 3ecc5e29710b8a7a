#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "app/game/CurrentRace.h"
#include "core/util/RuntimeRandom.h"
#include "frontend/SessionChoices.h"
#include "frontend/season/SessionWeather.h"

namespace
{
constexpr CircuitClimate kClimate = {.rainPercent = 13,
                                     .sunPercent = 69,
                                     .baseTemperatureC = 32,
                                     .temperatureSwingC = 4,
                                     .baseHumidityPercent = 70,
                                     .basePressureMbar = 1012};

// Gives the values in turn, then the last one again and again.
RandomSource Script(std::vector<int> values)
{
    return [values, next = size_t{0}]() mutable
    { return values[std::min(next++, values.size() - 1)]; };
}

std::array<uint8_t, 4> SlotWeather(const MenuState& settings)
{
    std::array<uint8_t, 4> weather{};
    for (size_t slot = 0; slot < 4; ++slot)
    {
        weather[slot] = settings.U8At(MenuState::kSessionWeatherOffset + slot);
    }
    return weather;
}

MenuState Choosing(uint8_t weather, uint8_t persistency)
{
    MenuState settings;
    settings.SetU8At(MenuState::kWeatherOffset, weather);
    settings.SetU8At(MenuState::kWeatherPersistencyOffset, persistency);
    return settings;
}

TEST(SessionWeather, SlotsOfTheSessions)
{
    const std::array<size_t, 7> slots = {0, 0, 1, 1, 2, 2, 2};
    for (uint32_t session = 0; session < slots.size(); ++session)
    {
        EXPECT_EQ(WeatherSlotOfSession(session), slots[session]) << "session " << session;
    }
}

TEST(SessionWeather, RolledFromTheSunAndRainSharesOfTheCircuit)
{
    // 69 % sun: fine below 22609; 13 % rain: rain from 28508 on; dull between.
    MenuState settings = Choosing(2, kWeatherChangeable);
    RollSessionWeather(settings, GameMode::GrandPrix, 0, 3, kClimate,
                       Script({22608, 22609, 28507, 28508, 0}));
    EXPECT_EQ(SlotWeather(settings), (std::array<uint8_t, 4>{0, 1, 1, 2}));
}

TEST(SessionWeather, ChosenPersistencyAndKindDecideWhatIsRolled)
{
    struct Case
    {
        const char* name;
        GameMode mode;
        uint32_t kind;
        uint8_t persistency;
        std::array<uint8_t, 4> expected;
    };
    // Every roll 25000 (dull), the chosen weather rain, circuit 4.
    for (const Case& c : {
             Case{
                 "fixed weather in a weekend", GameMode::GrandPrix, 1, kWeatherFixed, {2, 2, 2, 2}},
             Case{
                 "a single race's first roll", GameMode::Race, 0, kWeatherChangeable, {2, 2, 2, 2}},
             Case{"a test ride's first roll",
                  GameMode::TestRide,
                  0,
                  kWeatherChangeable,
                  {2, 2, 2, 2}},
             Case{
                 "a single race rolled later", GameMode::Race, 1, kWeatherChangeable, {1, 1, 1, 1}},
             Case{"a weekend's first roll",
                  GameMode::Championship,
                  0,
                  kWeatherChangeable,
                  {1, 1, 1, 1}},
             Case{"in turn from the circuit",
                  GameMode::GrandPrix,
                  2,
                  kWeatherChangeable,
                  {(4 + 25000) % 3, (4 + 1) % 3, (4 + 2) % 3, (4 + 3) % 3}},
             Case{"constant: all like the first",
                  GameMode::GrandPrix,
                  2,
                  kWeatherConstant,
                  {2, 2, 2, 2}},
         })
    {
        MenuState settings = Choosing(2, c.persistency);
        RollSessionWeather(settings, c.mode, c.kind, 4, kClimate, Script({25000}));
        EXPECT_EQ(SlotWeather(settings), c.expected) << c.name;
    }
}

TEST(WeatherConditions, FromTheClimateAndTheSlotsWeather)
{
    MenuState settings;
    for (size_t slot = 0; slot < 3; ++slot)
    {
        settings.SetU8At(MenuState::kSessionWeatherOffset + slot, static_cast<uint8_t>(slot));
    }
    RollWeatherConditions(settings, kClimate, Script({0}));
    // Random parts 0: temperature T x 0.98, humidity H x 0.94961, pressure P - 3.
    const auto temperature = [&](size_t slot)
    { return settings.U8At(MenuState::kSessionTemperatureOffset + slot); };
    const auto humidity = [&](size_t slot)
    { return settings.U8At(MenuState::kSessionHumidityOffset + slot); };
    const auto pressure = [&](size_t slot)
    { return settings.U16At(MenuState::kSessionPressureOffset + 2 * slot); };
    EXPECT_EQ(temperature(0), 35);  // fine: (32 + 4) x 0.98
    EXPECT_EQ(humidity(0), 33);     // (70 - 35) x 0.9496
    EXPECT_EQ(pressure(0), 1044);   // 1012 + 35 - 3
    EXPECT_EQ(temperature(1), 31);  // dull: 32 x 0.98
    EXPECT_EQ(humidity(1), 66);
    EXPECT_EQ(pressure(1), 1009);
    EXPECT_EQ(temperature(2), 27);  // rain: (32 - 4) x 0.98
    EXPECT_EQ(humidity(2), 87);     // (27 + 65) x 0.9496
    EXPECT_EQ(pressure(2), 995);    // 1012 - 13.5 - 3, truncated
}

TEST(WeatherConditions, StayWithinTheirBoundsForAnyClimateAndSeed)
{
    const std::array<CircuitClimate, 4> climates = {
        kClimate, CircuitClimate{100, 0, 0, 40, 0, 0}, CircuitClimate{0, 100, 60, 60, 255, 1100},
        CircuitClimate{50, 50, 65535, 65535, 65535, 65535}};
    for (const CircuitClimate& climate : climates)
    {
        for (uint32_t seed = 1; seed < 200; ++seed)
        {
            RuntimeSeed(seed);
            MenuState settings = Choosing(0, kWeatherChangeable);
            RollSessionWeather(settings, GameMode::Championship, 1, 7, climate, RuntimeRand);
            for (size_t slot = 0; slot < 4; ++slot)
            {
                const uint8_t humidity = settings.U8At(MenuState::kSessionHumidityOffset + slot);
                ASSERT_GE(humidity, 32) << "seed " << seed;
                ASSERT_LE(humidity, 99) << "seed " << seed;
                ASSERT_LE(settings.U8At(MenuState::kSessionWeatherOffset + slot), 2);
            }
        }
    }
}

TEST(WeatherConditions, OneSeedOneWeekend)
{
    const auto roll = [](uint32_t seed)
    {
        RuntimeSeed(seed);
        MenuState settings = Choosing(0, kWeatherChangeable);
        RollSessionWeather(settings, GameMode::Championship, 1, 2, kClimate, RuntimeRand);
        return settings;
    };
    EXPECT_EQ(roll(1234), roll(1234));
    EXPECT_NE(roll(1234), roll(4321));
}

TEST(SessionWeather, TheSessionsSlotGoesIntoTheCurrentRace)
{
    MenuState settings;
    settings.SetU8At(MenuState::kSessionWeatherOffset + 2, 1);
    settings.SetU8At(MenuState::kSessionTemperatureOffset + 2, 24);
    settings.SetU8At(MenuState::kSessionHumidityOffset + 2, 71);
    settings.SetU16At(MenuState::kSessionPressureOffset + 4, 1000);
    settings.SetU8At(MenuState::kSessionWeatherOffset + 3, 2);  // never ridden
    CurrentRace race;
    ApplySessionWeather(settings, 6, race);
    EXPECT_EQ(race.weather, Weather::Dull);
    EXPECT_FLOAT_EQ(race.trackWetness, 0.65f);
    EXPECT_FLOAT_EQ(race.conditions.airTemperature, 24.0f);
    EXPECT_FLOAT_EQ(race.conditions.humidity, 71.0f);
    EXPECT_FLOAT_EQ(race.conditions.pressureMmHg, 750.07504f);
}
TEST(NetworkWeatherList, EveryRaceOfTheListGetsItsWeatherAndAir)
{
    // Circuit 3 is always rainy, circuit 5 always sunny; the list ends after two races.
    const auto climateOf = [](size_t circuit) -> const CircuitClimate&
    {
        static const CircuitClimate kRainy{100, 0, 20, 4, 70, 1000};
        static const CircuitClimate kSunny{0, 100, 20, 4, 70, 1000};
        return circuit == 3 ? kRainy : kSunny;
    };
    MenuState settings;
    settings.SetI8At(MenuState::kNetworkCircuitsOffset, 3);
    settings.SetI8At(MenuState::kNetworkCircuitsOffset + 1, 5);
    const auto weather = [&](size_t race)
    { return settings.U8At(MenuState::kNetworkWeatherOffset + race); };

    // Rolled (changeable or random): from each circuit's shares; air as for a session.
    for (const uint32_t choice : {3u, 4u})
    {
        settings.SetU32At(MenuState::kNetworkWeatherChoiceOffset, choice);
        RollNetworkWeatherList(settings, climateOf, Script({0}));
        EXPECT_EQ(weather(0), ToIndex(Weather::Rain)) << choice;
        EXPECT_EQ(weather(1), ToIndex(Weather::Fine)) << choice;
    }
    EXPECT_EQ(settings.U8At(MenuState::kNetworkTemperatureOffset + 1), 23);  // (20 + 4) x 0.98
    EXPECT_EQ(settings.U8At(MenuState::kNetworkHumidityOffset + 1), 44);     // (70 - 23) x 0.9496
    EXPECT_EQ(settings.U16At(MenuState::kNetworkPressureOffset + 2), 1020);  // 1000 + 23 - 3
    EXPECT_EQ(settings.U8At(MenuState::kNetworkTemperatureOffset), 15);      // (20 - 4) x 0.98
    EXPECT_EQ(weather(2), 0) << "nothing after the list's end";
    EXPECT_EQ(settings.U16At(MenuState::kNetworkPressureOffset + 4), 0);

    // A weather of the three is every race's.
    settings.SetU32At(MenuState::kNetworkWeatherChoiceOffset, ToIndex(Weather::Dull));
    RollNetworkWeatherList(settings, climateOf, Script({0}));
    EXPECT_EQ(weather(0), ToIndex(Weather::Dull));
    EXPECT_EQ(weather(1), ToIndex(Weather::Dull));
}

TEST(NetworkWeatherList, TheCurrentRacesEntryGoesIntoTheCurrentRace)
{
    MenuState settings;
    settings.SetU32At(MenuState::kNetworkRaceIndexOffset, 1);
    settings.SetU8At(MenuState::kNetworkWeatherOffset + 1, 2);
    settings.SetU8At(MenuState::kNetworkTemperatureOffset + 1, 12);
    settings.SetU8At(MenuState::kNetworkHumidityOffset + 1, 90);
    settings.SetU16At(MenuState::kNetworkPressureOffset + 2, 1000);
    CurrentRace race;
    ApplyNetworkRaceWeather(settings, race);
    EXPECT_EQ(race.weather, Weather::Rain);
    EXPECT_FLOAT_EQ(race.trackWetness, 1.0f);
    EXPECT_FLOAT_EQ(race.conditions.airTemperature, 12.0f);
    EXPECT_FLOAT_EQ(race.conditions.humidity, 90.0f);
    EXPECT_FLOAT_EQ(race.conditions.pressureMmHg, 750.07504f);
}

TEST(CurrentCircuit, TheGivenOneOrTheSettingsChoiceWithItsStem)
{
    g_menuState = MenuState();
    g_menuState.SetU32At(MenuState::kCircuitOffset, 11);
    struct Case
    {
        int32_t asked;
        CircuitId circuit;
        std::string_view stem;
    };
    for (const Case& c :
         {Case{-1, CircuitId::Bruenn, "Bruenn"}, Case{0, CircuitId::ShahAlam, "ShahAlam"},
          Case{14, CircuitId::Pi, "PI"}, Case{17, CircuitId::Netz3, "Netz3"},
          Case{18, CircuitId::Bruenn, "Bruenn"}})
    {
        SetCurrentCircuit(c.asked);
        EXPECT_EQ(g_circuitIndex, c.circuit) << c.asked;
        EXPECT_EQ(g_circuitName, c.stem) << c.asked;
    }
}
}  // namespace

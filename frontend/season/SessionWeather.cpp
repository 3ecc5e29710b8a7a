#include "frontend/season/SessionWeather.h"

#include <algorithm>
#include <array>

namespace
{
constexpr double kRollUnitsPerPercent = 327.68;  // 0x8000 / 100
constexpr float kMmHgPerMbar = 0.75007504f;
constexpr double kLowestHumidity = 32.45;
constexpr double kHighestHumidity = 99.0;

Weather WeatherOfSlot(const MenuState& settings, size_t slot)
{
    const uint8_t weather = settings.U8At(MenuState::kSessionWeatherOffset + slot);
    return weather < kWeatherCount ? static_cast<Weather>(weather) : Weather::Fine;
}

void SetSlotWeather(MenuState& settings, size_t slot, uint32_t weather)
{
    settings.SetU8At(MenuState::kSessionWeatherOffset + slot, static_cast<uint8_t>(weather));
}

Weather RolledWeather(int roll, const CircuitClimate& climate)
{
    const int sunBelow = static_cast<int>(climate.sunPercent * kRollUnitsPerPercent);
    const int rainFrom = static_cast<int>((100 - climate.rainPercent) * kRollUnitsPerPercent);
    if (roll < sunBelow)
    {
        return Weather::Fine;
    }
    return roll >= rainFrom ? Weather::Rain : Weather::Dull;
}

bool RollsOnlyLater(GameMode mode)
{
    return mode == GameMode::TestRide || mode == GameMode::Race || mode == GameMode::NetworkRace ||
           mode == GameMode::GhostRace;
}

template <typename T>
T StoredValue(double value, T highest)
{
    return static_cast<T>(std::clamp(value, 0.0, static_cast<double>(highest)));
}
}  // namespace

size_t WeatherSlotOfSession(uint32_t session)
{
    return std::min<size_t>(session / 2, 2);
}

void RollSessionWeather(MenuState& settings, GameMode mode, uint32_t kind, size_t circuit,
                        const CircuitClimate& climate, const RandomSource& random)
{
    const uint8_t persistency = settings.U8At(MenuState::kWeatherPersistencyOffset);
    if ((kind == 0 && RollsOnlyLater(mode)) || persistency == kWeatherFixed)
    {
        const uint8_t chosen = settings.U8At(MenuState::kWeatherOffset);
        for (size_t slot = 0; slot < MenuState::kSessionSlotCount; ++slot)
        {
            SetSlotWeather(settings, slot, chosen);
        }
    }
    else
    {
        for (size_t slot = 0; slot < MenuState::kSessionSlotCount; ++slot)
        {
            const int roll = random() & 0x7FFF;
            if (kind >= 2)
            {
                SetSlotWeather(
                    settings, slot,
                    (circuit + (slot == 0 ? static_cast<size_t>(roll) : slot)) % kWeatherCount);
            }
            else
            {
                SetSlotWeather(settings, slot, ToIndex(RolledWeather(roll, climate)));
            }
        }
        if (persistency == kWeatherConstant)
        {
            for (size_t slot = 1; slot < MenuState::kSessionSlotCount; ++slot)
            {
                SetSlotWeather(settings, slot, ToIndex(WeatherOfSlot(settings, 0)));
            }
        }
    }
    RollWeatherConditions(settings, climate, random);
}

namespace
{
struct RolledAir
{
    uint8_t temperature;
    uint8_t humidity;
    uint16_t pressureMbar;
};

RolledAir RollAir(Weather weather, const CircuitClimate& climate, const RandomSource& random)
{
    const double base = climate.baseTemperatureC;
    const double swing = climate.temperatureSwingC;
    const double temperatureBase = weather == Weather::Fine   ? base + swing
                                   : weather == Weather::Rain ? base - swing
                                                              : base;
    const uint8_t temperature =
        StoredValue<uint8_t>(temperatureBase * (3136 + ((random() >> 5) & 127)) * 0.0003125, 255);

    const double humidityBase =
        weather == Weather::Fine   ? static_cast<double>(climate.baseHumidityPercent) - temperature
        : weather == Weather::Rain ? temperature + 65.0
                                   : static_cast<double>(climate.baseHumidityPercent);
    const double humidity =
        std::clamp(humidityBase * (1206 + ((random() >> 3) & 127)) * 0.0007874016, kLowestHumidity,
                   kHighestHumidity);

    const double pressureBase = weather == Weather::Fine ? climate.basePressureMbar + temperature
                                : weather == Weather::Rain
                                    ? climate.basePressureMbar - temperature * 0.5
                                    : static_cast<double>(climate.basePressureMbar);
    const uint16_t pressure =
        StoredValue<uint16_t>(pressureBase + ((random() >> 3) & 7) - 3, 0xFFFF);
    return {temperature, static_cast<uint8_t>(humidity), pressure};
}
}  // namespace

void RollWeatherConditions(MenuState& settings, const CircuitClimate& climate,
                           const RandomSource& random)
{
    for (size_t slot = 0; slot < MenuState::kSessionSlotCount; ++slot)
    {
        const RolledAir air = RollAir(WeatherOfSlot(settings, slot), climate, random);
        settings.SetU8At(MenuState::kSessionTemperatureOffset + slot, air.temperature);
        settings.SetU8At(MenuState::kSessionHumidityOffset + slot, air.humidity);
        settings.SetU16At(MenuState::kSessionPressureOffset + slot * 2, air.pressureMbar);
    }
}

void RollNetworkWeatherList(MenuState& settings, const ClimateOfCircuit& climateOf,
                            const RandomSource& random)
{
    constexpr int kDroppedDraws = 200;
    constexpr uint32_t kFirstRolledChoice = 3;
    for (int draw = 0; draw < kDroppedDraws; ++draw)
    {
        random();
    }
    const uint32_t choice = settings.U32At(MenuState::kNetworkWeatherChoiceOffset);
    for (size_t race = 0; race < MenuState::kNetworkRaces; ++race)
    {
        const int8_t circuit = settings.I8At(MenuState::kNetworkCircuitsOffset + race);
        if (circuit < 0 || static_cast<size_t>(circuit) >= kCircuitCount)
        {
            return;
        }
        const CircuitClimate& climate = climateOf(static_cast<size_t>(circuit));
        const Weather weather = choice < kFirstRolledChoice
                                    ? static_cast<Weather>(choice)
                                    : RolledWeather(random() & 0x7FFF, climate);
        const RolledAir air = RollAir(weather, climate, random);
        settings.SetU8At(MenuState::kNetworkWeatherOffset + race,
                         static_cast<uint8_t>(ToIndex(weather)));
        settings.SetU8At(MenuState::kNetworkTemperatureOffset + race, air.temperature);
        settings.SetU8At(MenuState::kNetworkHumidityOffset + race, air.humidity);
        settings.SetU16At(MenuState::kNetworkPressureOffset + race * 2, air.pressureMbar);
    }
}

namespace
{
struct RaceAir
{
    uint8_t weather;
    uint8_t temperature;
    uint8_t humidity;
    uint16_t pressureMbar;
};

void ApplyAir(const RaceAir& air, CurrentRace& race)
{
    constexpr std::array<float, kWeatherCount> kWetness = {0.0f, 0.65f, 1.0f};
    race.weather = air.weather < kWeatherCount ? static_cast<Weather>(air.weather) : Weather::Fine;
    race.trackWetness = kWetness[ToIndex(race.weather)];
    race.conditions.airTemperature = air.temperature;
    race.conditions.humidity = air.humidity;
    race.conditions.pressureMmHg = air.pressureMbar * kMmHgPerMbar;
}
}  // namespace

void ApplySessionWeather(const MenuState& settings, uint32_t session, CurrentRace& race)
{
    const size_t slot = WeatherSlotOfSession(session);
    ApplyAir({settings.U8At(MenuState::kSessionWeatherOffset + slot),
              settings.U8At(MenuState::kSessionTemperatureOffset + slot),
              settings.U8At(MenuState::kSessionHumidityOffset + slot),
              settings.U16At(MenuState::kSessionPressureOffset + slot * 2)},
             race);
}

void ApplyNetworkRaceWeather(const MenuState& settings, CurrentRace& race)
{
    const size_t entry = std::min<size_t>(settings.U32At(MenuState::kNetworkRaceIndexOffset),
                                          MenuState::kNetworkRaces - 1);
    ApplyAir({settings.U8At(MenuState::kNetworkWeatherOffset + entry),
              settings.U8At(MenuState::kNetworkTemperatureOffset + entry),
              settings.U8At(MenuState::kNetworkHumidityOffset + entry),
              settings.U16At(MenuState::kNetworkPressureOffset + entry * 2)},
             race);
}

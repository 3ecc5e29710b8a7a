#include "net/NetSettings.h"

#include <algorithm>

namespace
{
uint32_t Clamped(const MenuState& record, size_t offset, uint32_t lowest, uint32_t highest)
{
    return std::clamp(record.U32At(offset), lowest, highest);
}

NetCalendar ReadCalendar(const MenuState& record)
{
    NetCalendar calendar;
    for (size_t race = 0; race < kNetCalendarEntries; ++race)
    {
        calendar.circuits[race] = record.I8At(MenuState::kNetworkCircuitsOffset + race);
    }
    if (!IsValidCircuitList(calendar.circuits))
    {
        calendar.circuits.fill(-1);
    }
    for (size_t race = 0; race < kNetCalendarRaces; ++race)
    {
        calendar.weather[race] = record.U8At(MenuState::kNetworkWeatherOffset + race);
        calendar.humidity[race] = record.U8At(MenuState::kNetworkHumidityOffset + race);
        calendar.temperature[race] = record.U8At(MenuState::kNetworkTemperatureOffset + race);
        calendar.pressure[race] = record.U16At(MenuState::kNetworkPressureOffset + 2 * race);
    }
    return calendar;
}

void WriteCalendar(MenuState& record, const NetCalendar& calendar)
{
    for (size_t race = 0; race < kNetCalendarEntries; ++race)
    {
        record.SetI8At(MenuState::kNetworkCircuitsOffset + race, calendar.circuits[race]);
    }
    for (size_t race = 0; race < kNetCalendarRaces; ++race)
    {
        record.SetU8At(MenuState::kNetworkWeatherOffset + race, calendar.weather[race]);
        record.SetU8At(MenuState::kNetworkHumidityOffset + race, calendar.humidity[race]);
        record.SetU8At(MenuState::kNetworkTemperatureOffset + race, calendar.temperature[race]);
        record.SetU16At(MenuState::kNetworkPressureOffset + 2 * race, calendar.pressure[race]);
    }
}
}  // namespace

ServerSettings NetSessionSettings::Announced() const
{
    return {
        inputDelaySetting, static_cast<uint32_t>(bikeClass), difficulty, weather, laps, gridOrder,
        riderCount};
}

NetSessionSettings ReadNetSessionSettings(const MenuState& record)
{
    NetSessionSettings settings;
    settings.serverName = NetName(record.ServerName());
    settings.inputDelaySetting = Clamped(record, MenuState::kNetworkInputDelayOffset, 1, 3);
    settings.bikeClass =
        static_cast<BikeClass>(Clamped(record, MenuState::kNetworkClassOffset, 0, 2));
    settings.difficulty = Clamped(record, MenuState::kNetworkLevelOffset, 0, 2);
    settings.weather = Clamped(record, MenuState::kNetworkWeatherChoiceOffset, 0, 4);
    settings.laps = Clamped(record, MenuState::kNetworkLapsOffset, 1, 20);
    settings.gridOrder = Clamped(record, MenuState::kNetworkGridOrderOffset, 0, 1);
    settings.riderCount =
        Clamped(record, MenuState::kNetworkRiderCountOffset, 2, RidersOfClass(settings.bikeClass));
    settings.countdownIndex = Clamped(record, MenuState::kTimeLimitIndexOffset, 0, 3);
    settings.calendar = ReadCalendar(record);
    return settings;
}

void WriteJoinedSettings(MenuState& record, const JoinAccept& accept)
{
    record.SetU32At(MenuState::kBikeClassOffset, accept.bikeClass);
    record.SetU32At(MenuState::kNetworkClassOffset, accept.bikeClass);
    record.SetU32At(MenuState::kNetworkLevelOffset, 2 - accept.strength);
    record.SetU32At(MenuState::kNetworkLapsOffset, accept.laps);
    // The record keeps the setting, the message the delay in input steps.
    record.SetU32At(MenuState::kNetworkInputDelayOffset,
                    accept.inputDelay > 2 ? accept.inputDelay - 2 : 1);
    record.SetU32At(MenuState::kTimeLimitIndexOffset, accept.countdownIndex);
    WriteCalendar(record, accept.calendar);
}

std::optional<uint16_t> ChosenPort(const MenuState& record)
{
    const int32_t choice = record.I32At(MenuState::kNetworkChoiceOffset);
    if (choice < 0 || choice > 0xFFFF)
    {
        return std::nullopt;
    }
    return static_cast<uint16_t>(choice);
}

std::array<bool, 3> RideAidsOn(const MenuState& record)
{
    return {record.U8At(MenuState::kAutoGearOffset) == 0,
            record.U8At(MenuState::kAutoBrakingOffset) == 0,
            record.U8At(MenuState::kSteeringAidOffset) == 0};
}

#include "setup/telemetry/TelemetryChannels.h"

#include <cassert>
#include <cmath>
#include <cstdio>

#include "core/util/MathUtils.h"
#include "race/laps/LapRecord.h"

namespace
{
constexpr std::array<TelemetryChannel, kTelemetryChannels> kChannels = {{
    {{"Schub", "Throttle"},
     {"Schub", "Throttle"},
     SampleType::U16,
     0.004338461f,
     0.0f,
     100.0f,
     0.1f,
     10.0f,
     {"%d%%", "%d%%"},
     0.0015384615f,
     true},
    {{"Lenkeinsatz", "Steering"},
     {"Lenkeinsatz", "Steering"},
     SampleType::I16,
     0.004338461f,
     -141.0f,
     100.0f,
     0.2f,
     10.0f,
     {"%d%%", "%d%%"},
     0.003125f,
     true},
    {{"Gang", "Gear"},
     {"Gang", "Gear"},
     SampleType::U8,
     28.2f,
     0.0f,
     10.0f,
     1.0f,
     1.0f,
     {"%d", "%d"},
     1.0f,
     true},
    {{"Bremshebel", "Brake Lever"},
     {"Bremshebelstellung", "Brake Lever"},
     SampleType::U16,
     0.004338461f,
     0.0f,
     100.0f,
     0.1f,
     10.0f,
     {"%1.1f", "%1.1f"},
     0.0015384615f,
     false},
    {{"Geschwindigkeit", "Speed"},
     {"Geschwindigkeit", "Speed"},
     SampleType::U16,
     0.005206154f,
     0.0f,
     300.0f,
     0.1f,
     10.0f,
     {"%d km/h", "%d km/h"},
     0.0055384613f,
     true},
    {{"Drehzahl", "Revolutions"},
     {"Drehzahl", "Revolutions"},
     SampleType::U16,
     0.006266667f,
     0.0f,
     15000.0f,
     0.001f,
     750.0f,
     {"%d U/min", "%d RPM"},
     0.33333334f,
     true},
    {{"Temperatur", "Temperature"},
     {"Temperatur", "Temperature"},
     SampleType::U8,
     1.7625f,
     0.0f,
     160.0f,
     1.0f,
     10.0f,
     {"%d\xB0"
      "C",
      "%d\xB0"
      "C"},
     1.0f,
     true},
    {{"Federweg Vorn", "Front Suspension"},
     {"Federweg Vorderrad", "Suspension Front"},
     SampleType::F32,
     2820.0f,
     0.0f,
     0.1f,
     100.0f,
     0.01f,
     {"%3.2f mm", "%3.2f mm"},
     100.0f,
     false},
    {{"Federweg Hinten", "Rear Suspension"},
     {"Federweg Hinterrad", "Suspension Rear"},
     SampleType::F32,
     2820.0f,
     0.0f,
     0.1f,
     100.0f,
     0.01f,
     {"%3.2f mm", "%3.2f mm"},
     100.0f,
     false},
    {{"Leistung", "Power"},
     {"Motorleistung", "Power"},
     SampleType::U16,
     0.0055078f,
     0.0f,
     200.0f,
     0.1f,
     20.0f,
     {"%d KW", "%d KW"},
     0.00390625f,
     true},
    {{"Beschleunigung", "Acceleration"},
     {"Beschleunigung", "Acceleration"},
     SampleType::F32,
     14.1f,
     -141.0f,
     20.0f,
     1.0f,
     1.0f,
     {"%d m/s\xB2", "%d m/s\xB2"},
     1.0f,
     true},
    {{"Reifenzustand V.", "Front Tyre"},
     {"Reifenzustand Vorderrad", "Front Tyre"},
     SampleType::F32,
     2.82f,
     0.0f,
     100.0f,
     0.1f,
     10.0f,
     {"%d%%", "%d%%"},
     1.0f,
     true},
    {{"Reifenzustand H.", "Rear Tyre"},
     {"Reifenzustand Hinterrad", "Rear Tyre"},
     SampleType::F32,
     2.82f,
     0.0f,
     100.0f,
     0.1f,
     10.0f,
     {"%d%%", "%d%%"},
     1.0f,
     true},
}};
}  // namespace

const TelemetryChannel& TelemetryChannelOf(uint8_t channel)
{
    assert(channel < kTelemetryChannels);
    return kChannels[channel];
}

float RawSample(const LapRecord& lap, uint8_t channel, int32_t sample)
{
    const auto i = static_cast<size_t>(sample);
    switch (channel)
    {
        case 0:
            return lap.throttle[i];
        case 1:
            return static_cast<int16_t>(lap.steering[i]);
        case 2:
            return lap.gear[i];
        case 3:
            return lap.brake[i];
        case 4:
            return lap.speed[i];
        case 5:
            return lap.rpm[i];
        case 6:
            return lap.temperature[i];
        case 7:
            return lap.suspensionFront[i];
        case 8:
            return lap.suspensionRear[i];
        case 9:
            return lap.power[i];
        case 10:
            return lap.acceleration[i];
        case 11:
            return lap.tyreFront[i];
        case 12:
            return lap.tyreRear[i];
        default:
            return 0.0f;
    }
}

std::string FormatReadout(uint8_t channel, float raw, Language language)
{
    const TelemetryChannel& c = TelemetryChannelOf(channel);
    const float value = raw * c.readoutFactor;
    const std::string format(c.readoutFormat[ToIndex(language)]);
    std::array<char, 48> text{};
    if (c.readoutIsInteger)
    {
        std::snprintf(text.data(), text.size(), format.c_str(), TruncateToInt32(value));
    }
    else
    {
        std::snprintf(text.data(), text.size(), format.c_str(), static_cast<double>(value));
    }
    return text.data();
}

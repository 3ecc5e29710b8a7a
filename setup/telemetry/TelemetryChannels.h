#pragma once

// The thirteen data channels of a recorded lap as the telemetry screen plots them: each one's
// names, the pixel scale and offset of its raw samples, its axis labels and its read-out.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/game/GameEnums.h"

struct LapRecord;

enum class SampleType : uint8_t
{
    F32 = 1,
    U16 = 3,
    U8 = 5,
    I16 = 6,
};

struct TelemetryChannel
{
    std::array<std::string_view, kLanguageCount> name;
    std::array<std::string_view, kLanguageCount> readoutLabel;
    SampleType type;
    float pixelScale;   // graph pixels per raw unit
    float pixelOffset;  // subtracted after scaling
    float axisMaximum;
    float labelFactor;
    float labelStep;
    std::array<std::string_view, kLanguageCount> readoutFormat;
    float readoutFactor;
    bool readoutIsInteger;  // "%d" formats take the truncated value
};

inline constexpr uint8_t kTelemetryChannels = 13;
inline constexpr uint8_t kNoChannel = 13;

const TelemetryChannel& TelemetryChannelOf(uint8_t channel);

// The raw value of a channel at one sample of the lap (a signed channel as its signed value).
float RawSample(const LapRecord& lap, uint8_t channel, int32_t sample);

// The read-out of a value (already interpolated, raw units) in the channel's format.
std::string FormatReadout(uint8_t channel, float raw, Language language);

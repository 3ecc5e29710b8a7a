#pragma once

// One lap of one rider as per-step samples: where the bike was, thirteen data channels for the
// telemetry screen and the pose of the bike and rider models for ghost playback. The race state
// records the player's current lap in one; a ghost session plays another back as a translucent
// rider.
//
// The record is one block of 637,260 bytes in a fixed layout (the telemetry screen and the pit
// box copy it whole), far too large for a stack: make it with std::make_unique. Its lap file,
// ".fhr", holds the first 40 bytes of the head and the first n entries of every per-sample array
// (LapFile.h). Main thread only.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

class ChannelList;
struct BikeRecord;
class RacingLine;

// The words of LapRecord::header: the session the lap was ridden in.
enum class LapHeaderWord : size_t
{
    Circuit = 0,    // CircuitId
    BikeClass = 1,  // the class chosen in the settings
    Level = 2,      // the settings' level byte, 0 professional .. 2 beginner
    Rider = 3,      // the player's rider
    Weather = 4,    // of the session's conditions
    PressureMbar = 5,
    TemperatureC = 6,
    HumidityPercent = 7,
};
inline constexpr size_t kLapHeaderWords = 8;
using LapHeader = std::array<uint16_t, kLapHeaderWords>;

// The lap's section times (ending at timing lines 0, 1 and 2) and its lap time, ms; -1 = none.
enum class LapTime : size_t
{
    Line0 = 0,
    Line1 = 1,
    Line2 = 2,
    Lap = 3,
};
using LapTimes = std::array<int32_t, 4>;

// One sample as the record stores it, scaled.
struct LapSample
{
    static constexpr size_t kPoseChannels = 16;

    uint16_t node = 0;  // the bike's racing-line node
    float groundX = 0.0f;
    float groundZ = 0.0f;
    float raceTime = 0.0f;         // s
    float suspensionFront = 0.0f;  // travel, as the bike record holds it
    float suspensionRear = 0.0f;
    float acceleration = 0.0f;
    float tyreFront = 0.0f;  // condition, percent
    float tyreRear = 0.0f;
    uint16_t power = 0;     // engine-curve value x 0.256
    uint16_t brake = 0;     // lever 0..1 x 65000
    uint16_t speed = 0;     // m/s x 650, 0..65000
    uint16_t rpm = 0;       // x 3
    uint16_t throttle = 0;  // 0..1 x 65000
    uint16_t steering = 0;  // -1..1 x 32000, two's complement
    uint8_t gear = 0;
    uint8_t temperature = 0;  // engine, degrees C
    std::array<float, kPoseChannels> pose{};

    bool operator==(const LapSample&) const = default;
};

struct LapRecord
{
    static constexpr int32_t kMaxSamples = 5400;  // 216 s at 25 samples a second
    static constexpr size_t kSamples = kMaxSamples;
    static constexpr size_t kPoseChannels = LapSample::kPoseChannels;
    static constexpr size_t kSize = 637260;
    static constexpr int32_t kFadeSamples = 32;  // the ghost fades out over its last samples

    // The head, as the lap file starts (in another order there).
    int32_t sampleCount{};  // n, 0..5400
    LapTimes times{};
    uint32_t valid{};  // 1 while the lap may still be stored
    LapHeader header{};

    // Per-sample arrays; the first n entries hold the lap.
    std::array<uint16_t, kSamples> node{};
    std::array<float, kSamples> groundX{};
    std::array<float, kSamples> groundZ{};
    std::array<float, kSamples> raceTime{};
    std::array<float, kSamples> suspensionFront{};
    std::array<float, kSamples> suspensionRear{};
    std::array<float, kSamples> acceleration{};
    std::array<float, kSamples> tyreFront{};
    std::array<float, kSamples> tyreRear{};
    std::array<uint16_t, kSamples> power{};
    std::array<uint16_t, kSamples> brake{};
    std::array<uint16_t, kSamples> speed{};
    std::array<uint16_t, kSamples> rpm{};
    std::array<uint16_t, kSamples> throttle{};
    std::array<uint16_t, kSamples> steering{};
    std::array<uint8_t, kSamples> gear{};
    std::array<uint8_t, kSamples> temperature{};
    std::array<std::array<float, kSamples>, kPoseChannels> pose{};

    // Filled by the telemetry screen: the ground distance from sample 0. The u16 array beside it
    // is no operation's.
    std::array<float, kSamples> distance{};
    std::array<uint16_t, kSamples> spare{};

    // Playback.
    int32_t ghostStart{};  // where the fade-out begins: n - 32 when n >= 33, else 0
    uint32_t lastStoredLap{};
    int32_t alpha{};  // translucency applied to the ghost, 0..256 (256 = solid)
    int32_t fade{};
    int32_t playIndex{};

    // A new record is empty: n = 0, every word zero.

    // Empty and valid, nothing stored yet and no translucency.
    void InitRecording();
    // Starts the next lap from scratch.
    void Reset();
    void Copy(const LapRecord& other) { *this = other; }

    LapSample Sample(int32_t index) const;
    // Stores sample n and counts it, unless the lap is full (it becomes invalid) or the bike has
    // not moved since the last sample. A bike that was reset or inactive spoils the lap.
    void AppendSample(const LapSample& sample, bool bikeResetOrInactive);
    // The same with the sample taken from the bike (LapSampling.cpp).
    void AppendSample(const BikeRecord& bike, float raceTime);
    // Ends the lap numbered lap: takes the session's header and the lap's times, keeps it valid
    // only when it starts and ends on the main line, writes it as the session's lap file unless
    // a lap of that number or a later one was written already (a file that cannot be written is
    // skipped), and starts the next lap from scratch.
    void FinishLap(uint32_t lap, const LapHeader& session, const LapTimes& lapTimes,
                   const RacingLine& line);
    // Sets ghostStart from n, as a loaded ghost needs it.
    void SetGhostStart();

    // Ghost playback, once per simulation step (GhostPlayback.cpp): the ghost's bike, a record
    // of its own that takes no part in the race, moves to the next sample through the channel
    // list; it fades in over its first samples and out over its last 32, and turns more
    // translucent the nearer it comes to the player's bike.
    void PlayGhost(BikeRecord& ghost, const BikeRecord& player, ChannelList& channels);
    // Restarts playback from the first sample; with hold the ghost waits there, fading in, until
    // it is restarted without.
    void RestartGhost(bool hold);
    // The translucency flag on, or off, on all the bike's nodes.
    static void MakeGhostTranslucent(BikeRecord& ghost);
    static void MakeGhostSolid(BikeRecord& ghost);
    // alpha as the translucency of all the bike's nodes.
    void PoseGhost(BikeRecord& ghost) const;
};
static_assert(sizeof(LapRecord) == LapRecord::kSize);
static_assert(offsetof(LapRecord, times) == 4);
static_assert(offsetof(LapRecord, valid) == 20);
static_assert(offsetof(LapRecord, header) == 24);
static_assert(offsetof(LapRecord, node) == 40);
static_assert(offsetof(LapRecord, ghostStart) == LapRecord::kSize - 20);

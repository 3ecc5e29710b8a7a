#pragma once

// The state of one rider and machine during a race, 3576 bytes in a fixed layout: the
// network exchange, the state checksum and the snapshots address it by offset. Only the
// fields in use so far are named; the bytes between them keep the offsets of the rest.
//
// The input step on the timer thread reads the player's steering rate and speed and writes
// the wheelie button while the race tick works on the main thread: those three fields are
// reached through the accessors below, which both threads use.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

// The tunable head of the record, carried whole by the class set-up files and the network
// exchange; the player's set-up files carry a part of it (the set-up stream). Only the fields
// in use so far are named; the bytes between them belong to the race physics.
struct BikeSetup
{
    static constexpr size_t kSize = 1092;
    static constexpr size_t kEngineCurvePoints = 200;
    static constexpr size_t kGears = 6;

    std::array<std::byte, 4> reserved0;
    float steeringRate;  // base steering speed
    std::array<std::byte, 44> reserved1;
    // Engine power over engine speed in 100 rpm steps, from 0 rpm.
    std::array<float, kEngineCurvePoints> baseEngineCurve;
    std::array<std::byte, 12> reserved2;
    float ignitionC;  // the three ignition factors, 0.95..1.05
    std::array<std::byte, 12> reserved3;
    float ignitionB;
    float ignitionA;
    std::array<std::byte, 4> reserved4;
    float coolingOpening;  // radiator opening 0.0..1.0 in steps of 0.1
    std::array<std::byte, 4> reserved5;
    std::array<float, kGears> overallRatio;  // primary x secondary x gear, gears 1..6
    std::array<std::byte, 28> reserved6;
    float maxEngineSpeed;  // rpm
    std::array<std::byte, 24> reserved7;
    // The fork and then the rear damper: damping in whole clicks 1..19; the oil factor is
    // -0.5 x the oil value.
    float frontSpringRate;
    std::array<std::byte, 4> reserved8;
    float frontOilFactor;
    float frontCompression;
    float frontOilValue;
    float frontRebound;
    float rearSpringRate;
    std::array<std::byte, 4> reserved9;
    float rearOilFactor;
    float rearCompression;
    float rearOilValue;
    float rearRebound;
    std::array<std::byte, 24> reserved10;
    float tuningValue1;  // the race physics' own
    float tuningValue2;
    float tuningValue3;
    float brakeValueA;                      // brake start force, 0.01..1.0
    float brakeValueB;                      // brake travel to full force, 0.01..2.0
    std::array<int8_t, kGears> gearChoice;  // per gear, a pair of the class's gearbox table
    int8_t rearSprocket;                    // teeth
    int8_t frontSprocket;
    std::array<std::byte, 2> reserved11;
    // Tyres: slick compounds 0..4 as 0..4, intermediate 1..3 as 5..7, rain 1..3 as 8..10;
    // 100 leaves the choice to the tyre preparation.
    uint8_t frontTyre;
    uint8_t rearTyre;
    uint8_t brakeCharacteristic;  // 0 dynamic, 1 normal, 2 sluggish
    uint8_t frontLevelA;          // the four suspension levels, 0..4
    uint8_t frontLevelB;
    uint8_t rearLevelA;
    uint8_t rearLevelB;
    std::array<std::byte, 3> reserved12;
};
static_assert(sizeof(BikeSetup) == BikeSetup::kSize);
static_assert(offsetof(BikeSetup, steeringRate) == 4);
static_assert(offsetof(BikeSetup, baseEngineCurve) == 52);
static_assert(offsetof(BikeSetup, ignitionC) == 864);
static_assert(offsetof(BikeSetup, ignitionB) == 880);
static_assert(offsetof(BikeSetup, ignitionA) == 884);
static_assert(offsetof(BikeSetup, coolingOpening) == 892);
static_assert(offsetof(BikeSetup, overallRatio) == 900);
static_assert(offsetof(BikeSetup, maxEngineSpeed) == 952);
static_assert(offsetof(BikeSetup, frontSpringRate) == 980);
static_assert(offsetof(BikeSetup, frontOilFactor) == 988);
static_assert(offsetof(BikeSetup, frontCompression) == 992);
static_assert(offsetof(BikeSetup, frontOilValue) == 996);
static_assert(offsetof(BikeSetup, frontRebound) == 1000);
static_assert(offsetof(BikeSetup, rearSpringRate) == 1004);
static_assert(offsetof(BikeSetup, rearOilFactor) == 1012);
static_assert(offsetof(BikeSetup, rearCompression) == 1016);
static_assert(offsetof(BikeSetup, rearOilValue) == 1020);
static_assert(offsetof(BikeSetup, rearRebound) == 1024);
static_assert(offsetof(BikeSetup, tuningValue1) == 1052);
static_assert(offsetof(BikeSetup, tuningValue2) == 1056);
static_assert(offsetof(BikeSetup, tuningValue3) == 1060);
static_assert(offsetof(BikeSetup, brakeValueA) == 1064);
static_assert(offsetof(BikeSetup, brakeValueB) == 1068);
static_assert(offsetof(BikeSetup, gearChoice) == 1072);
static_assert(offsetof(BikeSetup, rearSprocket) == 1078);
static_assert(offsetof(BikeSetup, frontSprocket) == 1079);
static_assert(offsetof(BikeSetup, frontTyre) == 1082);
static_assert(offsetof(BikeSetup, rearTyre) == 1083);
static_assert(offsetof(BikeSetup, brakeCharacteristic) == 1084);
static_assert(offsetof(BikeSetup, frontLevelA) == 1085);
static_assert(offsetof(BikeSetup, frontLevelB) == 1086);
static_assert(offsetof(BikeSetup, rearLevelA) == 1087);
static_assert(offsetof(BikeSetup, rearLevelB) == 1088);

struct BikeRecord
{
    static constexpr size_t kSize = 3576;
    static constexpr size_t kSpeedOffset = 2040;
    // The ride-aid words and the two button states lie 68 bytes before the record's end.
    static constexpr size_t kWheelieButtonOffset = 3500;

    BikeSetup setup;
    std::array<std::byte, kSpeedOffset - BikeSetup::kSize> reserved0;
    float speed;  // m/s
    std::array<std::byte, kWheelieButtonOffset - kSpeedOffset - 4> reserved1;
    int32_t wheelieButton;  // 1 held, 0 not: lifts the front wheel
    std::array<std::byte, kSize - kWheelieButtonOffset - 4> reserved2;

    // Takes over the whole set-up block of another record.
    void CopySetup(const BikeRecord& source) { setup = source.setup; }

    float SteeringRate() const { return Load(setup.steeringRate); }
    float Speed() const { return Load(speed); }
    void SetSpeed(float metresPerSecond) { Store(speed, metresPerSecond); }
    int32_t WheelieButton() const { return Load(wheelieButton); }
    void SetWheelieButton(int32_t held) { Store(wheelieButton, held); }

private:
    // std::atomic_ref takes no const type; a load writes nothing.
    template <typename T>
    static T Load(const T& field)
    {
        return std::atomic_ref<T>(const_cast<T&>(field)).load(std::memory_order_relaxed);
    }
    template <typename T>
    static void Store(T& field, T value)
    {
        std::atomic_ref<T>(field).store(value, std::memory_order_relaxed);
    }
};
static_assert(sizeof(BikeRecord) == BikeRecord::kSize);
static_assert(offsetof(BikeRecord, setup) == 0);
static_assert(offsetof(BikeRecord, setup) + offsetof(BikeSetup, steeringRate) == 4);
static_assert(offsetof(BikeRecord, speed) == BikeRecord::kSpeedOffset);
static_assert(offsetof(BikeRecord, wheelieButton) == BikeRecord::kWheelieButtonOffset);

inline constexpr size_t kRiderCount = 26;

extern std::array<BikeRecord, kRiderCount> g_bikes;
// The local player's rider; it indexes g_bikes and g_netPeers.
extern std::atomic<uint32_t> g_playerRider;

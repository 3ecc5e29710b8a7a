// The preparation of the machines: brakes by class, difficulty and skill; tyres by weather,
// circuit and session length; the gears' over-revving reserves by race length.

#include <algorithm>
#include <array>
#include <cmath>

#include "race/ai/RiderStep.h"

namespace
{
constexpr size_t kBrakeRows = 27;  // (class x 3 + difficulty) x 3 + skill
constexpr std::array<float, kBrakeRows> kSecondBrakeFactor = {
    1100, 1300, 1500, 900, 1100, 1400, 200,  250,  300,  1800, 2000, 2200, 1600, 1800,
    2000, 340,  380,  420, 2500, 3000, 3500, 2300, 2800, 3000, 420,  480,  540};
constexpr std::array<float, kBrakeRows> kBrakeDrag = {
    130, 139, 150,  305,  305, 310, 700, 800, 900, 162, 169,  176,  300, 308,
    315, 950, 1050, 1150, 187, 195, 205, 340, 370, 450, 1100, 1200, 1300};
constexpr std::array<float, 3> kBrakeWetLoss = {0.1f, 0.2f, 0.3f};
constexpr std::array<std::array<float, 3>, 3> kFirstRampTime = {
    {{0.2f, 0.4f, 0.6f}, {0.15f, 0.4f, 0.8f}, {0.15f, 0.2f, 0.4f}}};
constexpr std::array<std::array<float, 3>, 2> kFirstBrakeThreshold = {
    {{0.25f, 0.2f, 0.15f}, {0.3f, 0.2f, 0.1f}}};

constexpr size_t kCompounds = 11;
constexpr std::array<float, kCompounds> kWear = {5.0f, 7.69f, 11.83f, 18.02f, 28.0f, 1.26f,
                                                 2.5f, 5.55f, 0.76f,  1.35f,  2.91f};
constexpr std::array<float, kCompounds> kWetLoss = {0.4f,  0.41f, 0.42f, 0.43f, 0.44f, 0.25f,
                                                    0.26f, 0.27f, 0.12f, 0.14f, 0.16f};
constexpr std::array<float, kCompounds> kGripLoss = {0.0f,  0.01f, 0.02f, 0.03f, 0.04f, 0.02f,
                                                     0.04f, 0.06f, 0.04f, 0.06f, 0.08f};
// By weather: the first compound, the count; and the tyre radius by class.
constexpr std::array<std::array<uint32_t, 2>, 3> kWeatherCompounds = {{{0, 5}, {5, 3}, {8, 3}}};
constexpr std::array<std::array<float, kBikeClassCount>, 3> kTyreRadius = {
    {{0.3f, 0.311f, 0.32f}, {0.29f, 0.301f, 0.31f}, {0.285f, 0.296f, 0.305f}}};
constexpr std::array<float, kBikeClassCount> kWearScale = {1.0f, 0.52f, 0.37f};
constexpr std::array<float, kBikeClassCount> kBaseGrip = {1.34f, 1.4f, 1.42f};
constexpr std::array<float, kBikeClassCount> kPeakGrip = {1.54f, 1.62f, 1.66f};
constexpr uint8_t kAutomaticCompound = 100;
// Seconds of over-revving each gear takes per lap of the race, first gear to sixth.
constexpr std::array<float, BikeRecord::kGears> kGearReservePerLap = {15.0f, 20.0f, 25.0f,
                                                                      30.0f, 40.0f, 50.0f};
constexpr uint16_t kGearReserveLeastLaps = 3;

constexpr float kPitExitEngineTemperature = 60.0f;

uint32_t WeatherOfCompound(uint32_t compound)
{
    return compound < 5 ? 0 : (compound < 8 ? 1 : 2);
}
}  // namespace

void RaceAi::AssignAiParameters()
{
    RaceContext& race = *context_;
    const size_t bikeClass = std::min<size_t>(ToIndex(race.current.bikeClass), 2);
    const size_t difficulty = std::min<size_t>(race.current.difficulty, 2);
    for (uint32_t rider = 0; rider < std::min<uint32_t>(riderCount, kRiderCount); ++rider)
    {
        if (inRace[rider] == 0)
        {
            continue;
        }
        BikeRecord& bike = race.bikes[rider];
        BikeSetup& setup = bike.setup;
        size_t skill = 1;
        if (!(bike.raceStatus == race_status::kPitBox ||
              bike.raceStatus > race_status::kPlayerReleased))
        {
            setup.brakeCharacteristic = std::min<uint8_t>(setup.brakeCharacteristic, 2);
            skill = setup.brakeCharacteristic;
        }
        const size_t row = (bikeClass * 3 + difficulty) * 3 + skill;
        setup.frontBrakeFactor2 = setup.rearBrakeFactor2 = kSecondBrakeFactor[row];
        setup.frontBrakeDrag = setup.rearBrakeDrag = kBrakeDrag[row];
        setup.tuningValue3 = kBrakeWetLoss[skill];
        setup.tuningValue2 = kFirstRampTime[bikeClass][skill];
        setup.tuningValue1 = kFirstBrakeThreshold[bikeClass == 0 ? 0 : 1][skill];
    }
}

void RaceAi::FillGearReserves()
{
    const auto laps = static_cast<float>(std::max(totalLaps, kGearReserveLeastLaps));
    for (BikeRecord& bike : context_->bikes)
    {
        for (size_t gear = 0; gear < BikeRecord::kGears; ++gear)
        {
            bike.gearWear[gear] = kGearReservePerLap[gear] * laps;
        }
    }
}

void RaceAi::RetuneCurrentRider()
{
    if (currentBike == nullptr || currentRider >= kRiderCount)
    {
        return;
    }
    AssignBikeTuning(currentRider, currentRider + 1);
    AssignAiParameters();
    BikeRecord& bike = *currentBike;
    bike.engineTemperature = kPitExitEngineTemperature;
    bike.frontGripWear = bike.rearGripWear = 1.0f;
    bike.frontTyreWear = bike.rearTyreWear = 0.0f;
}

void RaceAi::AssignBikeTuning(uint32_t first, uint32_t last)
{
    RaceContext& race = *context_;
    const size_t bikeClass = std::min<size_t>(ToIndex(race.current.bikeClass), 2);
    const uint32_t weather = std::min<uint32_t>(ToIndex(race.current.weather), 2);
    const float wetness = race.current.trackWetness;
    const float air = race.current.conditions.airTemperature;
    const uint32_t difficulty = race.current.difficulty;
    const bool fixedHeat = difficulty >= 2 || race.current.gameMode == GameMode::GhostRace;

    constexpr std::array<float, 3> kAbrasionOffset = {0.0f, 4.0f, 8.0f};
    constexpr std::array<float, 3> kAbrasionScale = {1.0f, 0.21f, 0.114f};
    trackAbrasion = (air + kAbrasionOffset[weather]) / 35.0f * kAbrasionScale[weather];
    minimumTyreGrip = kPeakGrip[bikeClass] * (difficulty == 0 ? 0.8f : 0.9f) - wetness * 0.4f;

    const bool isRace = race.standings.Session().isRace;
    const float units = static_cast<float>(lapLengthUnits);
    const float n = isRace ? units : 4.0f;
    const float sessionScale =
        isRace ? units / static_cast<float>(std::max<uint16_t>(totalLaps, 1)) : units / 12.0f;
    const std::array<float, 2> targets = {speedScaleA * trackAbrasion * n,
                                          speedScaleB * trackAbrasion * n};

    const auto [firstCompound, compounds] = kWeatherCompounds[weather];
    std::array<uint32_t, 2> automatic = {firstCompound, firstCompound};
    if (difficulty < 2)
    {
        const float grip = gripFactor != 0.0f ? gripFactor : 1.0f;
        for (size_t wheel = 0; wheel < 2; ++wheel)
        {
            float nearest = 3.0e38f;
            for (uint32_t c = firstCompound; c < firstCompound + compounds; ++c)
            {
                const float value = kWear[c] * 600000.0f / grip / kWearScale[bikeClass];
                if (std::fabs(value - targets[wheel]) < nearest)
                {
                    nearest = std::fabs(value - targets[wheel]);
                    automatic[wheel] = c;
                }
            }
        }
    }

    const float heatBase = fixedHeat ? kPeakGrip[bikeClass] : kBaseGrip[bikeClass];
    const float heating = fixedHeat ? 0.0f : kPeakGrip[bikeClass] - kBaseGrip[bikeClass];
    for (uint32_t rider = first; rider < std::min<uint32_t>(last, kRiderCount); ++rider)
    {
        BikeRecord& bike = race.bikes[rider];
        BikeSetup& setup = bike.setup;
        const uint32_t status = bike.raceStatus;
        if (status == race_status::kPitBox ||
            (status > race_status::kPlayerReleased && status != race_status::kLeavingPits))
        {
            setup.frontTyre = setup.rearTyre = kAutomaticCompound;
        }
        const std::array<uint8_t*, 2> compound = {&setup.frontTyre, &setup.rearTyre};
        const std::array<float*, 2> radius = {&setup.frontTyreRadius, &setup.rearTyreRadius};
        const std::array<float*, 2> wearRate = {&bike.frontWearRate, &bike.rearWearRate};
        const std::array<float*, 2> base = {&bike.frontTyreHeatBase, &bike.rearTyreHeatBase};
        const std::array<float*, 2> factor = {&bike.frontHeatingFactor, &bike.rearHeatingFactor};
        for (size_t wheel = 0; wheel < 2; ++wheel)
        {
            if (*compound[wheel] >= kCompounds)
            {
                *compound[wheel] = static_cast<uint8_t>(automatic[wheel]);
            }
            const uint32_t c = *compound[wheel];
            *radius[wheel] = kTyreRadius[WeatherOfCompound(c)][bikeClass];
            *wearRate[wheel] =
                kWearScale[bikeClass] / (kWear[c] * 400000.0f) * (gripFactor * sessionScale);
            *base[wheel] = heatBase - (kGripLoss[c] + kWetLoss[c] * wetness);
            *factor[wheel] = heating;
        }
        bike.frontTyreWear = 0.0f;
        bike.rearTyreWear = 0.0f;
        savedTyreHeatBases = {bike.frontTyreHeatBase, bike.rearTyreHeatBase};
    }
}

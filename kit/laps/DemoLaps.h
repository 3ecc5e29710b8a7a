#pragma once

// Laps ridden round a circuit for the demo installation and the tests: a ride along the
// circuit's line at a steady pace, as the player's bike would be each 40 ms step, and its lap
// file with every channel scaled as the lap file stores it.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "kit/laps/LapFileWriter.h"

namespace kit
{
// The player's bike at one step of a ride, in the bike record's own units.
struct RideState
{
    uint16_t node = 0;  // racing-line node
    float x = 0.0f;
    float z = 0.0f;
    float raceTime = 0.0f;  // s
    float heading = 0.0f;
    float speed = 0.0f;  // m/s
    float acceleration = 0.0f;
    float frontCompression = 0.0f;  // m
    float rearCompression = 0.0f;
    float tyreHeat = 0.0f;  // both tyres: heat, grip wear and the heat's base and factor
    float gripWear = 1.0f;
    float tyreHeatBase = 0.0f;
    float heatingFactor = 0.0f;
    float engineRpm = 0.0f;
    float enginePower = 0.0f;  // the engine curve at that rpm
    float engineTemperature = 0.0f;
    float throttle = 0.0f;  // 0..1
    float brake = 0.0f;
    float steer = 0.0f;  // -1..1
    int32_t gear = 1;
    std::array<float, LapSample::kPoseChannels> pose{};
};

// A point of the circuit's line: the node and where it lies.
struct LinePoint
{
    uint16_t node;
    float x;
    float z;
};

// One lap along the points (in riding order, the last leading back to the first), starting at
// the race time given, at about the speed given; a state per 40 ms step.
std::vector<RideState> RideLap(std::span<const LinePoint> line, float startTime,
                               float speedMetresPerSecond);

// The lap file of a ride, as the game records it.
LapFileContent LapOfRide(std::span<const RideState> ride, const LapHeader& header,
                         const LapTimes& times);
}  // namespace kit

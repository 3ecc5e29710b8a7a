#pragma once

// Values one rider's dynamics step hands from phase to phase; nothing here outlives the step.

#include <cstdint>

struct StepScratch
{
    float previousSpeed = 0.0f;
    float ds = 0.0f;             // metres this step
    float stepsPerMetre = 0.0f;  // 25 / v
    float effectiveBrake = 0.0f;
    float steerInput = 0.0f;
    uint32_t mainNode = 0;  // the rider's line node on the main line
    // Tyre forces: lateral before the friction circle, then after it.
    float frontLateralBefore = 0.0f, rearLateralBefore = 0.0f;
    float frontLateral = 0.0f, rearLateral = 0.0f;
    float frontSlip = 0.0f, rearSlip = 0.0f;
    float frontBrake = 0.0f, rearBrake = 0.0f;
    float drive = 0.0f;
    float lateralSum = 0.0f;
    float dragMultiplier = 1.0f;
    float steerLoadFactor = 1.0f;  // sqrt((0.7 tan steer)^2 + 1)
};

#pragma once

// The phases of one rider's dynamics step, in their order (DynamicsContext.h has the entry
// points). Each reads and writes the rider's record and the step's scratch values.

#include "race/dynamics/DynamicsContext.h"
#include "race/dynamics/StepScratch.h"

namespace dynamics
{
inline constexpr float kDt = 0.04f;
inline constexpr float kStepsPerSecond = 25.0f;
inline constexpr float kPi = 3.14159265358979f;
inline constexpr float kTwoPi = 6.28318530717959f;

// -pi..pi.
float WrapSigned(float angle);
// 0..2 pi.
float WrapPositive(float angle);

void ReadControls(DynamicsContext& context, uint32_t rider, BikeRecord& bike, StepScratch& step);
void Prepare(DynamicsContext& context, BikeRecord& bike, StepScratch& step);
void SteerAndGrip(DynamicsContext& context, BikeRecord& bike, StepScratch& step);
void RunEngine(DynamicsContext& context, uint32_t rider, BikeRecord& bike, StepScratch& step);
void ApplyFrictionCircle(DynamicsContext& context, BikeRecord& bike, StepScratch& step);
void Slipstream(DynamicsContext& context, uint32_t rider, BikeRecord& bike, StepScratch& step);
void MoveAlongCourse(DynamicsContext& context, BikeRecord& bike, StepScratch& step);
// Bumps, load transfer, suspension, wheelies and stoppies.
void RunChassis(DynamicsContext& context, uint32_t rider, BikeRecord& bike, StepScratch& step);
// Both wheels onto the ground, the lean detector and the tyres' heat and wear.
void TouchGround(DynamicsContext& context, uint32_t rider, BikeRecord& bike, StepScratch& step);
// Angles wrapped, the steer history, the visible channels and the skid marks.
void FinishStep(DynamicsContext& context, uint32_t rider, BikeRecord& bike, StepScratch& step);
}  // namespace dynamics

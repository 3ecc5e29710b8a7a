#pragma once

// A headless race for the simulation's tests and benchmarks: a flat field of ground meshed at
// a chosen density with grass along its edges, class-2 machines, the circuit's surface values,
// and riders either at the controls of a scripted input log or steering themselves round a
// fixed radius.

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "race/BikeRecord.h"
#include "race/InputRing.h"
#include "race/RaceSim.h"
#include "tests/race/ground/GridGround.h"

// Ground: width (x) by length (z) metres centred on the origin, in square cells; the outer
// 10 m are grass (surface 3), the rest asphalt (surface 4).
std::vector<kit::TrackTriangle> TestGround(float width, float length, float cellSize);

// The circuit's values for fine weather and the bump table, as the race loader sets them.
RaceParameters TestParameters();

// A class-2 machine at rest at (x, z) facing heading, on the ground.
void PrepareBike(BikeRecord& bike, uint32_t rider, float x, float z, float heading,
                 const GroundMesh& ground);

// One step's inputs.
InputFrame ScriptedInputs(uint32_t step);
using InputScript = InputFrame (*)(uint32_t step);

// A collision takes the rider out while fewer than a third of the field are out, as a
// race's drop-out schedule would.
class BudgetedCrashOut : public CrashOutCheck
{
public:
    void Reset(uint32_t riders) { left_ = riders / 3; }
    bool CheckCrashOut(uint32_t, uint32_t) override
    {
        if (left_ == 0)
        {
            return false;
        }
        --left_;
        return true;
    }

private:
    uint32_t left_ = 0;
};

// A whole race: records, the simulation, the input log and the clock.
class TestRace
{
public:
    static constexpr float kGroundWidth = 400.0f;
    static constexpr float kGroundLength = 2000.0f;

    // riders: rider 0 rides the script; the others circle on their own. With falls the
    // dynamics' crash detectors are on and contacts bring riders down (a third at most).
    TestRace(uint32_t riders, float cellSize = 10.0f, bool falls = false);

    // Rider 0 rides this script from the next Restart on.
    void SetInputScript(InputScript script) { script_ = script; }

    // Runs until the step count reaches steps, steps per call chosen by the batching.
    void RunTo(uint32_t steps, uint32_t stepsPerCall);
    // One Tick with the clock moved on by the given number of steps.
    void TickSteps(uint32_t steps);
    void Restart();

    RaceSim& Sim() { return *sim_; }
    std::array<BikeRecord, kRiderCount>& Bikes() { return bikes_; }
    uint32_t Riders() const { return riders_; }
    const GroundMesh& Ground() const { return ground_.Mesh(); }
    RaceClockWords& Clock() { return clock_; }

private:
    void PrepareRiders();

    uint32_t riders_;
    bool falls_;
    InputScript script_ = ScriptedInputs;
    BudgetedCrashOut crashOut_;
    BoundGround ground_;
    std::array<uint32_t, RaceSim::kRandomTableWords> randomTable_{};
    std::array<BikeRecord, kRiderCount> bikes_{};
    std::unique_ptr<InputRing> inputs_;
    std::unique_ptr<RaceSim> sim_;
    RaceClockWords clock_;
};

#pragma once

// A whole race without a window, for the tests and the benchmark: the demo circuit (or another
// generated shape), a field of computer riders with the demo installation's profiles and class
// machines, prepared and placed as the session start does it, a few seconds of start lights,
// then lap after lap until every rider has finished or is out. With falls and attrition on,
// the dynamics' crash detectors run and the race's drop-out schedule takes riders out; with
// engine failure on, engines break as the player's or the computer's riding makes them.

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "kit/race/CircuitGenerator.h"
#include "race/InputRing.h"
#include "race/RaceContext.h"
#include "race/RaceSim.h"

class BoundGround;

// A player's rider in the field: at the controls of the same inputs every step, steered and
// braked along the line by the riding aids, with or without the automatic gearbox.
struct HeadlessPlayer
{
    uint32_t rider = 0;
    bool automaticGearbox = true;
    InputFrame inputs{.throttleBrake = 127, .clutch = 127};
};

struct HeadlessRaceOptions
{
    uint32_t riders = 26;
    uint32_t laps = 5;
    bool fallsAndAttrition = false;
    bool engineFailure = false;
    float airTemperature = 20.0f;          // deg C
    std::optional<HeadlessPlayer> player;  // a field of computer riders without
    BikeClass bikeClass = BikeClass::Class500;
    uint32_t difficulty = 1;
    uint32_t randomSeed = 1;
    std::optional<kit::CircuitShape> shape;  // the demo circuit's without
};

class HeadlessRace
{
public:
    static constexpr uint32_t kStartLightSteps = 75;  // 3 s on the grid

    explicit HeadlessRace(const HeadlessRaceOptions& options);
    ~HeadlessRace();
    HeadlessRace(const HeadlessRace&) = delete;
    HeadlessRace& operator=(const HeadlessRace&) = delete;

    // Back to the grid for a new race in the same objects.
    void Restart();
    // One step; its checksum joins the race's.
    void Step();
    // Steps until every rider has finished or is out, or the step limit; true when finished.
    bool RunToEnd(uint32_t maxSteps);
    bool AllDone() const;
    // Riders with a final status other than a finish.
    uint32_t RidersOut() const;

    // The wrapping sum of every rider's state checksum, mixed step by step.
    uint64_t Checksum() const { return checksum_; }
    const std::vector<uint32_t>& StepChecksums() const { return stepChecksums_; }
    void KeepStepChecksums(bool keep) { keepStepChecksums_ = keep; }

    RaceContext& Race() { return *race_; }
    RaceSim& Sim() { return *sim_; }
    const RacingLine& Line() const { return race_->race; }
    const GroundMesh& Ground() const;
    uint32_t Riders() const { return options_.riders; }
    float RaceSeconds() const;

private:
    HeadlessRaceOptions options_;
    kit::GeneratedCircuit circuit_;
    std::unique_ptr<BoundGround> ground_;
    std::unique_ptr<RaceContext> race_;
    std::unique_ptr<RaceSim> sim_;
    InputRing playerInputs_;
    RaceClockWords clock_;
    uint64_t checksum_ = 0;
    bool keepStepChecksums_ = false;
    std::vector<uint32_t> stepChecksums_;
};

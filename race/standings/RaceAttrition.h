#pragma once

// How many riders leave a race, and how close the computer riders keep to the humans.
//
// The drop-out schedule is set from the weather and the field at each reset of the standings;
// as the leader crosses timing lines it asks the computer riders (through the incident
// requests) to bring riders down by crashes, technical failures and falls, and it decides
// whether a collision takes a rider out of the race. The pace adjustment sets each computer
// rider's working riding parameters (its profile's activeAngle, activeRange and pace) at every
// change of its progress, and at every section time outside races.
//
// Works on the standings' schedule counters and tables, the bike records and the rider
// profiles it is given; everything it reads is the same on every machine of a race. Main
// thread, inside the step.

#include <array>
#include <cstdint>
#include <span>

#include "race/collision/CollisionManager.h"
#include "race/standings/StandingsHooks.h"

struct BikeRecord;
struct RiderProfile;
class RaceAi;
class RaceStandings;

// The requests the schedule raises for the computer riders, who carry one out (counting it in
// the standings' failureCount or crashCount) and clear it.
struct IncidentRequests
{
    bool crash = false;
    bool technicalFailure = false;
    bool fall = false;
    bool backMarker = false;
    bool any = false;  // the incident switch
};

// What the crash-out asks of the racing line ahead: whether a hazard zone can be opened behind
// the rider, who then leaves the race.
class HazardZoneOpener
{
public:
    virtual ~HazardZoneOpener() = default;
    virtual bool OpenHazardZone(uint32_t rider) = 0;
};

// The weather and settings the schedule and the crash-out read.
struct AttritionSettings
{
    float trackWetness = 0.0f;     // 0 dry .. 1 wet
    float airTemperature = 20.0f;  // deg C
    bool humansCrashOut = false;   // the settings' switch: a collision can end a human's race
};

class RaceAttrition : public StandingsHooks, public CrashOutCheck
{
public:
    static constexpr float kNoGap = 70.0f;  // main-line nodes a human behind counts within

    // All the references outlive the attrition.
    RaceAttrition(RaceStandings& standings, RaceAi& race, std::span<BikeRecord> bikes,
                  std::span<RiderProfile> profiles, IncidentRequests& requests);

    void SetSettings(const AttritionSettings& settings) { settings_ = settings; }
    // The race's random table, read by the step number.
    void SetRandomTable(std::span<const uint32_t> table) { randomTable_ = table; }
    void SetStep(uint32_t step) { step_ = step; }
    // Null: every hazard zone asked for opens.
    void SetHazardZones(HazardZoneOpener* zones) { hazardZones_ = zones; }
    // Main-line nodes per line unit of the circuit: scales the pace thresholds.
    void SetNodeScale(float scale) { nodeScale_ = scale; }

    // StandingsHooks: the schedule at the reset, the strength ranks, the leader's crossings
    // and the pace at progress changes and section times.
    void SetUpAttrition() override;
    void RankStrengths() override;
    void UpdateAttrition() override;
    void AdjustPace(uint32_t rider, PaceAdjustment kind) override;
    // A place gained inside a hazard zone: the race object decides whether it is excused.
    void OnPositionGained(uint32_t rider, uint32_t passedRider) override;

    // Whether the collision takes rider out of the race (status -2); other is the rider it
    // touched.
    bool CheckCrashOut(uint32_t rider, uint32_t other) override;

    // Riders not in the race (never entered, or out with a final status).
    uint32_t RidersOut() const;
    float Progress() const;

private:
    struct Reference
    {
        int32_t rider = -1;
        int32_t position = 0;
    };

    uint32_t RandomWord() const;
    bool TakeOut(uint32_t rider);
    int32_t NearestHumanBehind(uint32_t rider) const;
    uint32_t MainLineCount() const;
    bool OnMainLine(const BikeRecord& bike) const;
    int32_t Position(uint32_t rider) const;

    void PacePractice(uint32_t rider);
    void PaceNormal(uint32_t rider);
    void PaceHard(uint32_t rider);
    Reference ChooseReference(uint32_t rider) const;
    void PaceAheadOfReference(uint32_t rider, const Reference& reference, float target,
                              float spread);

    RaceStandings& standings_;
    RaceAi& race_;
    std::span<BikeRecord> bikes_;
    std::span<RiderProfile> profiles_;
    IncidentRequests& requests_;
    AttritionSettings settings_;
    std::span<const uint32_t> randomTable_;
    uint32_t step_ = 0;
    HazardZoneOpener* hazardZones_ = nullptr;
    float nodeScale_ = 1.0f;
};

#pragma once

// What the standings ask of the parts around them while they time a step: the computer riders
// and the race object, the rider profiles, the attrition schedule and pace of the computer
// riders, and the camera. Every call has a do-nothing default. Called on the main thread from
// inside a step; an implementation must decide nothing from what differs between machines.

#include <cstdint>
#include <string_view>

enum class PaceAdjustment : uint8_t
{
    Normal,    // level 0
    Hard,      // level 2
    Practice,  // outside races
};

class StandingsHooks
{
public:
    virtual ~StandingsHooks() = default;

    // Computer riders and the race object.
    virtual void OnStartLine(uint32_t /*rider*/) {}
    virtual void OnPositionGained(uint32_t /*rider*/, uint32_t /*passedRider*/) {}
    virtual void SetRidersOut(uint32_t /*count*/) {}
    virtual void OnRiderFinished(uint32_t /*rider*/) {}
    // The race ends 20 s after this.
    virtual void OnPlayerFinished(float /*raceTime*/) {}
    virtual void CheckPitRule(uint32_t /*rider*/, uint32_t /*line*/) {}

    // Rider profiles: the parameters derived at a crossing, and the working parameters.
    virtual void DeriveParameters(uint32_t /*rider*/, int32_t /*maskedRaceMs*/, float /*lag*/) {}
    virtual void DeriveSecondParameters(uint32_t /*rider*/, int32_t /*crossingCount*/) {}
    virtual void DeriveThirdParameters(uint32_t /*rider*/, int32_t /*gapMs*/, int32_t /*behindMs*/)
    {
    }
    virtual void SetWorkingParameters(uint32_t /*rider*/, float /*second*/, float /*third*/) {}

    // Attrition schedule and pace of the computer riders.
    virtual void SetUpAttrition() {}
    virtual void RankStrengths() {}
    virtual void UpdateAttrition() {}
    virtual void AdjustPace(uint32_t /*rider*/, PaceAdjustment /*kind*/) {}

    // Camera.
    virtual void SetFinishView(uint32_t /*rider*/) {}
    virtual void SetTvView(uint32_t /*camera*/) {}

    // The rider's name as the race shows it, and its width in the podium's font (pixels).
    virtual std::string_view ShownName(uint32_t /*rider*/) const { return {}; }
    virtual int32_t NameWidth(std::string_view /*name*/) const { return 0; }
};

#pragma once

// The race tick's calls into lap recording, ghost playback and the standings: the player's lap
// sample each step, the ghost's playback, retirements and final statuses, and the standings'
// part of every rollback. Until the computer riders take the per-rider update over, it also
// times every rider there (the start-line and crossing checks) and ends the player's timed
// laps, which it writes as the session's lap files.
//
// Made by whoever assembles a race (the race loop, a headless test race) beside the RaceSim
// it serves; everything it is given outlives it. Main thread only.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "race/RaceServices.h"
#include "race/laps/LapRecord.h"
#include "race/standings/RaceStandings.h"

class RaceSim;
class RacingLine;

class TimingServices : public RaceServices
{
public:
    static constexpr size_t kRollbackSlots = 16;

    TimingServices(RaceSim& sim, RaceStandings& standings, LapRecord& recording,
                   std::span<BikeRecord> bikes, const RacingLine& line);
    ~TimingServices() override;

    void SetPlayerRider(uint32_t rider) { playerRider_ = rider; }
    void SetRiderCount(uint32_t riders) { riderCount_ = riders; }
    // The ghost of a ghost session, or null.
    void SetGhost(LapRecord* ghost);
    // The session the player's laps are stored under.
    void SetLapHeader(const LapHeader& header) { lapHeader_ = header; }

    void PlayGhost(BikeRecord& ghost) override;
    void AppendLapSample(const BikeRecord& player) override;
    void UpdateRiders() override;
    void RetireRider(uint32_t rider, bool showSmoke) override;
    void SetFinalStatus(uint32_t rider, int32_t status) override;
    void SaveRollbackState(size_t slot) override;
    void RestoreRollbackState(size_t slot) override;

private:
    // What the steps undone by a rollback changed of the lap records: counts and playback, the
    // samples beyond the count being written again.
    struct LapMarks
    {
        int32_t sampleCount = 0;
        uint32_t valid = 0;
        uint32_t lastStoredLap = 0;
        int32_t ghostAlpha = 0;
        int32_t ghostFade = 0;
        int32_t ghostPlayIndex = 0;
    };

    RaceSim& sim_;
    RaceStandings& standings_;
    LapRecord& recording_;
    std::span<BikeRecord> bikes_;
    const RacingLine& line_;
    LapRecord* ghost_ = nullptr;
    uint32_t playerRider_ = 0;
    uint32_t riderCount_ = 0;
    LapHeader lapHeader_{};
    std::unique_ptr<std::array<RaceStandings, kRollbackSlots>> rollback_;
    std::array<LapMarks, kRollbackSlots> lapMarks_{};
};

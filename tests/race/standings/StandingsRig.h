#pragma once

// A straight with the three timing lines across it, riders on it and the standings timing
// them. Line 0 lies at z = 0, line 1 at z = 100, line 2 at z = 200, each 20 m long; the riders
// ride towards +z. Crossings are made one line at a time: a rider is put just short of the
// line, as if it had been there all along, then just past it at the given race time.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "race/BikeRecord.h"
#include "race/RacingLine.h"
#include "race/laps/LapRecord.h"
#include "race/standings/RaceStandings.h"

// Records what the standings asked of the parts around them.
class RecordingHooks : public StandingsHooks
{
public:
    void OnPositionGained(uint32_t rider, uint32_t passed) override
    {
        gains.push_back({rider, passed});
    }
    void OnRiderFinished(uint32_t rider) override { finished.push_back(rider); }
    void OnPlayerFinished(float raceTime) override { playerFinishedAt = raceTime; }
    void SetFinishView(uint32_t rider) override { finishViews.push_back(rider); }
    void SetTvView(uint32_t camera) override { tvViews.push_back(camera); }
    std::string_view ShownName(uint32_t rider) const override { return names[rider]; }

    std::vector<std::array<uint32_t, 2>> gains;
    std::vector<uint32_t> finished;
    std::vector<uint32_t> finishViews;
    std::vector<uint32_t> tvViews;
    float playerFinishedAt = -1.0f;
    std::array<std::string, 26> names;
};

class StandingsRig
{
public:
    static constexpr float kLineZ[3] = {0.0f, 100.0f, 200.0f};
    static constexpr float kSpeed = 10.0f;  // m/s; 0.1 m past a line is 10 ms after it

    explicit StandingsRig(uint32_t riders);

    // Riders 0..n-1 on the grid in number order, all in the race.
    StandingsSession RaceSession(uint32_t laps) const;
    void Reset(const StandingsSession& session);

    // Just short of the line, its side remembered.
    void Place(uint32_t rider, uint32_t line, float x = 0.0f);
    // From just short of the line to `past` metres beyond it at the race time (ms) given, then
    // the crossing test; what it returned.
    uint32_t Cross(uint32_t rider, uint32_t line, int32_t raceMs, float past = 0.0f,
                   float x = 0.0f);
    // Across line 1, line 2 and line 0 in turn, 20 s apart from the time given.
    void RideLap(uint32_t rider, int32_t startMs);

    BikeRecord& Bike(uint32_t rider) { return bikes[rider]; }

    std::unique_ptr<std::array<BikeRecord, 26>> bikeStore;
    std::array<BikeRecord, 26>& bikes;
    std::unique_ptr<RacingLine> line;
    std::unique_ptr<LapRecord> recording;
    RecordingHooks hooks;
    std::unique_ptr<RaceStandings> standings;
    uint32_t riderCount;
};

#include "tests/race/standings/StandingsRig.h"

namespace
{
constexpr float kHalfLength = 10.0f;
constexpr uint16_t kMainLineNodes = 300;
}  // namespace

StandingsRig::StandingsRig(uint32_t riders)
    : bikeStore(std::make_unique<std::array<BikeRecord, 26>>()),
      bikes(*bikeStore),
      line(std::make_unique<RacingLine>()),
      recording(std::make_unique<LapRecord>()),
      standings(std::make_unique<RaceStandings>()),
      riderCount(riders)
{
    line->nodeCount = kMainLineNodes;
    line->pitLaneFirstNode = kMainLineNodes;
    line->pitLaneEndNode = kMainLineNodes;
    line->linkLimit = kMainLineNodes;
    for (uint16_t node = 0; node < kMainLineNodes; ++node)
    {
        line->nodes[node].sideLink0 = RacingLine::kNoNode;
        line->nodes[node].sideLink1 = RacingLine::kNoNode;
    }
    // The grid behind the line: slot 0 on it, slot p two nodes further back per place.
    line->startSlots.count = 27;
    for (size_t slot = 0; slot < 27; ++slot)
    {
        line->startSlots.node[slot] =
            static_cast<uint16_t>(slot == 0 ? 0 : kMainLineNodes - 2 * slot);
    }

    StandingsHeadRecord& head = standings->head;
    for (size_t k = 0; k < 3; ++k)
    {
        // Ends listed with decreasing x: a rider towards +z crosses forwards.
        head.lineX[k] = {kHalfLength, -kHalfLength};
        head.lineZ[k] = {kLineZ[k], kLineZ[k]};
        head.lineSlope[k] = 0.0f;
        head.lineOffset[k] = kLineZ[k];
    }
    recording->InitRecording();
    for (uint32_t rider = 0; rider < 26; ++rider)
    {
        bikes[rider] = BikeRecord{};
        bikes[rider].raceStatus = 9;
        bikes[rider].lapsStarted = 1;
        bikes[rider].speed = kSpeed;
        hooks.names[rider] = "Rider " + std::to_string(rider);
    }
    standings->Attach(bikes, *line, *recording);
    standings->SetHooks(&hooks);
}

StandingsSession StandingsRig::RaceSession(uint32_t laps) const
{
    StandingsSession session;
    session.isRace = true;
    session.laps = laps;
    session.riderCount = static_cast<uint16_t>(riderCount);
    session.playerRider = 25;
    session.viewedRider = 25;
    for (uint32_t rider = 0; rider < riderCount; ++rider)
    {
        session.inRace[rider] = 1;
        standings->gridOrder[rider] = static_cast<int32_t>(rider + 1);
    }
    return session;
}

void StandingsRig::Reset(const StandingsSession& session)
{
    standings->ResetForRace(session);
}

void StandingsRig::Place(uint32_t rider, uint32_t line, float x)
{
    BikeRecord& bike = bikes[rider];
    bike.positionX = x;
    bike.positionZ = kLineZ[line] - 1.0f;
    bike.heading = 0.0f;
    bike.aiFlags &= ~(ai_flags::kTimingSide0 * 7);
    for (uint32_t k = 0; k < 3; ++k)
    {
        if (bike.positionZ < kLineZ[k])
        {
            bike.aiFlags |= ai_flags::kTimingSide0 << k;
        }
    }
}

uint32_t StandingsRig::Cross(uint32_t rider, uint32_t line, int32_t raceMs, float past, float x)
{
    Place(rider, line, x);
    BikeRecord& bike = bikes[rider];
    bike.positionZ = kLineZ[line] + past;
    standings->Session().raceTime = static_cast<float>(raceMs) / 1000.0f;
    return standings->UpdateSectors(rider);
}

void StandingsRig::RideLap(uint32_t rider, int32_t startMs)
{
    Cross(rider, 1, startMs + 20000);
    Cross(rider, 2, startMs + 40000);
    Cross(rider, 0, startMs + 60000);
}

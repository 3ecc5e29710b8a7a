#include "tests/race/ai/AiRig.h"

#include <stdexcept>
#include <string>

#include "kit/race/CircuitGenerator.h"
#include "kit/race/ClassSetups.h"
#include "kit/race/DemoRace.h"
#include "kit/race/DemoRiders.h"
#include "race/SimMath.h"

AiRig::AiRig(uint32_t riders, BikeClass bikeClass, uint32_t difficulty)
    : race(std::make_unique<RaceContext>("ai-records.cpr")),
      sim(std::make_unique<RaceSim>()),
      riders(riders)
{
    std::string error;
    const std::optional<kit::GeneratedCircuit> circuit =
        kit::GenerateCircuit(kit::DemoCircuitShape(), bikeClass, error);
    if (!circuit)
    {
        throw std::runtime_error(error);
    }
    static_cast<RacingLine&>(race->race) = *circuit->line;
    race->standings.head = circuit->head;
    race->current.bikeClass = bikeClass;
    race->current.difficulty = difficulty;
    race->current.riderCount = riders;
    race->playerRider.store(kRiderCount);
    race->race.riderCount = static_cast<uint16_t>(riders);
    const std::vector<RiderProfile> profiles = kit::DemoRiderProfiles(bikeClass);
    StandingsSession session;
    session.laps = 5;
    session.riderCount = static_cast<uint16_t>(riders);
    session.playerRider = kRiderCount;
    for (uint32_t rider = 0; rider < riders; ++rider)
    {
        BikeRecord& bike = race->bikes[rider];
        bike.setup = kit::ClassStandardSetup(bikeClass);
        bike.raceStatus = 9;
        race->riderProfiles[rider].CopyFrom(profiles[rider], bikeClass);
        race->race.inRace[rider] = 1;
        race->standings.gridOrder[rider] = static_cast<int32_t>(rider + 1);
        session.inRace[rider] = 1;
    }
    race->standings.ResetForRace(session);
    race->race.PrepareRaceStart();
    race->race.PlaceRidersOnGrid();
    for (uint32_t rider = 0; rider < riders; ++rider)
    {
        race->bikes[rider].InitPhysics(static_cast<uint16_t>(rider), race->current);
    }
    sim->SetRace(race.get());
}

uint16_t AiRig::OpenNode() const
{
    return static_cast<uint16_t>(race->race.pitLaneFirstNode / 3);
}

void AiRig::PutOnNode(uint32_t rider, uint16_t node, float speed)
{
    BikeRecord& bike = race->bikes[rider];
    const RacingLineNode& n = race->race.nodes[node];
    bike.positionX = n.x;
    bike.positionZ = n.z;
    bike.heading = bike.course = n.heading;
    bike.speed = speed;
    bike.aiTargetNode = node;
    bike.aiLineNode = race->race.CanonicalNode(node);
    bike.aiSection = bike.aiAltSection = n.section;
    bike.velocity = {speed * sim::Sin(n.heading), 0.0f, speed * sim::Cos(n.heading)};
}

void AiRig::AddPitLane()
{
    RaceAi& ai = race->race;
    const uint16_t lap = ai.pitLaneFirstNode;
    for (uint16_t i = 0; i < lap; ++i)
    {
        ai.nodes[i].sideLink0 = RacingLine::kNoNode;
        ai.nodes[lap + i].sideLink1 = RacingLine::kNoNode;
    }
    ai.pitLaneEndNode = static_cast<uint16_t>(2 * lap);
    ai.timingNodes[0] = OpenNode();
    StartSlots& slots = ai.startSlots;
    slots.firstPracticeSlot = slots.count;
    for (uint32_t rider = 0; rider < riders; ++rider)
    {
        const uint16_t node = PitBox(rider);
        slots.node[slots.count] = node;
        slots.x[slots.count] = ai.nodes[node].x;
        slots.z[slots.count] = ai.nodes[node].z;
        ++slots.count;
    }
}

uint16_t AiRig::PitBox(uint32_t rider) const
{
    return static_cast<uint16_t>(race->race.pitLaneFirstNode + kFirstBox + kBoxSpacing * rider);
}

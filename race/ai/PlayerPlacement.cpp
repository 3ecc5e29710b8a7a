// The player's rider taken over and placed: on the line behind the start, in its pit box, or
// back on the line after a fall.

#include <algorithm>

#include "race/RaceServices.h"
#include "race/SimMath.h"
#include "race/ai/RiderStep.h"

namespace
{
constexpr float kBehindStartUnits = 350.0f;
constexpr float kUnitsPerRider = 3.0f;

// Standing still on the node at (x, z), facing along heading, in first gear with the clutch
// out; the node is its target, section and main-line node.
void StandOnNode(RaceAi& ai, BikeRecord& bike, uint16_t node, float x, float z, float heading)
{
    bike.positionX = x;
    bike.positionZ = z;
    bike.heading = bike.course = heading;
    const float s = sim::Sin(heading);
    const float c = sim::Cos(heading);
    bike.frontContactX = x + s * bike.frontContactOffset;
    bike.frontContactZ = z + c * bike.frontContactOffset;
    bike.rearContactX = x + s * bike.rearContactOffset;
    bike.rearContactZ = z + c * bike.rearContactOffset;
    bike.speed = 0.01f;
    bike.kineticEnergy = 0.0f;
    bike.velocity = {0.0f, 0.0f, 0.0f};
    bike.steer = 0.0f;
    bike.clutch = 0.0f;
    bike.gear = 1;
    bike.aiTargetNode = node;
    bike.aiSection = ai.nodes[node].section;
    bike.aiAltSection = node;
    bike.aiLineNode = ai.CanonicalNode(node);
    bike.aiNextNode = BikeRecord::kNoNode;
}

// The end of the chain of side links from node (node itself without one), and its length.
std::pair<uint16_t, uint32_t> ChainEnd(const RaceAi& ai, uint16_t node,
                                       uint16_t RacingLineNode::*link)
{
    uint32_t length = 0;
    while (length < RacingLine::kMaxNodes && ai.nodes[node].*link < ai.linkLimit)
    {
        node = ai.nodes[node].*link;
        ++length;
    }
    return {node, length};
}

uint32_t RidersInRace(const RaceAi& ai)
{
    return static_cast<uint32_t>(std::count_if(
        ai.inRace.begin(), ai.inRace.begin() + std::min<size_t>(ai.riderCount, kRiderCount),
        [](uint32_t in) { return in != 0; }));
}
}  // namespace

void RaceAi::ViewStretchOf(uint32_t rider)
{
    const uint32_t node = CanonicalNode(static_cast<uint16_t>(context_->bikes[rider].aiLineNode));
    if (services == nullptr || node >= kTvCameraNodes)
    {
        return;
    }
    const uint32_t camera = tvCameraByNode[node];
    if (camera < tvCameraCount)
    {
        services->SetTvView(camera);
    }
}

void RaceAi::SelectRider(bool toTrack)
{
    RaceContext& race = *context_;
    const uint32_t player = race.playerRider.load(std::memory_order_relaxed);
    if (player >= kRiderCount)
    {
        return;
    }
    currentRider = player;
    currentBike = &race.bikes[player];
    race.lapRecord.Reset();
    if (ghostRecord != nullptr && ghostTag != kNoGhost)
    {
        ghostRecord->RestartGhost(false);
    }
    AssignAiParameters();
    if (startGridMode != 0 && toTrack)
    {
        MovePlayerToTrack();
    }
    else
    {
        MovePlayerToPitBox();
    }
    // The next crossing of the start line starts the same lap again.
    BikeRecord& bike = race.bikes[player];
    const size_t lap = std::min<size_t>(bike.lapsStarted, RaceStandings::kLapSlots - 1);
    for (auto& row : race.standings.splitMs[player])
    {
        row[lap] = -1;
    }
    bike.timedLap = bike.lapsStarted > 0 ? bike.lapsStarted - 1u : 0u;
    if (!race.standings.Session().isRace)
    {
        ViewStretchOf(player);
    }
}

void RaceAi::MovePlayerToTrack()
{
    RaceContext& race = *context_;
    const uint32_t player = race.playerRider.load(std::memory_order_relaxed);
    if (player >= kRiderCount || startSlots.count == 0 || startSlots.node[0] >= nodeCount)
    {
        return;
    }
    BikeRecord& bike = race.bikes[player];
    AssignBikeTuning(player, player + 1);
    AssignAiParameters();
    // Behind the start, each rider at its own distance, out at the edge of the lanes.
    uint16_t node = CanonicalNode(startSlots.node[0]);
    float walked = 0.0f;
    const float behind = kBehindStartUnits + kUnitsPerRider * static_cast<float>(player);
    for (uint32_t i = 0; i < kMaxNodes && walked < behind && nodes[node].previous < nodeCount; ++i)
    {
        node = nodes[node].previous;
        walked += 1.0f + static_cast<float>(nodes[node].stepLength);
    }
    const auto ends0 = ChainEnd(*this, node, &RacingLineNode::sideLink0);
    const auto ends1 = ChainEnd(*this, node, &RacingLineNode::sideLink1);
    const auto narrow = [&](uint16_t link)
    { return link < nodeCount && nodes[link].runAhead == 0; };
    uint16_t lane = ends0.second <= ends1.second ? ends0.first : ends1.first;
    if (narrow(nodes[node].sideLink0))
    {
        lane = ends1.first;
    }
    else if (narrow(nodes[node].sideLink1))
    {
        lane = ends0.first;
    }
    const RacingLineNode& at = nodes[lane];
    StandOnNode(*this, bike, lane, at.x, at.z, at.heading);
    bike.raceStatus = race_status::kPlayerReleased;
}

void RaceAi::MovePlayerToPitBox()
{
    RaceContext& race = *context_;
    const uint32_t player = race.playerRider.load(std::memory_order_relaxed);
    const uint32_t slots = std::min<uint32_t>(startSlots.count, StartSlots::kMaxSlots);
    if (player >= kRiderCount || slots == 0)
    {
        return;
    }
    BikeRecord& bike = race.bikes[player];
    const uint32_t slot = std::min<uint32_t>(startSlots.firstPracticeSlot + player, slots - 1);
    const uint16_t box = startSlots.node[slot];
    if (box >= nodeCount)
    {
        return;
    }
    if (bike.aiPitSlot < kPitCrews)
    {
        pitCrewBusy[bike.aiPitSlot] = 0;
        if (services != nullptr)
        {
            services->StopPitCrew(bike.aiPitSlot);
        }
    }
    bike.aiPitSlot = BikeRecord::kNoPitSlot;
    const uint16_t ahead = nodes[box].next < nodeCount ? nodes[box].next : box;
    const float heading = ahead != box
                              ? sim::WrapAngle(sim::Atan2(nodes[ahead].x - startSlots.x[slot],
                                                          nodes[ahead].z - startSlots.z[slot]))
                              : nodes[box].heading;
    StandOnNode(*this, bike, box, startSlots.x[slot], startSlots.z[slot], heading);
    bike.raceStatus = race_status::kFirstPitBox;
    bike.aiFlags |= ai_flags::kPitCrewClaimed;  // ready to leave
    bike.pitRequest = 1;
}

void RaceAi::PutRiderBackOnLine(uint32_t rider)
{
    if (rider >= kRiderCount || context_->bikes[rider].aiTargetNode >= nodeCount)
    {
        return;
    }
    RaceContext& race = *context_;
    BikeRecord& bike = race.bikes[rider];
    const auto distanceSq = [&](uint16_t node)
    {
        const float dx = nodes[node].x - bike.positionX;
        const float dz = nodes[node].z - bike.positionZ;
        return dx * dx + dz * dz;
    };
    const auto target = static_cast<uint16_t>(bike.aiTargetNode);
    const uint16_t end0 = ChainEnd(*this, target, &RacingLineNode::sideLink0).first;
    const uint16_t end1 = ChainEnd(*this, target, &RacingLineNode::sideLink1).first;
    const uint16_t node = distanceSq(end0) <= distanceSq(end1) ? end0 : end1;
    const RacingLineNode& n = nodes[node];
    const uint32_t section = bike.aiSection;
    StandOnNode(*this, bike, node, n.x, n.z, n.heading);
    bike.aiSection = section;
    RaceStandings& standings = race.standings;
    if (standings.sessionRanks[rider] >= 0)
    {
        bike.raceStatus = race_status::kFinished;
    }
    else
    {
        bike.raceStatus = race_status::kPlayer;
        standings.sessionRanks[rider] = session_rank::kRacing;
    }
    standings.ridersInRace = static_cast<uint16_t>(RidersInRace(*this));
}

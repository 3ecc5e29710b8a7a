#pragma once

// A race object on the demo circuit's racing line (a main lap with a passing lane either side
// and no pit lane) with a field of computer riders on the grid, for the computer-rider rules
// that need no step of the dynamics.

#include <cstdint>
#include <memory>

#include "race/RaceContext.h"
#include "race/RaceSim.h"

class AiRig
{
public:
    // riders at status 9 in the race, grid order by rider number, class and difficulty given.
    explicit AiRig(uint32_t riders, BikeClass bikeClass = BikeClass::Class500,
                   uint32_t difficulty = 1);

    BikeRecord& Bike(uint32_t rider) { return race->bikes[rider]; }
    RaceAi& Ai() { return race->race; }
    // A main-line node a third of the way round, well away from the timing lines.
    uint16_t OpenNode() const;
    // Turns the side-0 lane into a pit lane of its own (no side links to the main line) with
    // a pit box per rider from kFirstBox on, kBoxSpacing nodes apart; timing line 0 at the
    // open node is the way in.
    static constexpr uint16_t kFirstBox = 60;
    static constexpr uint16_t kBoxSpacing = 3;
    void AddPitLane();
    uint16_t PitBox(uint32_t rider) const;
    // Puts the rider on a node of the line, facing along it at the speed.
    void PutOnNode(uint32_t rider, uint16_t node, float speed);

    std::unique_ptr<RaceContext> race;
    std::unique_ptr<RaceSim> sim;
    uint32_t riders;
};

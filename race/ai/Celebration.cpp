// A finished rider up front celebrates once its line runs straight ahead.

#include <cmath>

#include "race/RaceServices.h"
#include "race/SimMath.h"
#include "race/ai/RiderStep.h"

namespace rider_control
{
namespace
{
constexpr int32_t kLastCelebratingPlace = 15;
constexpr float kStraightTurn = 0.034906586f;  // 2 degrees between neighbouring nodes
constexpr uint32_t kFirstCheckNodes = 10;
constexpr float kCheckSpacingUnits = 50.0f;
constexpr int kFurtherChecks = 3;

bool TurnsAt(const RiderStep& step, uint32_t node)
{
    const uint32_t next = step.Node(node).next;
    if (!step.IsNode(next))
    {
        return true;
    }
    return std::fabs(sim::WrapSigned(step.Node(next).heading - step.Node(node).heading)) >=
           kStraightTurn;
}

bool LineRunsStraight(const RiderStep& step)
{
    uint32_t node = step.bike.aiTargetNode;
    for (uint32_t i = 0; i < kFirstCheckNodes && step.IsNode(step.Node(node).next); ++i)
    {
        node = step.Node(node).next;
    }
    if (TurnsAt(step, node))
    {
        return false;
    }
    for (int check = 0; check < kFurtherChecks; ++check)
    {
        float walked = 0.0f;
        while (walked < kCheckSpacingUnits && step.IsNode(step.Node(node).next))
        {
            walked += 1.0f + static_cast<float>(step.Node(node).stepLength);
            node = step.Node(node).next;
        }
        if (TurnsAt(step, node))
        {
            return false;
        }
    }
    return true;
}
}  // namespace

void TryCelebration(RiderStep& step)
{
    BikeRecord& bike = step.bike;
    RaceAi& ai = step.ai;
    if (!step.IsRace() || bike.IsDown())
    {
        return;
    }
    const int32_t place = step.race.standings.gridOrder[step.rider];
    uint8_t& left = ai.celebrationsLeft[step.rider];
    if (place < 1 || place > kLastCelebratingPlace || (place != 1 && place > left) ||
        bike.brake >= 0.2f || std::fabs(bike.steer) >= 0.2f || !LineRunsStraight(step))
    {
        return;
    }
    ai.services->StartCelebration(step.rider,
                                  (static_cast<uint32_t>(place) + bike.aiTargetNode) & 3u);
    if (left > 0)
    {
        --left;
    }
}
}  // namespace rider_control

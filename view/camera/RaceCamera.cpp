#include "view/camera/RaceCamera.h"

#include "app/settings/MenuState.h"
#include "core/world/WorldObject.h"
#include "race/RaceContext.h"

RaceCamera g_raceCamera(g_raceContext, g_menuState);

namespace
{
constexpr uint16_t kHiddenPart = object_flags::kNoOwnPolygons;

void Show(WorldObject* node, bool show)
{
    if (node != nullptr)
    {
        node->flags = show ? node->flags & ~kHiddenPart : node->flags | kHiddenPart;
    }
}
}  // namespace

RaceCamera::RaceCamera(RaceContext& race, MenuState& settings) : race_(race), settings_(settings) {}

BikeRecord& RaceCamera::Viewed() const
{
    return race_.bikes[race_.current.viewedRider % kRiderCount];
}

WorldObject* RaceCamera::MainObject(const BikeRecord& bike) const
{
    return bike.links.bikeRoot.get();
}

Vector3 RaceCamera::BikePosition(const BikeRecord& bike) const
{
    if (const WorldObject* main = MainObject(bike))
    {
        return main->placement;
    }
    return {bike.positionX, 0.0f, bike.positionZ};
}

void RaceCamera::SetBikeObjects(const BikeRecord& bike, bool onBoard) const
{
    Show(bike.links.bikeBody.get(), !onBoard);
    Show(bike.links.seat.get(), !onBoard);
    Show(bike.links.furtherBikeNodes[0].get(), onBoard);  // the cockpit and its needle
    Show(bike.links.furtherBikeNodes[2].get(), onBoard);
}

void RaceCamera::SetFigure(const BikeRecord& bike, bool show) const
{
    const RiderObjectLinks& links = bike.links;
    for (const auto* link : {&links.hip, &links.torso, &links.helmet})
    {
        Show(link->get(), show);
    }
    for (const auto* pair :
         {&links.upperArms, &links.lowerArms, &links.hands, &links.thighs, &links.lowerLegs})
    {
        Show((*pair)[0].get(), show);
        Show((*pair)[1].get(), show);
    }
}

void RaceCamera::ShowViewedRiderFigure(bool show)
{
    SetFigure(Viewed(), show);
}

void RaceCamera::RiderPicturesChanged() const
{
    if (riderPicturesHook_)
    {
        riderPicturesHook_();
    }
}

void RaceCamera::SetViewedRider(uint32_t rider)
{
    if (rider >= kRiderCount)
    {
        return;
    }
    if (mode == CameraMode::CameraOnBoard)
    {
        const BikeRecord& current = Viewed();
        SetFigure(current, true);
        SetBikeObjects(current, false);
        const BikeRecord& next = race_.bikes[rider];
        SetFigure(next, false);
        SetBikeObjects(next, true);
    }
    race_.current.viewedRider = rider;
}

bool RaceCamera::IsViewable(int32_t rider) const
{
    if (rider < 0 || static_cast<uint32_t>(rider) >= (race_.race.riderCount & 0xFFFFu) ||
        static_cast<uint32_t>(rider) >= kRiderCount)
    {
        return false;
    }
    const BikeRecord& bike = race_.bikes[static_cast<size_t>(rider)];
    return static_cast<int32_t>(bike.flags) >= 0 &&
           race_.race.inRace[static_cast<size_t>(rider)] != 0 &&
           bike.aiLineNode < race_.race.nodeCount;
}

void RaceCamera::StepTo(uint32_t rider)
{
    SetViewedRider(rider);
    yawOffset = 0.0f;
    heading = Viewed().course;
}

void RaceCamera::ViewNextRider()
{
    RiderPicturesChanged();
    const auto& standings = race_.standings;
    const int32_t place = standings.gridOrder[race_.current.viewedRider % kRiderCount];
    // An unplaced rider has no neighbours to step to.
    if (place < 1)
    {
        return;
    }
    for (size_t index = static_cast<size_t>(place); index < standings.positionTable.size(); ++index)
    {
        const int32_t rider = standings.positionTable[index];
        if (IsViewable(rider))
        {
            StepTo(static_cast<uint32_t>(rider));
            return;
        }
    }
}

void RaceCamera::ViewPreviousRider()
{
    RiderPicturesChanged();
    const auto& standings = race_.standings;
    const int32_t place = standings.gridOrder[race_.current.viewedRider % kRiderCount];
    if (place < 1 || static_cast<size_t>(place) > standings.positionTable.size())
    {
        return;
    }
    for (size_t index = static_cast<size_t>(place) - 1; index-- > 0;)
    {
        const int32_t rider = standings.positionTable[index];
        if (IsViewable(rider))
        {
            StepTo(static_cast<uint32_t>(rider));
            return;
        }
    }
}

void RaceCamera::ViewLeader()
{
    RiderPicturesChanged();
    const int32_t rider = race_.standings.positionTable[0];
    if (IsViewable(rider))
    {
        StepTo(static_cast<uint32_t>(rider));
    }
}

void RaceCamera::ViewLastRider()
{
    RiderPicturesChanged();
    const auto& table = race_.standings.positionTable;
    for (size_t index = table.size(); index-- > 0;)
    {
        if (IsViewable(table[index]))
        {
            StepTo(static_cast<uint32_t>(table[index]));
            return;
        }
    }
}

void RaceCamera::ViewPlayerRider()
{
    RiderPicturesChanged();
    StepTo(race_.playerRider.load(std::memory_order_relaxed) % kRiderCount);
}

void RaceCamera::PickTvRider()
{
    if (!timerExpired || !tvAutoSwitch || mode != CameraMode::CameraTv)
    {
        return;
    }
    const RaceAi& line = race_.race;
    const uint32_t riders = std::min<uint32_t>(line.riderCount, kRiderCount);
    int32_t fastest = -1;
    int32_t ordinary = -1;
    float fastestSpeed = -1.0f;
    for (uint32_t rider = riders; rider-- > 0;)
    {
        const BikeRecord& bike = race_.bikes[rider];
        const uint32_t node = bike.aiLineNode;
        if (line.inRace[rider] == 0 || node >= line.nodeCount ||
            node >= line.tvCameraByNode.size() || rider == race_.current.viewedRider)
        {
            continue;
        }
        const uint8_t camera = line.tvCameraByNode[node];
        if (camera == tvCamera || camera >= line.tvCameraCount)
        {
            continue;
        }
        const uint8_t tvClass = node < line.aidZoneByNode.size()
                                    ? line.aidZoneByNode[node] & RacingLine::kTvClassMask
                                    : 0;
        if (tvClass == 0x80 && bike.speed > fastestSpeed)
        {
            fastest = static_cast<int32_t>(rider);
            fastestSpeed = bike.speed;
        }
        else if (tvClass == 0 && ordinary < 0)
        {
            ordinary = static_cast<int32_t>(rider);
        }
    }
    const int32_t chosen = fastest >= 0 ? fastest : ordinary;
    if (chosen >= 0)
    {
        race_.current.viewedRider = static_cast<uint32_t>(chosen);
    }
}

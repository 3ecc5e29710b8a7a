// The field of a race load: the class's five bike templates and livery pictures, then each
// rider's machine, figure and paint built from clones of them and set on the ground.

#include <algorithm>
#include <optional>

#include "app/device/RenderDevice.h"
#include "app/game/RiderLiveries.h"
#include "content/Figures.h"
#include "content/GroundPass.h"
#include "content/LoadSession.h"
#include "core/world/SceneLinks.h"
#include "core/world/WorldObject.h"
#include "race/RaceContext.h"

namespace content
{
namespace
{
constexpr float kSmallRadius = 2.0f;
constexpr float kPartRadius = 4.0f;
constexpr double kRiderModelRange = 1000.0;
constexpr uint32_t kFigureObjectBase = 256;

// A rider's nodes as the step builds them.
struct RiderNodes
{
    WorldObject* shadow = nullptr;
    WorldObject* carrier = nullptr;
    WorldObject* frame = nullptr;
    WorldObject* cockpit = nullptr;
    WorldObject* needle = nullptr;
    WorldObject* body = nullptr;
    WorldObject* rearWheel = nullptr;
    WorldObject* frontSpray = nullptr;
    WorldObject* rearSpray = nullptr;
    WorldObject* secondRearSpray = nullptr;
    WorldObject* frontWheel = nullptr;
    FigureNodes figure{};
};

WorldObject* AttachClone(LoadSession& session, const WorldObject* source, WorldObject* parent,
                         float radius)
{
    WorldObject* clone = source != nullptr ? session.Clone(*source) : nullptr;
    return session.device.AttachObject(clone, parent, 0.0f, 0.0f, 0.0f, kAttachChild, radius);
}

WorldObject* AttachModel(LoadSession& session, std::string_view name, uint32_t objectNumber,
                         WorldObject* parent, int32_t list, float radius)
{
    WorldObject* node =
        parent != nullptr ? session.LoadModel(name, objectNumber, kRiderModelRange) : nullptr;
    return session.device.AttachObject(node, parent, 0.0f, 0.0f, 0.0f, list, radius);
}

// Shadow, carrier, frame and the machine's parts below them.
bool BuildMachine(LoadSession& session, uint32_t rider, const BikeTemplate& machine,
                  RiderNodes& nodes)
{
    RenderDevice& device = session.device;
    nodes.shadow = AttachModel(session, kShadowModel, 128 + rider, session.scene.movingGroup,
                               kAttachSubObject, kSmallRadius);
    if (nodes.shadow == nullptr)
    {
        return false;
    }
    nodes.shadow->flags |= 0x8;
    nodes.shadow->flags |= 0x24;
    nodes.carrier =
        device.AttachNewObject(nodes.shadow, 0.0f, 0.013f, 0.0f, kAttachSubObject, kSmallRadius);
    nodes.frame =
        device.AttachNewObject(nodes.carrier, 0.0f, 0.0f, 0.0f, kAttachChild, kSmallRadius);
    if (nodes.frame == nullptr)
    {
        return false;
    }
    nodes.carrier->flags |= 0x20;
    nodes.carrier->ownRadius = kSmallRadius;
    nodes.frame->flags |= 0x24;
    device.SetCollisionObject(nodes.frame, machine.collisionBody);
    nodes.frame->ownRadius = kSmallRadius;

    nodes.cockpit = AttachClone(session, machine.cockpit, nodes.frame, kSmallRadius);
    nodes.needle = AttachModel(session, kNeedleModel, kTemplateObjectNumber, nodes.cockpit,
                               kAttachSubObject, kPartRadius);
    if (nodes.needle == nullptr)
    {
        return false;
    }
    nodes.cockpit->flags |= 0x84;
    nodes.cockpit->flags |= 0x200;
    nodes.needle->flags |= 0x84;
    nodes.needle->flags |= 0x100;
    nodes.body = AttachClone(session, machine.body, nodes.frame, kPartRadius);
    nodes.rearWheel = AttachClone(session, machine.rearWheel, nodes.frame, kPartRadius);
    if (nodes.body == nullptr || nodes.rearWheel == nullptr)
    {
        return false;
    }
    for (WorldObject* part : {nodes.body, nodes.rearWheel})
    {
        part->flags |= 0x4;
        part->flags |= 0x8010;
    }
    nodes.rearWheel->userValue = 5000 + rider;
    nodes.frontSpray = AttachModel(session, kFrontSprayModel, 160 + rider, nodes.shadow,
                                   kAttachSubObject, kSmallRadius);
    nodes.rearSpray = AttachModel(session, kRearSprayModel, 192 + rider, nodes.shadow,
                                  kAttachSubObject, kSmallRadius);
    nodes.secondRearSpray = AttachModel(session, kSecondRearSprayModel, 224 + rider, nodes.frame,
                                        kAttachChild, kSmallRadius);
    nodes.frontWheel = AttachClone(session, machine.frontWheel, nodes.frame, kPartRadius);
    if (nodes.frontSpray == nullptr || nodes.rearSpray == nullptr ||
        nodes.secondRearSpray == nullptr || nodes.frontWheel == nullptr)
    {
        return false;
    }
    for (WorldObject* spray : {nodes.frontSpray, nodes.rearSpray, nodes.secondRearSpray})
    {
        spray->flags |= 0x4;
        spray->flags |= 0x8018;
        // The chain draws them with the rider whatever their place in the tree: they stay
        // hidden until the race shows the dust or spray that the ground and weather call for.
        spray->flags |= object_flags::kNoOwnPolygons;
    }
    nodes.frontWheel->flags |= 0x4;
    nodes.frontWheel->flags |= 0x8010;
    return true;
}

// The figure source's parts from their files, with every further level.
bool LoadFigure(LoadSession& session, uint32_t rider, FigureNodes& figure)
{
    for (const FigureJoint& joint : FigureJoints())
    {
        const ModelLevel level = FigureFirstLevel(joint.part, session.detail);
        figure[joint.part] = session.LoadModel(
            level.name, kFigureObjectBase + 16 * rider + joint.part, level.distance);
        if (figure[joint.part] == nullptr)
        {
            return false;
        }
        figure[joint.part]->flags = 0x4;
    }
    for (const FigurePart part : FigureFurtherLevelOrder())
    {
        for (const ModelLevel& level : FigureFurtherLevels(part, session.detail))
        {
            session.AddLevel(*figure[part], level);
        }
    }
    return true;
}

bool BuildFigure(LoadSession& session, uint32_t rider, const FigureNodes* source, RiderNodes& nodes)
{
    if (source == nullptr)
    {
        if (!LoadFigure(session, rider, nodes.figure))
        {
            return false;
        }
    }
    else
    {
        if (!CloneFigure(session, *source, nodes.figure))
        {
            return false;
        }
        for (WorldObject* part : nodes.figure)
        {
            part->flags = part == nodes.figure[kHip] ? 0x24 : 0x4;
        }
    }
    AttachFigure(session, nodes.figure, nodes.body);
    for (WorldObject* part : nodes.figure)
    {
        part->flags |= 0x8000;
    }
    return true;
}

void LinkChain(const RiderNodes& nodes)
{
    WorldObject* const chain[] = {nodes.figure[kRightShin], nodes.body,       nodes.frontWheel,
                                  nodes.rearWheel,          nodes.frontSpray, nodes.rearSpray,
                                  nodes.secondRearSpray};
    for (size_t index = 0; index + 1 < std::size(chain); ++index)
    {
        chain[index]->followOn.set(chain[index + 1]);
        chain[index]->ownRadius = 4.0f;
    }
}

void PaintRider(const RiderNodes& nodes, const LiveryNumbers& livery)
{
    const auto paint = [&](WorldObject* node, PaintedNode painted)
    { LoadSession::Paint(*node, LiveryTextureList(painted, livery)); };
    const FigureNodes& figure = nodes.figure;
    paint(figure[kHelmet], PaintedNode::Helmet);
    paint(figure[kHip], PaintedNode::Hip);
    paint(figure[kTorso], PaintedNode::Torso);
    for (const FigurePart limb :
         {kLeftUpperArm, kRightUpperArm, kLeftForearm, kRightForearm, kLeftHand, kRightHand})
    {
        paint(figure[limb], PaintedNode::Limb);
    }
    paint(figure[kLeftThigh], PaintedNode::Thigh);
    paint(figure[kRightThigh], PaintedNode::Thigh);
    paint(figure[kLeftShin], PaintedNode::Shin);
    paint(figure[kRightShin], PaintedNode::Shin);
    paint(nodes.rearWheel, PaintedNode::RearWheel);
    paint(nodes.body, PaintedNode::Body);
    paint(nodes.frontWheel, PaintedNode::FrontWheel);
    paint(nodes.cockpit, PaintedNode::Cockpit);
}

void LinkRecord(BikeRecord& bike, const RiderNodes& nodes)
{
    RiderObjectLinks& links = bike.links;
    const FigureNodes& figure = nodes.figure;
    links.bikeRoot.set(nodes.shadow);
    links.bikePart.set(nodes.carrier);
    links.bikeBody.set(nodes.frame);
    links.bike.set(nodes.rearWheel);
    links.hip.set(figure[kHip]);
    links.seat.set(nodes.body);
    links.furtherBikeNodes[0].set(nodes.cockpit);
    links.furtherBikeNodes[1].set(nodes.frontWheel);
    links.furtherBikeNodes[2].set(nodes.needle);
    links.frontDust.set(nodes.frontSpray);
    links.rearDust.set(nodes.rearSpray);
    links.rearSpray.set(nodes.secondRearSpray);
    links.torso.set(figure[kTorso]);
    links.helmet.set(figure[kHelmet]);
    links.upperArms[0].set(figure[kLeftUpperArm]);
    links.upperArms[1].set(figure[kRightUpperArm]);
    links.lowerArms[0].set(figure[kLeftForearm]);
    links.lowerArms[1].set(figure[kRightForearm]);
    links.hands[0].set(figure[kLeftHand]);
    links.hands[1].set(figure[kRightHand]);
    links.thighs[0].set(figure[kLeftThigh]);
    links.thighs[1].set(figure[kRightThigh]);
    links.lowerLegs[0].set(figure[kLeftShin]);
    links.lowerLegs[1].set(figure[kRightShin]);
}

// Tyre grip between dry and wet, and the machine on the ground.
void SetOnGround(LoadSession& session, BikeRecord& bike, const RiderNodes& nodes)
{
    const float wetness = session.race.current.trackWetness;
    const BikeSetup& setup = bike.setup;
    bike.frontTyreHeat =
        setup.frontBaseTyreHeat + (setup.frontWetTyreHeat - setup.frontBaseTyreHeat) * wetness;
    bike.rearTyreHeat =
        setup.rearBaseTyreHeat + (setup.rearWetTyreHeat - setup.rearBaseTyreHeat) * wetness;
    const float height = PlaceOnGround(bike, *session.scene.ground, session.race.race);
    nodes.shadow->placement = {bike.positionX, height, bike.positionZ};
    nodes.shadow->angles[1] = bike.heading;
}

bool IsRacing(const BikeRecord& bike, uint32_t rider, uint32_t ghostRider)
{
    return rider == ghostRider || (!bike.IsDown() && !bike.IsInactive());
}
}  // namespace

bool LoadClassTemplates(LoadSession& session)
{
    for (uint32_t slot = 0; slot < kMakeSlots; ++slot)
    {
        BikeTemplate& machine = session.scene.templates[slot];
        const uint32_t id = kTemplateObjectNumber;
        machine.rearWheel =
            session.LoadModelLevels(RearWheelLevels(session.bikeClass, slot, session.detail), id);
        machine.frontWheel =
            session.LoadModelLevels(FrontWheelLevels(session.bikeClass, slot, session.detail), id);
        machine.body =
            session.LoadModelLevels(BodyLevels(session.bikeClass, slot, session.detail), id);
        const ModelLevel cockpit = CockpitModel(session.bikeClass, slot);
        machine.cockpit = session.LoadModel(cockpit.name, id, cockpit.distance);
        machine.collisionBody = session.LoadCollisionBody(kBikeCollisionBody);
        if (machine.rearWheel == nullptr || machine.frontWheel == nullptr ||
            machine.body == nullptr || machine.cockpit == nullptr ||
            machine.collisionBody == nullptr)
        {
            return false;
        }
    }
    return true;
}

void LoadClassLiveries(LoadSession& session)
{
    session.UseTexturesArchive();
    session.LoadPictures(ClassLiveryPictures(session.bikeClass));
}

bool BuildRiders(LoadSession& session)
{
    RaceContext& race = session.race;
    const uint32_t riders = std::min<uint32_t>(race.current.riderCount, kRiderCount);
    const uint32_t ghost = session.options.ghostRider;
    const auto& liveries =
        g_riderLiveries[static_cast<size_t>(session.bikeClass) % kLiveryClassCount];
    std::optional<FigureNodes> source;
    for (uint32_t rider = 0; rider < riders; ++rider)
    {
        BikeRecord& bike = race.bikes[rider];
        bike.soundSlot = -1;
        if (!IsRacing(bike, rider, ghost))
        {
            continue;
        }
        const uint32_t liveryIndex = std::min<uint32_t>(
            rider == ghost ? session.options.ghostLivery : rider, kLiveriesPerClass - 1);
        const RiderLivery& livery = liveries[liveryIndex];
        const uint32_t makeSlot = std::min(livery.bikeModel, kMakeSlots - 1);
        const LiveryNumbers numbers{liveryIndex, std::min(livery.paintDesign, kLiverySets - 1),
                                    std::min(livery.wheelDesign, kWheelSets - 1)};
        bike.InitPhysics(static_cast<uint16_t>(rider), race.current);

        RiderNodes nodes;
        if (!BuildMachine(session, rider, session.scene.templates[makeSlot], nodes))
        {
            return false;
        }
        bike.wheelFrameBase = static_cast<int32_t>(numbers.wheelSet);
        if (!BuildFigure(session, rider, source ? &*source : nullptr, nodes))
        {
            return false;
        }
        if (!source)
        {
            source = nodes.figure;
        }
        LinkChain(nodes);
        PaintRider(nodes, numbers);
        nodes.needle->placement = CockpitOf(session.bikeClass, makeSlot).needle;
        LinkRecord(bike, nodes);
        SetOnGround(session, bike, nodes);
    }
    return true;
}
}  // namespace content

#pragma once

// The field's assets by class and model detail: the bike templates' models with their levels
// of detail, the rider figure's parts, the livery pictures and the texture numbers each node's
// texture list takes, and the cockpit table. These numbers and names are the contract between
// the loader and the model files, whose polygons name textures by their place in the list.
// Pure data and functions of it; no state.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/game/GameEnums.h"
#include "core/world/MeshRecords.h"

namespace content
{
inline constexpr uint32_t kModelDetails = 3;
inline constexpr uint32_t kMakeSlots = 5;
inline constexpr uint32_t kWheelSets = 8;
inline constexpr uint32_t kLiverySets = 20;
inline constexpr uint32_t kFigureParts = 13;

struct ModelLevel
{
    std::string name;
    double distance;
};

// A texture number and the picture it is loaded from.
struct NumberedPicture
{
    int32_t number;
    std::string name;
};

// Levels of a template's part in load order: the first becomes the node, the others are
// added as further levels. detail and slot are taken modulo their ranges.
std::vector<ModelLevel> RearWheelLevels(BikeClass bikeClass, uint32_t slot, uint32_t detail);
std::vector<ModelLevel> FrontWheelLevels(BikeClass bikeClass, uint32_t slot, uint32_t detail);
std::vector<ModelLevel> BodyLevels(BikeClass bikeClass, uint32_t slot, uint32_t detail);
ModelLevel CockpitModel(BikeClass bikeClass, uint32_t slot);
inline constexpr std::string_view kBikeCollisionBody = "objekte/bikes/500er/501_collision.4do";
inline constexpr uint32_t kTemplateObjectNumber = 3;

// The rider figure's parts by part number: hip 0, left thigh 1, left shin 2, right thigh 3,
// right shin 4, torso 5, head or helmet 6, left upper arm 7, left forearm 8, left hand 9,
// right upper arm 10, right forearm 11, right hand 12.
enum FigurePart : uint32_t
{
    kHip,
    kLeftThigh,
    kLeftShin,
    kRightThigh,
    kRightShin,
    kTorso,
    kHelmet,
    kLeftUpperArm,
    kLeftForearm,
    kLeftHand,
    kRightUpperArm,
    kRightForearm,
    kRightHand,
};

// Where a part hangs: its parent part (the hip's parent is the bike body) and offset.
struct FigureJoint
{
    FigurePart part;
    FigurePart parent;
    Vector3 offset;
};
// In load order: hip, right leg, left leg, torso, right arm, left arm, helmet.
const std::array<FigureJoint, kFigureParts>& FigureJoints();

// The rider figure's first level of a part and its further levels.
ModelLevel FigureFirstLevel(FigurePart part, uint32_t detail);
std::vector<ModelLevel> FigureFurtherLevels(FigurePart part, uint32_t detail);
// The order in which the further levels are added.
const std::array<FigurePart, 11>& FigureFurtherLevelOrder();

// First rider number of the class: 101, 201, 501.
uint32_t RiderNumberBase(BikeClass bikeClass);
// The suit and bike paint sets the class has pictures for, ascending.
std::vector<uint32_t> LiverySetsOfClass(BikeClass bikeClass);
// Every livery picture of the class step in load order, the class-free 800s last.
std::vector<NumberedPicture> ClassLiveryPictures(BikeClass bikeClass);

// What a rider's nodes are painted with, from its livery.
struct LiveryNumbers
{
    uint32_t liveryIndex;  // 0..29
    uint32_t liverySet;    // suit and bike paint, 0..19
    uint32_t wheelSet;     // 0..7
};
enum class PaintedNode
{
    Helmet,
    Hip,
    Torso,
    Limb,  // upper arms, forearms and hands
    Thigh,
    Shin,
    RearWheel,
    Body,
    FrontWheel,
    Cockpit,
};
std::vector<uint32_t> LiveryTextureList(PaintedNode node, const LiveryNumbers& livery);

// The cockpit table: indexed by class x 5 + make slot.
struct CockpitRecord
{
    Vector3 needle;
    std::array<float, 4> revCounter;
    std::array<uint32_t, 9> pictures;  // into the cockpit pictures
};
inline constexpr size_t kCockpitRecords = kBikeClassCount * kMakeSlots;
const CockpitRecord& CockpitOf(BikeClass bikeClass, uint32_t makeSlot);

// Per-rider models.
inline constexpr std::string_view kShadowModel = "objekte/spezial/001_motorradschatten.4do";
inline constexpr std::string_view kNeedleModel = "objekte/spezial/001_zeiger.4do";
inline constexpr std::string_view kFrontSprayModel = "objekte/spezial/501_nassv2.4do";
inline constexpr std::string_view kRearSprayModel = "objekte/spezial/501_nassh2.4do";
inline constexpr std::string_view kSecondRearSprayModel = "objekte/spezial/501_nassh3.4do";
}  // namespace content

#include "view/race/EffectMeshes.h"

#include <algorithm>

#include "core/world/WorldObject.h"
#include "race/BikeRecord.h"
#include "race/SimMath.h"

namespace
{
constexpr size_t kFrontDust = 0;
constexpr size_t kRearDust = 1;
constexpr size_t kRearSpray = 2;
// The circuit's two sets of gravel stones, three pictures each.
constexpr uint32_t kStonesA = 1202;
constexpr uint32_t kStonesB = 1207;
constexpr uint32_t kWetStonesA = 1203;
// A machine this slow raises nothing.
constexpr float kStandingSpeed = 0.05f;

bool OnLooseGround(const WheelSurface& wheel)
{
    return wheel.surfaceClass >= 0 && wheel.surfaceClass <= 2;
}

EffectMeshState Dust(int32_t surfaceClass, uint32_t stonesOfClassOne, uint32_t counter, float scale)
{
    return {true, (surfaceClass == 1 ? stonesOfClassOne : kStonesB) + counter, scale};
}
}  // namespace

EffectMeshStates ChooseEffectMeshes(const BikeRecord& bike, Weather weather)
{
    EffectMeshStates states{};
    if (bike.speed <= kStandingSpeed)
    {
        return states;
    }
    const auto counter = static_cast<uint32_t>(std::clamp(bike.wheelFrameCounter, 0, 2));
    const int32_t front = bike.frontSurface.surfaceClass;
    const int32_t rear = bike.rearSurface.surfaceClass;
    const float frontScale = sim::Sqrt(bike.speed / 30.0f);
    const float rearDustScale = sim::Sqrt(0.2f * bike.speed);
    if (weather != Weather::Rain)
    {
        if (bike.pitch <= 0.0f && OnLooseGround(bike.frontSurface))
        {
            states[kFrontDust] = Dust(front, kStonesA, counter, frontScale);
        }
        if (bike.pitch >= 0.0f && OnLooseGround(bike.rearSurface))
        {
            states[kRearDust] = Dust(rear, kStonesA, counter, rearDustScale);
        }
        return states;
    }
    if (bike.pitch <= 0.0f && front >= 0)
    {
        // On the road the front wheel throws its own spray.
        states[kFrontDust] = OnLooseGround(bike.frontSurface)
                                 ? Dust(front, kWetStonesA, counter, frontScale)
                                 : EffectMeshState{true, 0, frontScale};
    }
    if (bike.pitch >= 0.0f && rear >= 0)
    {
        if (OnLooseGround(bike.rearSurface))
        {
            states[kRearDust] = Dust(rear, kStonesA, counter, rearDustScale);
        }
        else
        {
            states[kRearSpray] = {true, 0, sim::Sqrt(0.025f * bike.speed)};
        }
    }
    return states;
}

void EffectMeshes::Attach(std::span<const BikeRecord> bikes)
{
    riders_.assign(bikes.size(), RiderMeshes{});
    for (size_t rider = 0; rider < bikes.size(); ++rider)
    {
        const RiderObjectLinks& links = bikes[rider].links;
        const std::array<WorldObject*, 3> meshes = {links.frontDust.get(), links.rearDust.get(),
                                                    links.rearSpray.get()};
        for (size_t slot = 0; slot < meshes.size(); ++slot)
        {
            LoadedMesh& loaded = riders_[rider][slot];
            loaded.mesh = meshes[slot];
            if (loaded.mesh == nullptr)
            {
                continue;
            }
            for (const MeshVertex& vertex : LevelVertices(loaded.mesh->firstLevel))
            {
                loaded.shape.push_back(vertex.position);
            }
            const uint32_t* textures = loaded.mesh->textureList.get();
            loaded.texture = textures != nullptr ? textures[0] : kTextureListEnd;
        }
    }
}

void EffectMeshes::Detach()
{
    riders_.clear();
}

void EffectMeshes::Update(std::span<const BikeRecord> bikes, Weather weather, bool detail,
                          uint32_t ghostRider)
{
    const size_t riders = std::min(bikes.size(), riders_.size());
    for (size_t rider = 0; rider < riders; ++rider)
    {
        if (rider == ghostRider)
        {
            continue;
        }
        const BikeRecord& bike = bikes[rider];
        const bool riding = detail && !bike.IsInactive() && !bike.IsDown();
        const EffectMeshStates states =
            riding ? ChooseEffectMeshes(bike, weather) : EffectMeshStates{};
        for (size_t slot = 0; slot < states.size(); ++slot)
        {
            Show(riders_[rider][slot], states[slot]);
        }
    }
}

void EffectMeshes::Show(LoadedMesh& loaded, const EffectMeshState& state)
{
    if (loaded.mesh == nullptr)
    {
        return;
    }
    WorldObject& mesh = *loaded.mesh;
    if (!state.shown)
    {
        mesh.flags |= object_flags::kNoOwnPolygons;
        return;
    }
    mesh.flags &= static_cast<uint16_t>(~object_flags::kNoOwnPolygons);
    SetTextureEntry(mesh, 0, state.texture != 0 ? state.texture : loaded.texture);
    // Width and height grow from the ground under the wheel; the distance from it stays.
    const std::span<MeshVertex> vertices = LevelVertices(mesh.firstLevel);
    for (size_t i = 0; i < std::min(vertices.size(), loaded.shape.size()); ++i)
    {
        const Vector3& rest = loaded.shape[i];
        vertices[i].position = {rest.x * state.scale, rest.y * state.scale, rest.z};
    }
}

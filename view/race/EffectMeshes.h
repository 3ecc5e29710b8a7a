#pragma once

// The dust and spray meshes at every machine's wheels (front dust, rear dust, rear spray): shown
// where the ground and the weather raise them, painted with the loose ground's stones, and grown
// with the speed from the shape the race loaded them in. Main thread, once per drawn frame after
// the simulation's steps.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "core/game/GameEnums.h"
#include "core/world/MeshRecords.h"

struct BikeRecord;
struct WorldObject;

// What one effect mesh shows in a frame.
struct EffectMeshState
{
    bool shown = false;
    uint32_t texture = 0;  // 0: the mesh's own picture
    float scale = 0.0f;    // of its loaded width and height

    bool operator==(const EffectMeshState&) const = default;
};

// Front dust, rear dust, rear spray.
using EffectMeshStates = std::array<EffectMeshState, 3>;

// The meshes of a riding bike in the weather. Dust needs loose ground (classes 0..2) under its
// wheel, so no ground at all raises none.
EffectMeshStates ChooseEffectMeshes(const BikeRecord& bike, Weather weather);

class EffectMeshes
{
public:
    // Keeps each rider's meshes with their loaded shapes and pictures.
    void Attach(std::span<const BikeRecord> bikes);
    // Forgets them when the race's world goes.
    void Detach();

    // Every rider's meshes for the frame. Without the detail effects, and on a fallen or
    // retired bike, they are hidden; the ghost's are left to its playback, which hides them.
    void Update(std::span<const BikeRecord> bikes, Weather weather, bool detail,
                uint32_t ghostRider);

private:
    struct LoadedMesh
    {
        WorldObject* mesh = nullptr;
        std::vector<Vector3> shape;
        uint32_t texture = 0;
    };
    using RiderMeshes = std::array<LoadedMesh, 3>;

    static void Show(LoadedMesh& loaded, const EffectMeshState& state);

    std::vector<RiderMeshes> riders_;
};

#pragma once

// The race's 200 smoke, spray and dust particles: camera-facing quads of the object world that
// the simulation's frame effects start and the race loop fades, moves and grows each frame.
// Only the living ones hang in the effects group, so the engine draws nothing of the others.
// Main thread only.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/world/MeshRecords.h"
#include "race/RaceServices.h"

struct WorldObject;

struct Particle
{
    bool active = false;
    WorldObject* object = nullptr;
    float life = 0.0f;  // also the quad's alpha, 0..255
    float lifeRate = 0.0f;
    float halfWidth = 0.0f;
    float halfWidthRate = 0.0f;
    float height = 0.0f;
    float heightRate = 0.0f;
    Vector3 velocity;
};

class ParticleTable
{
public:
    static constexpr size_t kParticles = 200;

    // The race's quads, all inactive; the group is the list the living ones hang in.
    void Attach(std::span<WorldObject* const> objects, WorldObject* group);
    // Forgets the quads when the race's world goes.
    void Detach();

    // Starts the first free particle of the kind at (x, y, z); size is the emitter's strength
    // (0..255), which the machine's speed gives every kind but the exhaust's smoke: the particle
    // starts as large, lives as long and is thrown as far as it says. Spray and dirt fly back
    // from the machine's heading, fanned out to the sides. False when all are in use, the race
    // has no quads, or a kind that takes its strength from the speed has none.
    bool Emit(RaceParticle kind, float x, float y, float z, float size, float heading);

    // Ages every living particle by dt seconds; the dead drop out of the group. The count of
    // the living.
    uint32_t Update(float dt);

    const Particle& operator[](size_t index) const { return particles_[index]; }

private:
    std::array<Particle, kParticles> particles_{};
    WorldObject* group_ = nullptr;
    uint32_t fanStep_ = 0;  // which side of the fan the next thrown particle takes
};

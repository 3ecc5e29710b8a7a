#include "view/race/ParticleTable.h"

#include <algorithm>
#include <array>
#include <span>

#include "core/world/SceneLinks.h"
#include "core/world/WorldObject.h"
#include "race/SimMath.h"

namespace
{
// How each kind starts and ages at full strength: its picture, the life it starts with when
// the emitter gives no strength, how fast life fades (per s), its half-width and height with
// their growth (per s), how fast it rises, and how fast it is thrown back from the machine and
// out to the side (m/s).
struct ParticleKind
{
    uint32_t texture;
    float life;
    float lifeRate;
    float halfWidth;
    float halfWidthRate;
    float height;
    float heightRate;
    float rise;
    float throwBack;
    float throwSide;
};

constexpr uint32_t kSmokeTexture = 1019;
constexpr uint32_t kSprayTexture = 1030;
constexpr uint32_t kDustTextureA = 1200;
constexpr uint32_t kDustTextureB = 1205;
constexpr float kMaxLife = 255.0f;
// The sides of the fan, in turn, as shares of the kind's sideways throw.
constexpr std::array<float, 5> kFan = {-1.0f, 0.5f, 0.0f, -0.5f, 1.0f};

ParticleKind KindOf(RaceParticle kind)
{
    switch (kind)
    {
        case RaceParticle::Spray:
            return {kSprayTexture, 120.0f, 300.0f, 0.3f, 1.2f, 0.4f, 1.0f, 0.8f, 5.0f, 3.0f};
        case RaceParticle::ExhaustSmoke:
            return {kSmokeTexture, 80.0f, 80.0f, 0.1f, 0.4f, 0.2f, 0.8f, 0.6f, 0.0f, 0.0f};
        case RaceParticle::DirtLight:
            return {kDustTextureA, 120.0f, 250.0f, 0.3f, 0.8f, 0.3f, 1.0f, 0.6f, 3.0f, 1.5f};
        case RaceParticle::DirtDark:
            return {kDustTextureB, 120.0f, 250.0f, 0.3f, 0.8f, 0.3f, 1.0f, 0.6f, 3.0f, 1.5f};
        case RaceParticle::TyreSmoke:
            return {kSmokeTexture, 100.0f, 100.0f, 0.4f, 1.2f, 0.6f, 1.4f, 0.4f, 0.0f, 0.0f};
        case RaceParticle::DustCloud:
            return {kSmokeTexture, 120.0f, 120.0f, 0.6f, 2.0f, 0.8f, 2.0f, 0.3f, 0.0f, 0.0f};
    }
    return {kSmokeTexture, 80.0f, 80.0f, 0.1f, 0.4f, 0.2f, 0.8f, 0.6f, 0.0f, 0.0f};
}

void Shape(WorldObject& object, float w, float h)
{
    const std::span<MeshVertex> corners = LevelVertices(object.firstLevel);
    if (corners.size() < 4)
    {
        return;
    }
    corners[0].position.x = -w;
    corners[0].position.y = 0.0f;
    corners[1].position.x = w;
    corners[1].position.y = h;
    corners[2].position.x = w;
    corners[2].position.y = 0.0f;
    corners[3].position.x = -w;
    corners[3].position.y = h;
}
}  // namespace

void ParticleTable::Attach(std::span<WorldObject* const> objects, WorldObject* group)
{
    Detach();
    group_ = group;
    const size_t count = std::min(objects.size(), kParticles);
    for (size_t index = 0; index < count; ++index)
    {
        particles_[index].object = objects[index];
    }
}

void ParticleTable::Detach()
{
    particles_.fill(Particle{});
    group_ = nullptr;
}

bool ParticleTable::Emit(RaceParticle kind, float x, float y, float z, float size, float heading)
{
    const bool fromSpeed = kind != RaceParticle::ExhaustSmoke;
    if (group_ == nullptr || (fromSpeed && size <= 0.0f))
    {
        return false;
    }
    const auto free =
        std::find_if(particles_.begin(), particles_.end(),
                     [](const Particle& p) { return !p.active && p.object != nullptr; });
    if (free == particles_.end())
    {
        return false;
    }
    const ParticleKind shape = KindOf(kind);
    const float life = std::clamp(fromSpeed ? size : shape.life, 0.0f, kMaxLife);
    const float strength = fromSpeed ? life / kMaxLife : 1.0f;
    const float side = kFan[fanStep_] * shape.throwSide * strength;
    fanStep_ = (fanStep_ + 1) % kFan.size();
    const float back = shape.throwBack * strength;
    const float sine = sim::Sin(heading);
    const float cosine = sim::Cos(heading);
    Particle& particle = *free;
    particle.active = true;
    particle.life = life;
    particle.lifeRate = shape.lifeRate;
    particle.halfWidth = shape.halfWidth * strength;
    particle.halfWidthRate = shape.halfWidthRate * strength;
    particle.height = shape.height * strength;
    particle.heightRate = shape.heightRate * strength;
    particle.velocity = {-back * sine + side * cosine, shape.rise, -back * cosine - side * sine};
    particle.object->placement = {x, y, z};
    SetTextureEntry(*particle.object, 0, shape.texture);
    return true;
}

uint32_t ParticleTable::Update(float dt)
{
    if (group_ == nullptr)
    {
        return 0;
    }
    for (const Particle& particle : particles_)
    {
        if (particle.object != nullptr && particle.object->parent.get() == group_)
        {
            Unlink(*particle.object);
        }
    }
    uint32_t living = 0;
    for (Particle& particle : particles_)
    {
        if (!particle.active)
        {
            continue;
        }
        particle.life -= particle.lifeRate * dt;
        if (particle.life <= 0.0f)
        {
            particle.active = false;
            continue;
        }
        ++living;
        WorldObject& object = *particle.object;
        // The quad's alpha fades with its life; a life above 255 would wrap the byte.
        const auto alpha = static_cast<uint32_t>(std::min(particle.life, kMaxLife));
        object.colour = (object.colour & 0x00FFFFFFu) | (alpha << 24);
        object.placement.x += particle.velocity.x * dt;
        object.placement.y += particle.velocity.y * dt;
        object.placement.z += particle.velocity.z * dt;
        particle.halfWidth += particle.halfWidthRate * dt;
        particle.height += particle.heightRate * dt;
        Shape(object, particle.halfWidth, particle.height);
        LinkFirst(object, *group_, group_->firstSubObject);
    }
    return living;
}

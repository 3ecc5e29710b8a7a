#include "app/world/ObjectWorld.h"

#include <cstdlib>
#include <cstring>

#include "app/debug/DebugLog.h"
#include "app/world/VectorMem.h"
#include "core/util/Message.h"
#include "core/world/Region.h"
#include "core/world/VectorVars.h"
#include "core/world/WorldObject.h"
#include "platform/Platform.h"

namespace
{
constexpr uint32_t kAspectFourThirdsBits = 0x3FAAAAAA;
constexpr float kLowestFarDistance = 0.1f;

// Without its region the game cannot hold a scene at all.
uint32_t AllocateOrDie(uint32_t bytes)
{
    const uint32_t offset = region::Reserve() ? region::Allocate(bytes) : 0;
    if (offset == 0)
    {
        ShowMessage("VectorMem overflow!");
        std::abort();
    }
    return offset;
}

float FloatOfBits(uint32_t bits)
{
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}
}  // namespace

ObjectWorld::ObjectWorld()
{
    vars_ = reinterpret_cast<VectorVars*>(region::Address(AllocateOrDie(sizeof(VectorVars))));
    std::memset(vars_, 0, sizeof(VectorVars));
    const uint32_t records[3] = {kVertexCacheRecords, kNormalCacheRecords, kThirdCacheRecords};
    // Zero-filled, so that no entry looks valid to the engine before it first writes it.
    uint32_t caches[3];
    for (int i = 0; i < 3; ++i)
    {
        caches[i] = AllocateOrDie(records[i] * kCacheRecordBytes);
        std::memset(region::Address(caches[i]), 0, records[i] * kCacheRecordBytes);
    }
    vars_->vertexCache = RegionRef<VertexCacheEntry>::FromOffset(caches[0]);
    vars_->normalCache = RegionRef<NormalCacheEntry>::FromOffset(caches[1]);
    vars_->thirdCache = RegionRef<uint8_t>::FromOffset(caches[2]);
    for (int i = 0; i < 3; ++i)
    {
        vars_->recordCounts[i] = records[i];
        vars_->recordCapacities[i] = records[i];
    }
    vars_->fieldOfViewFactor = 0.4f;
    vars_->aspect = FloatOfBits(kAspectFourThirdsBits);
    vars_->scales[0] = 1.0f;
    vars_->scales[1] = 1.0f;
    vars_->secondFieldOfView = 1.0f;
}

ObjectWorld::~ObjectWorld()
{
    FreeWorld();
    region::Free(vars_->vertexCache.Offset());
    region::Free(vars_->normalCache.Offset());
    region::Free(vars_->thirdCache.Offset());
    region::Free(region::OffsetOf(vars_));
}

void ObjectWorld::SetScreenSize(int32_t width, int32_t height)
{
    if (width > 0 && height > 0)
    {
        screenWidth_ = width;
        screenHeight_ = height;
    }
}

WorldObject* ObjectWorld::CreateWorld(uint32_t arenaBytes)
{
    // An arena no saved state owns goes first.
    FreeWorld();
    const uint32_t arena = region::Allocate(arenaBytes);
    if (arena == 0)
    {
        ShowMessage("VectorMem overflow!");
        return nullptr;
    }
    vars_->arenaBase = RegionRef<uint8_t>::FromOffset(arena);
    vars_->arenaUsed = 0;
    vars_->arenaSize = arenaBytes;
    root_ = NewNode(*vars_);
    vars_->world.set(root_);
    reportedEmptyWorld_ = false;
    if (engine_.init != nullptr)
    {
        engine_.init();
    }
    vars_->viewportWidth = 640;
    vars_->viewportHeight = 480;
    vars_->centreX = 320;
    vars_->centreY = 240;
    vars_->nearDistance = 0.1f;
    vars_->farDistance = 6000.0f;
    UpdateCamera();
    return root_;
}

void ObjectWorld::FreeWorld()
{
    region::Free(vars_->arenaBase.Offset());
    vars_->arenaBase.reset();
    vars_->arenaUsed = 0;
    vars_->world.reset();
    root_ = nullptr;
}

WorldObject* ObjectWorld::World() const
{
    return vars_->world.get();
}

int32_t ObjectWorld::SetFieldOfView(float fieldOfView, float second)
{
    vars_->fieldOfViewFactor = fieldOfView * 0.0015625f;
    vars_->secondFieldOfView = second;
    return 1;
}

int32_t ObjectWorld::SetViewport(int32_t x1, int32_t y1, int32_t x2, int32_t y2, float nearDistance,
                                 float farDistance)
{
    const int32_t width = x2 - x1;
    const int32_t height = y2 - y1;
    vars_->viewportWidth = width;
    vars_->viewportHeight = height;
    vars_->centreX = static_cast<uint32_t>(x1) + (static_cast<uint32_t>(width) >> 1);
    vars_->centreY = static_cast<uint32_t>(y1) + (static_cast<uint32_t>(height) >> 1);
    vars_->nearDistance = nearDistance;
    vars_->farDistance = farDistance;
    return UpdateCamera();
}

int32_t ObjectWorld::SetViewSize(uint32_t /*unused*/, int32_t width, int32_t height)
{
    vars_->viewportWidth = width;
    vars_->viewportHeight = height;
    return 1;
}

int32_t ObjectWorld::SetAspect(uint32_t aspectBits)
{
    vars_->aspect = FloatOfBits(aspectBits);
    return 1;
}

void ObjectWorld::SetScales(uint32_t first, uint32_t second)
{
    vars_->scales[0] = FloatOfBits(first);
    vars_->scales[1] = FloatOfBits(second);
}

int32_t ObjectWorld::UpdateCamera()
{
    if (vars_->farDistance < kLowestFarDistance)
    {
        vars_->farDistance = kLowestFarDistance;
    }
    const auto width = static_cast<float>(screenWidth_);
    const float scaleY = vars_->fieldOfViewFactor * width;
    projection_.viewportWidth = vars_->viewportWidth;
    projection_.viewportHeight = vars_->viewportHeight;
    projection_.centreX = static_cast<float>(vars_->centreX);
    projection_.centreY = static_cast<float>(vars_->centreY);
    projection_.scaleY = scaleY;
    projection_.scaleX = scaleY * width / static_cast<float>(screenHeight_) * 0.75f;
    projection_.nearDistance = vars_->nearDistance;
    if (engine_.setVectorVars != nullptr)
    {
        engine_.setVectorVars(vars_);
    }
    return 1;
}

int32_t ObjectWorld::DrawWorld(uint32_t parameter)
{
    const WorldObject* world = World();
    if (world == nullptr)
    {
        return 0;
    }
    if (!world->firstChild)
    {
        if (!reportedEmptyWorld_)
        {
            AppendDebugLog("Out of Objects in World Error \n");
            reportedEmptyWorld_ = true;
        }
        return 0;
    }
    UpdateCamera();
    drawParameter_ = parameter;
    if (engine_.draw == nullptr)
    {
        return 0;
    }
    engine_.draw(drawBlock_);
    return 1;
}

void ObjectWorld::SaveState(uint32_t out[24], bool reset)
{
    std::memcpy(out, vars_, sizeof(VectorVars));
    if (reset)
    {
        // The arena now belongs to the saved words.
        vars_->arenaBase.reset();
        vars_->arenaUsed = 0;
        vars_->world.reset();
        root_ = nullptr;
    }
}

int32_t ObjectWorld::RestoreState(const uint32_t in[24])
{
    std::memcpy(vars_, in, sizeof(VectorVars));
    root_ = World();
    reportedEmptyWorld_ = false;
    return UpdateCamera();
}

void ObjectWorld::CollRotateAll()
{
    if (engine_.collRotateAll != nullptr)
    {
        engine_.collRotateAll();
    }
}

void ObjectWorld::RecalcMatrix(WorldObject* node)
{
    if (engine_.recalcMatrix != nullptr)
    {
        engine_.recalcMatrix(node);
    }
}

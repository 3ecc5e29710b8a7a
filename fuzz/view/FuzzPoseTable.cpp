// Reads the first 1800 bytes of the input as the riders' pose table and blends a rider's pose
// from it with lean, fade and twist taken from the bytes behind, both sides.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>

#include "app/world/ObjectWorld.h"
#include "core/util/LittleEndian.h"
#include "core/world/WorldObject.h"
#include "view/rider/RiderPoseTable.h"

namespace
{
// A hip with 15 nodes below it, every part code once, for the whole run.
WorldObject& TheHip()
{
    static ObjectWorld world;
    static WorldObject* hip = []
    {
        WorldObject* root = world.CreateWorld(1u << 16);
        WorldObject* created = world.AttachNewObject(root, 0.0f, 0.0f, 0.0f, kAttachChild, 1.0f);
        if (created == nullptr)
        {
            std::abort();
        }
        for (uint32_t code = 1; code < 16; ++code)
        {
            world.AttachNewObject(created, 0.0f, 0.0f, 0.0f, kAttachChild, 1.0f)->userValue = code;
        }
        return created;
    }();
    return *hip;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::span<const uint8_t> input(data, size);
    RiderPoseTable::Parse(input);
    constexpr size_t kParameters = 12;
    if (size < kPoseTableBytes + kParameters)
    {
        return 0;
    }
    const std::optional<PoseRows> rows = RiderPoseTable::Parse(input.first(kPoseTableBytes));
    if (!rows)
    {
        std::abort();
    }
    const uint8_t* parameters = data + kPoseTableBytes;
    const auto row = static_cast<int32_t>(parameters[0] % 4);
    const int32_t twist = static_cast<int32_t>(LoadLe32(parameters + 4)) & ~3;
    for (const bool rightSide : {true, false})
    {
        BlendPose(*rows, TheHip(), row, parameters[1], parameters[2], rightSide, twist);
    }
    return 0;
}

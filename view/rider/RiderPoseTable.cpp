#include "view/rider/RiderPoseTable.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "app/archive/ArchiveSet.h"
#include "core/archive/DAFile.h"
#include "core/util/LittleEndian.h"
#include "core/util/MathUtils.h"
#include "race/BikeRecord.h"

namespace
{
constexpr size_t kRowBytes = 180;
constexpr float kLeanStepsPerLean = 3.9f;
constexpr float kLastLeanStep = 3.999f;          // the last step that still has a row above it
constexpr uint32_t kNotPosedFlags = 0x80000007;  // a clip runs, or the rider is out

// The braking fade rises with the deceleration and always sinks a little.
constexpr float kFadeRisePerDeceleration = 20.0f;
constexpr float kFadeRiseLimit = -24.0f;
constexpr float kFadeRiseMax = 480.0f;
constexpr float kFadeSink = 64.0f;
constexpr float kFadeMax = 255.0f;
constexpr float kTwistScale = 10000.0f;

PoseRow ParseRow(const uint8_t* bytes)
{
    PoseRow row;
    for (float& value : row.hip)
    {
        value = std::bit_cast<float>(LoadLe32(bytes));
        bytes += 4;
    }
    for (std::array<int32_t, 3>& joint : row.joints)
    {
        for (int32_t& angle : joint)
        {
            angle = static_cast<int32_t>(LoadLe32(bytes));
            bytes += 4;
        }
    }
    return row;
}
}  // namespace

RiderPoseTable::~RiderPoseTable() = default;

std::optional<PoseRows> RiderPoseTable::Parse(std::span<const uint8_t> bytes)
{
    if (bytes.size() != kPoseTableBytes)
    {
        return std::nullopt;
    }
    PoseRows rows;
    for (size_t row = 0; row < kPoseRows; ++row)
    {
        rows[row] = ParseRow(&bytes[row * kRowBytes]);
    }
    return rows;
}

bool RiderPoseTable::Load()
{
    DAFile file(g_archiveMenu);
    if (!file.Open(kFileName))
    {
        return false;
    }
    const std::optional<std::vector<uint8_t>> bytes = file.ReadAll();
    const std::optional<PoseRows> rows = bytes ? Parse(*bytes) : std::nullopt;
    if (!rows)
    {
        return false;
    }
    rows_ = *rows;
    return true;
}

void RiderPoseTable::Update(std::span<BikeRecord> bikes, uint32_t count, float frameDt,
                            uint32_t ghostRider) const
{
    count = std::min(count, static_cast<uint32_t>(bikes.size()));
    for (uint32_t rider = 0; rider < count; ++rider)
    {
        BikeRecord& bike = bikes[rider];
        WorldObject* hip = bike.links.hip.get();
        if (((bike.flags & kNotPosedFlags) != 0 && rider != ghostRider) || hip == nullptr)
        {
            continue;
        }
        float fade = bike.poseFade;
        const float rate = bike.acceleration;
        if (rate < 0.0f)
        {
            fade += rate >= kFadeRiseLimit ? -rate * frameDt * kFadeRisePerDeceleration
                                           : kFadeRiseMax * frameDt;
        }
        fade = std::clamp(fade - kFadeSink * frameDt, 0.0f, kFadeMax);
        bike.poseFade = fade;
        bike.poseFadeCopy = TruncateToInt32(fade);

        const float lean = bike.steer;
        const float steps =
            std::min(std::fabs(lean) * kLeanStepsPerLean, kLastLeanStep);  // NaN gives 0 below
        const int32_t row = std::max(TruncateToInt32(steps), 0);
        const int32_t leanWeight = std::max(TruncateToInt32(steps * 256.0f), 0) & 255;
        const int32_t twist = TruncateToInt32(bike.poseTwist * kTwistScale) & ~3;
        BlendPose(rows_, *hip, row, leanWeight, bike.poseFadeCopy, !(lean < 0.0f), twist);
    }
}

std::string_view StripPathCopy(std::string_view path)
{
    for (size_t at = path.size(); at-- > 1;)
    {
        if (path[at] == '\\' || path[at] == '/')
        {
            return path.substr(at + 1);
        }
    }
    return path;
}

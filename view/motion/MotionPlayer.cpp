#include "view/motion/MotionPlayer.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <numbers>
#include <string>

#include "app/archive/ArchiveSet.h"
#include "core/archive/DAFile.h"
#include "core/files/FileSystem.h"
#include "core/util/LittleEndian.h"
#include "core/util/MathUtils.h"
#include "core/util/Message.h"
#include "core/world/WorldObject.h"
#include "race/SimMath.h"
#include "view/motion/KeyFill.h"

namespace
{
using FloatTriple = std::array<float, 3>;

constexpr float kRadiansPerDegree = std::numbers::pi_v<float> / 180.0f;
constexpr float kAcosGuard = 0.99999f;
constexpr float kSmallestTargetDistance = 1e-6f;
constexpr size_t kCacheHeaderWords = 4;
constexpr size_t kChannelRecordBytes = 32;

FloatTriple PositionOf(const SceneKey& key)
{
    return key.position;
}

FloatTriple RotationOf(const SceneKey& key)
{
    return {key.heading, key.pitch, key.bank};
}

Vector3 Lerp(const Vector3& from, const Vector3& to, float t)
{
    return {from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t,
            from.z + (to.z - from.z) * t};
}

Vector3 TurnedBy(const float (&m)[9], const Vector3& v)
{
    return {m[0] * v.x + m[1] * v.y + m[2] * v.z, m[3] * v.x + m[4] * v.y + m[5] * v.z,
            m[6] * v.x + m[7] * v.y + m[8] * v.z};
}

// Scene rotations are (heading, pitch, bank) in degrees; nodes turn by pitch, heading, bank in
// radians.
void SetNodeRotation(WorldObject& node, const Vector3& rotation)
{
    node.angles[0] = rotation.y * kRadiansPerDegree;
    node.angles[1] = rotation.x * kRadiansPerDegree;
    node.angles[2] = rotation.z * kRadiansPerDegree;
}

void AppendFloat(std::vector<uint8_t>& bytes, float value)
{
    AppendLe32(bytes, std::bit_cast<uint32_t>(value));
}

float FloatAt(std::span<const uint8_t> bytes, size_t offset)
{
    return std::bit_cast<float>(LoadLe32(&bytes[offset]));
}

Vector3 Vector3At(std::span<const uint8_t> bytes, size_t offset)
{
    return {FloatAt(bytes, offset), FloatAt(bytes, offset + 4), FloatAt(bytes, offset + 8)};
}
}  // namespace

MotionPlayer::~MotionPlayer()
{
    Clear();
}

void MotionPlayer::Clear()
{
    scene_.Clear();
    keys_.reset();
    channels_.clear();
    bindings_.clear();
    firstFrame_ = 0;
    lastFrame_ = 0;
    frameCount_ = 0;
    duration_ = 0.0f;
    time_ = 0.0f;
}

bool MotionPlayer::ReadSceneText(std::string_view name)
{
    return scene_.Load(name);
}

int32_t MotionPlayer::FindLine(int32_t fromLine, std::string_view keyword) const
{
    return scene_.FindLine(fromLine, keyword);
}

bool MotionPlayer::ReadFrameRange()
{
    const std::optional<SceneFrameRange> range = scene_.ReadFrameRange();
    if (!range)
    {
        return false;
    }
    firstFrame_ = range->first;
    lastFrame_ = range->last;
    frameCount_ = range->FrameCount();
    return true;
}

bool MotionPlayer::ConvertScene(std::string_view name,
                                std::span<const std::string_view> objectNames,
                                std::span<const MotionBinding> bindings)
{
    Clear();
    if (!ReadSceneText(name))
    {
        return false;
    }
    if (!ReadFrameRange())
    {
        Clear();
        ReportMissingScene(name);
        return false;
    }
    auto keys = std::make_shared<Keys>();
    const auto frames = static_cast<size_t>(frameCount_);
    for (const MotionBinding& binding : bindings)
    {
        MotionPlayerChannel& channel = channels_.emplace_back();
        const std::string_view object =
            binding.nameIndex < objectNames.size() ? objectNames[binding.nameIndex] : "";
        const std::string_view keyword =
            (binding.flags & binding_flags::kNullObject) != 0 ? "AddNullObject" : "LoadObject";
        const int32_t line = object.empty() ? -1 : scene_.FindObjectLine(keyword, object);
        if (line < 0)
        {
            ShowMessage(std::string(object) + " not found in motion");
            continue;
        }
        const std::vector<SceneKey> sceneKeys = scene_.ReadObjectKeys(line);
        std::vector<FloatTriple> track(frames + 1);
        FillKeyedTrack(std::span(track), sceneKeys, PositionOf, firstFrame_, frameCount_);
        channel.positionKeys = static_cast<int32_t>(keys->positions.size());
        channel.firstPosition = {track[0][0], track[0][1], track[0][2]};
        for (size_t frame = 0; frame < frames; ++frame)
        {
            keys->positions.insert(keys->positions.end(), track[frame].begin(), track[frame].end());
        }
        std::fill(track.begin(), track.end(), FloatTriple{});
        FillKeyedTrack(std::span(track), sceneKeys, RotationOf, firstFrame_, frameCount_);
        channel.rotationKeys = static_cast<int32_t>(keys->rotations.size());
        channel.firstRotation = {track[0][0], track[0][1], track[0][2]};
        for (size_t frame = 0; frame < frames; ++frame)
        {
            keys->rotations.insert(keys->rotations.end(), track[frame].begin(), track[frame].end());
        }
    }
    scene_.Clear();
    keys_ = std::move(keys);
    bindings_.assign(bindings.begin(), bindings.end());
    SetRate(kRate);
    return true;
}

std::vector<uint8_t> MotionPlayer::EncodeCache() const
{
    static const Keys kNoKeys;
    const Keys& keys = keys_ ? *keys_ : kNoKeys;
    std::vector<uint8_t> bytes;
    AppendLe32(bytes, static_cast<uint32_t>(frameCount_));
    AppendLe32(bytes, static_cast<uint32_t>(keys.positions.size()));
    AppendLe32(bytes, static_cast<uint32_t>(keys.rotations.size()));
    AppendLe32(bytes, static_cast<uint32_t>(channels_.size()));
    for (const float value : keys.positions)
    {
        AppendFloat(bytes, value);
    }
    for (const float value : keys.rotations)
    {
        AppendFloat(bytes, value);
    }
    for (const MotionPlayerChannel& channel : channels_)
    {
        for (const Vector3& v : {channel.firstPosition, channel.firstRotation})
        {
            AppendFloat(bytes, v.x);
            AppendFloat(bytes, v.y);
            AppendFloat(bytes, v.z);
        }
        AppendLe32(bytes, static_cast<uint32_t>(channel.positionKeys));
        AppendLe32(bytes, static_cast<uint32_t>(channel.rotationKeys));
    }
    return bytes;
}

bool MotionPlayer::DecodeCache(std::span<const uint8_t> bytes, size_t channelCount)
{
    if (bytes.size() < kCacheHeaderWords * 4)
    {
        return false;
    }
    const uint64_t frames = LoadLe32(&bytes[0]);
    const uint64_t positionFloats = LoadLe32(&bytes[4]);
    const uint64_t rotationFloats = LoadLe32(&bytes[8]);
    const uint64_t channels = LoadLe32(&bytes[12]);
    const uint64_t size =
        16 + 4 * (positionFloats + rotationFloats) + kChannelRecordBytes * channels;
    if (frames < 1 || frames > kMaxMotionFrames || channels != channelCount || size != bytes.size())
    {
        return false;
    }
    // A channel's keys must be a whole run of frame triples inside the floats.
    const auto validRun = [frames](int32_t first, uint64_t count)
    { return first == -1 || (first >= 0 && uint64_t(first) + 3 * frames <= count); };
    auto keys = std::make_shared<Keys>();
    size_t at = 16;
    for (std::vector<float>* floats : {&keys->positions, &keys->rotations})
    {
        const uint64_t count = floats == &keys->positions ? positionFloats : rotationFloats;
        for (uint64_t i = 0; i < count; ++i, at += 4)
        {
            floats->push_back(FloatAt(bytes, at));
        }
    }
    std::vector<MotionPlayerChannel> decoded(channels);
    for (MotionPlayerChannel& channel : decoded)
    {
        channel.firstPosition = Vector3At(bytes, at);
        channel.firstRotation = Vector3At(bytes, at + 12);
        channel.positionKeys = static_cast<int32_t>(LoadLe32(&bytes[at + 24]));
        channel.rotationKeys = static_cast<int32_t>(LoadLe32(&bytes[at + 28]));
        at += kChannelRecordBytes;
        if (!validRun(channel.positionKeys, positionFloats) ||
            !validRun(channel.rotationKeys, rotationFloats))
        {
            return false;
        }
    }
    frameCount_ = static_cast<int32_t>(frames);
    firstFrame_ = 0;
    lastFrame_ = frameCount_ - 1;
    keys_ = std::move(keys);
    channels_ = std::move(decoded);
    return true;
}

bool MotionPlayer::Save(std::string_view name) const
{
    if (!files::ReplaceAtomically(std::string(name) + ".mpc", EncodeCache()))
    {
        ShowMessage("MotionFile " + std::string(name) + " not found");
        return false;
    }
    return true;
}

bool MotionPlayer::Load(std::string_view name, uint32_t /*unused*/,
                        std::span<const MotionBinding> bindings)
{
    Clear();
    DAFile file(g_archiveMenu);
    if (!file.Open(std::string(name) + ".mpc"))
    {
        return false;
    }
    const std::optional<std::vector<uint8_t>> bytes = file.ReadAll();
    if (!bytes || !DecodeCache(*bytes, bindings.size()))
    {
        Clear();
        return false;
    }
    bindings_.assign(bindings.begin(), bindings.end());
    SetRate(kRate);
    ApplyFirstFrame();
    return true;
}

void MotionPlayer::ShareFrom(const MotionPlayer& other, std::span<const MotionBinding> bindings)
{
    Clear();
    keys_ = other.keys_;
    frameCount_ = other.frameCount_;
    firstFrame_ = other.firstFrame_;
    lastFrame_ = other.lastFrame_;
    channels_ = other.channels_;
    channels_.resize(bindings.size());
    for (MotionPlayerChannel& channel : channels_)
    {
        channel.groundTriangle = 0;
    }
    bindings_.assign(bindings.begin(), bindings.end());
    SetRate(kRate);
    ApplyFirstFrame();
}

void MotionPlayer::SetRate(float framesPerSecond)
{
    rate_ = framesPerSecond;
    frameTime_ = framesPerSecond > 0.0f ? 1.0f / framesPerSecond : 0.0f;
    duration_ = static_cast<float>(frameCount_) * frameTime_;
}

void MotionPlayer::SetChannelOffset(size_t channel, float x, float y, float z)
{
    if (channel < channels_.size())
    {
        channels_[channel].offset = {x, y, z};
    }
}

void MotionPlayer::SetChannelTriple(size_t channel, float x, float y, float z)
{
    if (channel < channels_.size())
    {
        channels_[channel].triple = {x, y, z};
    }
}

void MotionPlayer::SetChannelTarget(size_t channel, float x, float y, float z)
{
    if (channel < channels_.size())
    {
        channels_[channel].target = {x, y, z};
    }
}

void MotionPlayer::ApplyFirstFrame() const
{
    for (size_t i = 0; i < bindings_.size() && i < channels_.size(); ++i)
    {
        const MotionBinding& binding = bindings_[i];
        WorldObject* node = binding.node != nullptr ? *binding.node : nullptr;
        if (node == nullptr)
        {
            continue;
        }
        if ((binding.flags & binding_flags::kSetPosition) != 0)
        {
            node->placement = channels_[i].firstPosition;
        }
        if ((binding.flags & binding_flags::kSetRotation) != 0)
        {
            SetNodeRotation(*node, channels_[i].firstRotation);
        }
    }
}

Vector3 MotionPlayer::KeyAt(const std::vector<float>& floats, int32_t first, int32_t frame) const
{
    const size_t at = static_cast<size_t>(first) + 3 * static_cast<size_t>(frame);
    return {floats[at], floats[at + 1], floats[at + 2]};
}

bool MotionPlayer::Advance(float dt)
{
    if (!(duration_ > 0.0f) || keys_ == nullptr)
    {
        return false;
    }
    time_ = std::fmod(time_ + dt, duration_);
    if (time_ < 0.0f)
    {
        time_ += duration_;
    }
    const int32_t frame = std::min(TruncateToInt32(time_ / frameTime_), frameCount_ - 1);
    const int32_t next = frame + 1 < frameCount_ ? frame + 1 : 0;
    const float fraction = time_ / frameTime_ - static_cast<float>(frame);
    for (size_t i = 0; i < bindings_.size() && i < channels_.size(); ++i)
    {
        const MotionBinding& binding = bindings_[i];
        WorldObject* node = binding.node != nullptr ? *binding.node : nullptr;
        if (node == nullptr)
        {
            continue;
        }
        if (!PlaceChannel(binding, channels_[i], *node, frame, next, fraction))
        {
            return false;
        }
        TurnChannel(binding, channels_[i], *node, frame, next, fraction);
    }
    return true;
}

bool MotionPlayer::PlaceChannel(const MotionBinding& binding, MotionPlayerChannel& channel,
                                WorldObject& node, int32_t frame, int32_t next, float fraction)
{
    const uint32_t flags = binding.flags;
    if ((flags & binding_flags::kSetPosition) == 0 || channel.positionKeys < 0)
    {
        return true;
    }
    const std::vector<float>& floats = keys_->positions;
    Vector3 position;
    if ((flags & binding_flags::kRelative) == 0)
    {
        position = Lerp(KeyAt(floats, channel.positionKeys, frame),
                        KeyAt(floats, channel.positionKeys, next), fraction);
        if ((flags & binding_flags::kInNodeFrame) != 0)
        {
            position = TurnedBy(node.matrix, position);
        }
    }
    else
    {
        // The step into this frame; the first frame's comes from the last.
        const int32_t previous = frame > 0 ? frame - 1 : frameCount_ - 1;
        const Vector3 from = KeyAt(floats, channel.positionKeys, previous);
        const Vector3 to = KeyAt(floats, channel.positionKeys, frame);
        Vector3 step = {to.x - from.x, to.y - from.y, to.z - from.z};
        if ((flags & binding_flags::kInNodeFrame) != 0)
        {
            step = TurnedBy(node.matrix, step);
        }
        position = {node.placement.x + step.x, node.placement.y + step.y,
                    node.placement.z + step.z};
    }
    if ((flags & binding_flags::kAddOffset) != 0)
    {
        position = {position.x + channel.offset.x, position.y + channel.offset.y,
                    position.z + channel.offset.z};
    }
    if ((flags & binding_flags::kFollowGround) != 0 && ground_.triangleList != nullptr)
    {
        if (channel.groundTriangle == 0)
        {
            ground_.x1 = position.x;
            ground_.z1 = position.z;
            GroundLookup(ground_);
            if (ground_.surface == GroundQuery::kNoGround)
            {
                return false;
            }
            position.y = ground_.height;
        }
        else
        {
            ground_.cachedTriangle = channel.groundTriangle;
            ground_.x1 = node.placement.x;
            ground_.z1 = node.placement.z;
            ground_.x2 = position.x;
            ground_.z2 = position.z;
            GroundWalk(ground_);
            if (ground_.surface == GroundQuery::kNoGround)
            {
                return true;  // off the ground: the node stays
            }
            position.y = ground_.height;
        }
        channel.groundTriangle = ground_.cachedTriangle;
    }
    node.placement = position;
    return true;
}

void MotionPlayer::TurnChannel(const MotionBinding& binding, const MotionPlayerChannel& channel,
                               WorldObject& node, int32_t frame, int32_t next, float fraction) const
{
    if ((binding.flags & binding_flags::kFaceTarget) != 0)
    {
        const float dx = channel.target.x - node.placement.x;
        const float dz = channel.target.z - node.placement.z;
        const float distance = SqrtFloat(dx * dx + dz * dz);
        if (distance >= kSmallestTargetDistance)
        {
            const float heading = sim::Acos(dz / distance * kAcosGuard);
            node.angles[1] = dx < 0.0f ? -heading : heading;
        }
        return;
    }
    if ((binding.flags & binding_flags::kSetRotation) == 0 || channel.rotationKeys < 0)
    {
        return;
    }
    const std::vector<float>& floats = keys_->rotations;
    SetNodeRotation(node, Lerp(KeyAt(floats, channel.rotationKeys, frame),
                               KeyAt(floats, channel.rotationKeys, next), fraction));
}

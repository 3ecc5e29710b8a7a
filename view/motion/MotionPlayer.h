#pragma once

// A general keyframe player for motion scenes: any number of scene objects, each bound to a
// node by the caller, play their position and rotation keys as a looping animation at 20
// frames a second. A binding can make the motion relative, turn it into the node's own frame,
// add an offset, keep the node on the ground or turn it towards a target point.
//
// It reads the same scene text as MotionFile but keeps the keys as the scene gives them
// (units and degrees), one value per frame, and has its own cache "%s.mpc", little-endian:
//
//   u32 frame count, u32 position floats, u32 rotation floats, u32 channel count,
//   the position floats, the rotation floats,
//   per channel: f32 first position x, y, z; f32 first rotation (heading, pitch, bank);
//                i32 index of its first position float, i32 of its first rotation float
//                (-1: none)
//
// A channel's floats are frame count triples from its index on. Main thread only.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "core/world/MeshRecords.h"
#include "race/ground/GroundQuery.h"
#include "view/motion/SceneText.h"

class GroundMesh;
struct WorldObject;

namespace binding_flags
{
inline constexpr uint32_t kSetPosition = 0x1;
inline constexpr uint32_t kSetRotation = 0x2;
inline constexpr uint32_t kLoadedObject = 0x10;  // found by its "LoadObject" line (the default)
inline constexpr uint32_t kNullObject = 0x20;    // found by its "AddNullObject" line
inline constexpr uint32_t kRelative = 0x40;      // each frame's step is added to the node
inline constexpr uint32_t kInNodeFrame = 0x80;   // turned by the node's orientation
inline constexpr uint32_t kAddOffset = 0x100;
inline constexpr uint32_t kFollowGround = 0x400;
inline constexpr uint32_t kFaceTarget = 0x800;  // the heading turns towards the target point
}  // namespace binding_flags

// One scene object and the node it moves.
struct MotionBinding
{
    uint32_t nameIndex;  // into the caller's object names
    WorldObject** node;  // where the caller keeps the node
    uint32_t flags;
};

struct MotionPlayerChannel
{
    int32_t positionKeys = -1;  // index of the first position float, -1 none
    int32_t rotationKeys = -1;
    Vector3 firstPosition{};
    Vector3 firstRotation{};  // heading, pitch, bank in degrees
    Vector3 offset{};
    Vector3 triple{};
    Vector3 target{};
    uint32_t groundTriangle = 0;  // the ground under the node, 0 before the first lookup
};

class MotionPlayer
{
public:
    static constexpr float kRate = 20.0f;  // frames per second

    MotionPlayer() = default;
    virtual ~MotionPlayer();
    MotionPlayer(const MotionPlayer&) = delete;
    MotionPlayer& operator=(const MotionPlayer&) = delete;

    // Forgets the keys (another player's stay with it) and the channels.
    void Clear();
    // Reads "%s.lws" for the bound objects; an object the scene lacks is reported and plays
    // nothing.
    bool ConvertScene(std::string_view name, std::span<const std::string_view> objectNames,
                      std::span<const MotionBinding> bindings);
    // Reads the cache "%s.mpc" made for these bindings and puts the nodes at their first frame.
    bool Load(std::string_view name, uint32_t unused, std::span<const MotionBinding> bindings);
    bool Save(std::string_view name) const;
    // Plays another player's keys on other nodes from their first frame.
    void ShareFrom(const MotionPlayer& other, std::span<const MotionBinding> bindings);

    bool ReadSceneText(std::string_view name);
    int32_t FindLine(int32_t fromLine, std::string_view keyword) const;
    bool ReadFrameRange();

    void SetRate(float framesPerSecond);
    void SetGround(const GroundMesh* ground) { ground_.triangleList = ground; }
    void SetChannelOffset(size_t channel, float x, float y, float z);
    void SetChannelTriple(size_t channel, float x, float y, float z);
    void SetChannelTarget(size_t channel, float x, float y, float z);

    // Moves the time on, looping, and places the bound nodes; false when there is nothing to
    // play or a node that follows the ground first finds none under it.
    bool Advance(float dt);

    int32_t FrameCount() const { return frameCount_; }
    float Duration() const { return duration_; }
    float Time() const { return time_; }
    const std::vector<MotionPlayerChannel>& Channels() const { return channels_; }

    // The cache's bytes, and nothing unless they are a whole cache for that many channels.
    std::vector<uint8_t> EncodeCache() const;
    bool DecodeCache(std::span<const uint8_t> bytes, size_t channelCount);

private:
    struct Keys
    {
        std::vector<float> positions;
        std::vector<float> rotations;
    };

    void ApplyFirstFrame() const;
    Vector3 KeyAt(const std::vector<float>& floats, int32_t first, int32_t frame) const;
    // False when a node that follows the ground finds none at its first lookup.
    bool PlaceChannel(const MotionBinding& binding, MotionPlayerChannel& channel, WorldObject& node,
                      int32_t frame, int32_t next, float fraction);
    void TurnChannel(const MotionBinding& binding, const MotionPlayerChannel& channel,
                     WorldObject& node, int32_t frame, int32_t next, float fraction) const;

    SceneText scene_;
    int32_t firstFrame_ = 0;
    int32_t lastFrame_ = 0;
    int32_t frameCount_ = 0;
    std::shared_ptr<const Keys> keys_;  // shared with the players that play them too
    std::vector<MotionPlayerChannel> channels_;
    std::vector<MotionBinding> bindings_;
    float duration_ = 0.0f;
    float time_ = 0.0f;
    float frameTime_ = 1.0f / kRate;
    float rate_ = kRate;
    GroundQuery ground_;
};

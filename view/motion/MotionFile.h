#pragma once

// One motion clip of a rider and his bike: per frame the position of the body's root, three
// angles for each of the 13 body parts, and the bike's position and angles. Clips are read
// from their binary cache ("%s.bmo") in the menu archive; when there is none, the scene text
// ("%s.lws") is converted and the cache written as a plain file for later runs.
//
// Evaluation first places the root (EvaluateRoot or EvaluateBikeRoot), which remembers the
// frame and the mirror flag; the angle evaluations that follow read that frame. Mirroring
// negates the root's x, heading and bank and swaps left and right limbs. Main thread only.

#include <array>
#include <cstdint>
#include <numbers>
#include <span>
#include <string_view>

#include "view/motion/MotionTracks.h"
#include "view/motion/SceneText.h"

// The scene objects of the body parts in track order (compared in lower case; "h\xFCfte" is
// the hip), and the part each one plays when the clip runs mirrored.
inline constexpr std::array<std::string_view, kMotionPartCount> kMotionPartNames = {
    "h\xFC"
    "fte",
    "torso",
    "o_schnk_links",
    "o_schnk_rechts",
    "u_schnk_links",
    "u_schnk_rechts",
    "o-arm_links",
    "o-arm_rechts",
    "u-arm_links",
    "u-arm_rechts",
    "hand_links",
    "hand_rechts",
    "helm",
};
inline constexpr std::array<int32_t, kMotionPartCount> kMotionPartMirror = {0, 1, 3, 2,  5,  4, 7,
                                                                            6, 9, 8, 11, 10, 12};
inline constexpr std::string_view kMotionBikeName = "bike";

inline constexpr float kPositionUnit = 0.015625f;  // units per stored position step
inline constexpr float kAngleUnit = static_cast<float>(2.0 * std::numbers::pi / 8192.0);

// Clip flag bit 0: the root's x and z come out multiplied by the rate.
inline constexpr uint32_t kClipRootScaledByRate = 1;

class MotionFile
{
public:
    MotionFile() = default;
    virtual ~MotionFile();
    MotionFile(const MotionFile&) = delete;
    MotionFile& operator=(const MotionFile&) = delete;

    // Forgets the tracks, the frame range and any scene text.
    void Clear();
    // name: the clip's path without extension. A cache shorter than 13 bytes or damaged fails
    // without a message; a missing one is converted from the scene.
    bool Load(std::string_view name, uint32_t flags, float rate, uint32_t loop);
    // Converts "%s.lws" and writes "%s.bmo"; the clip then holds what a later Load reads.
    bool ConvertScene(std::string_view name);

    // Steps of the conversion.
    bool ReadSceneText(std::string_view name);
    bool ReadFrameRange();
    // Reads a body part's or the bike's keys into its tracks; false when the object is
    // unknown or not in the scene (its tracks stay as they are).
    bool ReadObjectKeys(std::string_view objectName);
    int32_t FindLine(int32_t fromLine, std::string_view keyword) const;

    void SetRate(float rate);

    // The frame position after moving step seconds on from frame: wrapped when the clip
    // loops, else held at the frame count. Results in units.
    float EvaluateRoot(float frame, float step, float& x, float& y, float& z, uint32_t mirror);
    float EvaluateBikeRoot(float frame, float step, float& x, float& y, float& z, uint32_t mirror);
    // Radians at the frame of the last root evaluation.
    void EvaluatePart(int32_t part, float& a, float& b, float& c) const;
    void EvaluateBikeAngles(float& a, float& b, float& c) const;

    bool IsLoaded() const { return tracks_.frameCount > 0; }
    int32_t FrameCount() const { return tracks_.frameCount; }
    int32_t FirstFrame() const { return firstFrame_; }
    int32_t LastFrame() const { return lastFrame_; }
    float Duration() const { return duration_; }
    float Speed() const { return tracks_.speed; }
    float Rate() const { return rate_; }
    uint32_t Flags() const { return flags_; }
    uint32_t Loop() const { return loop_; }
    uint32_t Mirrored() const { return mirrored_; }
    uint32_t FrameIndex() const { return frameIndex_; }
    float FrameFraction() const { return frameFraction_; }

    // Track 0 is the root's positions, 1 + p the angles of body part p.
    std::span<const MotionTriple> RiderTrack(int32_t track) const
    {
        return tracks_.RiderTrack(track);
    }
    std::span<const MotionTriple> BikePositions() const { return tracks_.BikeTrack(0); }
    std::span<const MotionTriple> BikeAngles() const { return tracks_.BikeTrack(1); }

private:
    // Takes decoded tracks and fills each track's last slot; false, cleared, for none.
    bool TakeTracks(std::optional<MotionTracks> tracks);
    float EvaluatePosition(std::span<const MotionTriple> track, float frame, float step, float& x,
                           float& y, float& z, uint32_t mirror);
    void EvaluateAngles(std::span<const MotionTriple> track, float& a, float& b, float& c) const;
    float ScaledRootSpeed() const;

    MotionTracks tracks_;
    SceneText scene_;
    uint32_t flags_ = 0;
    float rate_ = 0.0f;
    uint32_t loop_ = 0;
    float duration_ = 0.0f;
    int32_t firstFrame_ = 0;
    int32_t lastFrame_ = 0;
    uint32_t mirrored_ = 0;
    uint32_t frameIndex_ = 0;
    float frameFraction_ = 0.0f;
};

// Turns the pair (a, b) by the third angle of the triple (radians).
void RotateXZ(const float (&angles)[3], float& a, float& b);

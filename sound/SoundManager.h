#pragma once

// The game's sound front end, g_soundManager: it owns the sound graph (the wave output, a PCM
// root and two 32-voice samplers) and the sound sets. In the menus the engine sampler plays the
// menu sounds of "sound/menusounds.dat"; in a race it plays two engine loops for each of the
// riders nearest the camera, and the effect sampler plays the road, wind, tyre and crash sounds.
//
// Every operation does nothing (false where it answers) while g_soundEnabled is off.
//
// Threads: main thread, except HoldMixing, which the music worker calls too. The samplers lock
// themselves against the mixing on the timer thread.

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "sound/EchoNode.h"
#include "sound/MenuSoundTable.h"
#include "sound/PcmOutputNode.h"
#include "sound/Sampler.h"
#include "sound/SoundBank.h"
#include "sound/WaveOutput.h"

// Sound is on: the set-up allows it and the output runs. Everything that would make a sound
// tests it; it starts on, for what runs before the set-up is read.
inline std::atomic<bool> g_soundEnabled{true};

struct SoundVector
{
    float x = 0.0f;
    float y = 0.0f;  // height
    float z = 0.0f;
};

// What one rider's sounds are made from: the race view fills it from the rider's record after
// each simulation step.
struct RiderSoundInput
{
    static constexpr size_t kEffectLevels = 6;

    bool inactive = false;     // out of the race
    SoundVector position;      // in the world
    SoundVector viewPosition;  // the rider's main object as the view transform places it:
                               // x lateral (right), y height, z depth
    SoundVector velocity;      // in the world, per second
    float speed = 0.0f;
    float throttle = 0.0f;  // 0..1
    uint32_t gear = 0;
    float engineRpm = 0.0f;
    std::array<float, kEffectLevels> effectLevel{};  // the race simulation's effect loudness
};

// One race frame as the engine sounds see it.
struct RaceSoundFrame
{
    std::span<const RiderSoundInput> riders;  // by rider number, g_riderCount of them
    SoundVector cameraPosition;
    float cameraHeadingRad = 0.0f;
    uint32_t cameraMode = 0;  // 0 and 1 ride with the viewed rider
    uint32_t viewedRider = 0;
    uint32_t playerRider = 0;
    uint32_t raceClockMs = 0;
};

// What the engine-voice step leaves for each rider.
struct RiderSoundResult
{
    int32_t soundSlot = -1;         // engine slot, -1 = none
    float soundAttenuation = 0.0f;  // 0..1
    float soundPan = 0.0f;          // -1 left .. +1 right
    float soundPitchOffset = 0.0f;  // Doppler, Hz
};

// The difference of the bearings atan(x/z) of two points, each pi/2 for |z| < 0.001 and moved
// by pi for negative z, wrapped into -pi..pi.
float AngleBetween(float x1, float z1, float x2, float z2);

// A sound with what it is played at.
struct SampleRecord
{
    uint32_t reserved = 0;
    float pitch = 0.0f;
    float volume = 0.0f;
    float pan = 0.0f;
    SampleBuffer sample;
};

class SoundManager
{
public:
    static constexpr int kRiderCount = 26;
    static constexpr int kEngineSlots = 16;
    static constexpr int kEngineLoopsPlayed = 2;
    static constexpr int kRecentEffects = 4;
    static constexpr const char* kMenuSoundFile = "sound/menusounds.dat";

    SoundManager();
    virtual ~SoundManager();
    SoundManager(const SoundManager&) = delete;
    SoundManager& operator=(const SoundManager&) = delete;

    // The output at the set-up file's rate and buffer length, pumped from outside. When it
    // cannot start, sound is off for the run.
    bool StartOutput();
    bool StopOutput();
    // Around a movie: the device goes, the buffers and the graph stay.
    void SuspendOutput();
    void ResumeOutput();
    // Nesting: while held the output mixes but queues nothing; taking the first hold waits
    // for a running mix.
    void HoldMixing(bool hold);

    // The race set: the class's engine bank, the looped effect voices, two engine loops per
    // slot. The callers never hold both sets at once.
    void LoadRaceSounds();
    void ReleaseRaceSounds();
    void LoadMenuSounds();
    void ReleaseMenuSounds();
    bool LoadEngineBank(std::string_view fileName);

    bool StartEventVoices();
    // Once a race frame: engine slots to the nearest riders, their voices, the effect voices.
    void UpdateEngineSounds(const RaceSoundFrame& frame);
    void UpdateEngineVoices(int slot, int rider, float rpm, float volume,
                            const RaceSoundFrame& frame);
    void UpdateEventVoices(const RaceSoundFrame& frame);
    // Effects the race step reports; a rider's effects come at most once a second.
    void PlayImpactSound(int rider);
    void PlayCollisionSound(int rider);

    void PlayMenuSample(const SampleBuffer& sample, float volume, float pan, float pitch);
    // The button's sound when it lights up (highlighted) or is pressed; nothing for a button
    // without a loaded sound.
    void PlayMenuSound(uint32_t button, bool highlighted);
    // Both samplers follow the settings' volume.
    void ApplyVolume();
    void UpdateFrame() {}

    bool IsEnabled() const;
    // Frees the bank's samples.
    void StopAllSamples();
    // Starts the slot's loops (on) as a race start does, or only notes that they are off.
    void SetEngineSlot(int slot, bool on);
    // Loop 0 of the slot from its attack.
    void RetriggerEngine(int slot);
    void SilenceEngineSlot(int slot);
    // The rider's newest effect is less than a second old.
    bool IsRiderEffectRecent(int rider) const;

    // The bank's engine loop or effect sound i, freed or taken from a WAVE image (the loops
    // interleaved when the set-up asks for interpolation; an image that does not load leaves
    // the entry empty). A sampler plays straight from these: while the one that plays the
    // entry is connected, nothing changes. False for that, a bad index or a bad image.
    bool FreeEngineLoop(size_t i);
    bool FreeEventSound(size_t i);
    bool SetEngineLoopData(size_t i, std::vector<uint8_t> image);
    bool SetEventSoundData(size_t i, std::vector<uint8_t> image);
    // The whole file, through the menu archive, into the sample.
    bool LoadSampleFile(std::string_view name, SampleBuffer& sample) const;
    // Once on the menu sampler, at 0.8 of the record's volume.
    bool PlaySampleRecord(const SampleRecord& record);

    WaveOutput& Output() { return output_; }
    Sampler& EngineSampler() { return engineSampler_; }
    Sampler& EffectSampler() { return effectSampler_; }
    const RiderSoundResult& RiderResult(int rider) const { return riders_[rider]; }
    int32_t EngineSlotOwner(int slot) const { return engineSlotOwner_[slot]; }
    const MenuSoundTable& MenuSounds() const { return menuSounds_; }
    const SoundBank& Bank() const { return bank_; }
    bool HasMenuSample(uint32_t sound) const;

private:
    struct RecentEffect
    {
        uint32_t timeMs = 0;
        int32_t rider = -1;
        uint32_t kind = 0;  // 4 impact, 5..7 collision
    };

    // Hz added to a loop's pitch: the Doppler shift, then the rider's own tuning.
    struct PitchShift
    {
        float doppler = 0.0f;
        float rider = 0.0f;
    };

    static constexpr uint32_t kImpactKind = 4;
    static constexpr uint32_t kCollisionKind = 5;

    int EngineVoiceCount() const;
    float SettingsGain() const;
    void AssignEngineSlot(int rider, const RaceSoundFrame& frame, int nearest);
    void StartEngineLoops(int slot);
    void UpdateLoopVoice(int voice, int loop, float rpm, float volume, float attenuation,
                         PitchShift shift, float pan);
    void SilenceFreeSlots();
    void UpdateRoadVoice(int voice, int effect, float level);
    bool TakeEffectSlot(int rider, uint32_t kind, int& voice);
    void LoadMenuSample(uint32_t sound);

    float mixScale_ = 0.0f;
    SoundVector listenerVelocity_;
    float listenerSpeed_ = 0.0f;
    WaveOutput output_;
    bool menuSoundsLoaded_ = false;
    bool raceSoundsLoaded_ = false;
    Sampler engineSampler_;
    Sampler effectSampler_;
    PcmOutputNode pcmOut_;
    EchoNode echo_;  // never opened: the game plays no echo
    std::array<bool, kEngineSlots> slotStarted_{};
    bool bankLoaded_ = false;
    float engineRpm_ = 2000.0f;
    SoundBank bank_;

    std::array<int32_t, kEngineSlots> engineSlotOwner_{};
    std::array<uint32_t, kRiderCount> riderGear_{};
    std::array<uint32_t, kRiderCount> riderAttackMs_{};
    std::array<RiderSoundResult, kRiderCount> riders_{};
    std::array<RecentEffect, kRecentEffects> recentEffects_{};
    int recentEffectIndex_ = 0;
    uint32_t collisionCounter_ = 0;
    std::array<bool, 2> roadVoiceOn_{};
    // Of the latest race frame, for the effects the race step reports after it.
    uint32_t frameClockMs_ = 0;
    uint32_t playerRider_ = 0;

    MenuSoundTable menuSounds_;
    std::array<std::unique_ptr<SampleBuffer>, MenuSoundTable::kMaxSounds + 1> menuSamples_;
};

extern SoundManager g_soundManager;

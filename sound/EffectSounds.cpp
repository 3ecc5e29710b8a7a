// The effect voices of a race: road and wind loops that follow the viewed rider's effect
// levels, and the impact and collision sounds the race step reports, each rider's at most once
// a second.

#include <algorithm>

#include "sound/SoundManager.h"
#include "sound/SoundTables.h"

namespace
{
constexpr uint32_t kSquealLoopStart = 31195;
constexpr uint32_t kScrapeLoopStart = 50945;
constexpr int kImpactVoiceBase = 4;
constexpr float kRoadVoiceThreshold = 0.1f;
constexpr float kImpactLevelScale = 0.4f;
constexpr float kStoppedSpeed = 1.0f;
constexpr int32_t kEffectSlotBusyMs = 1001;
constexpr int32_t kRiderEffectGapMs = 1000;

// The looped effect sounds of a race: effect sound, voice, pitch taken from which sound.
struct LoopedEffect
{
    int sound;
    int voice;
    int pitchOf;
};
constexpr LoopedEffect kLoopedEffects[] = {
    {1, 0, 1}, {2, 1, 2}, {0, 2, 0}, {3, 3, 3}, {4, 4, 4}, {8, 8, 4},
};

float Capped(float level)
{
    return std::min(level, 1.0f);
}

int32_t AgeMs(uint32_t nowMs, uint32_t thenMs)
{
    return static_cast<int32_t>(nowMs - thenMs);
}
}  // namespace

bool SoundManager::StartEventVoices()
{
    if (!IsEnabled())
    {
        return false;
    }
    bank_.eventSounds[1].SetLoop(kSquealLoopStart, 0);
    bank_.eventSounds[4].SetLoop(kScrapeLoopStart, 0);
    for (const LoopedEffect& effect : kLoopedEffects)
    {
        effectSampler_.PlayLoopedSampleBuffer(bank_.eventSounds[effect.sound], 0.0f, 0.0f,
                                              bank_.eventPitch[effect.pitchOf], effect.voice);
    }
    return true;
}

void SoundManager::UpdateEventVoices(const RaceSoundFrame& frame)
{
    if (!IsEnabled() || frame.viewedRider >= frame.riders.size() ||
        frame.viewedRider >= static_cast<uint32_t>(kRiderCount))
    {
        return;
    }
    const RiderSoundInput& viewed = frame.riders[frame.viewedRider];
    const float attenuation = riders_[frame.viewedRider].soundAttenuation;
    UpdateRoadVoice(1, 2, Capped(viewed.effectLevel[0] * attenuation));
    UpdateRoadVoice(0, 1, Capped(viewed.effectLevel[1] * attenuation));
    const float playerSpeed =
        frame.playerRider < frame.riders.size() ? frame.riders[frame.playerRider].speed : 0.0f;
    const float speedPitch = 10000.0f + 285.7143f * playerSpeed;
    effectSampler_.SetVolPitchPan(2, Capped(viewed.effectLevel[2] * attenuation), speedPitch, 0.0f);
    effectSampler_.SetVolPitchPan(8, Capped(viewed.effectLevel[3] * attenuation), speedPitch, 0.0f);
    effectSampler_.SetSingleEvent(3, kSamplerVolume,
                                  FloatWord(Capped(viewed.effectLevel[4] * attenuation)));
    for (int k = 0; k < kRecentEffects; ++k)
    {
        RecentEffect& effect = recentEffects_[k];
        if (effect.kind != kImpactKind || effect.rider < 0 ||
            static_cast<size_t>(effect.rider) >= frame.riders.size())
        {
            continue;
        }
        const RiderSoundInput& rider = frame.riders[effect.rider];
        const float level = Capped(rider.effectLevel[5] * riders_[effect.rider].soundAttenuation *
                                   kImpactLevelScale);
        // A stopped rider's scrape ends; its loop would otherwise keep the last level.
        const bool stopped = rider.speed < kStoppedSpeed;
        effectSampler_.SetSingleEvent(kImpactVoiceBase + k, kSamplerVolume,
                                      FloatWord(stopped ? 0.0f : level));
        if (stopped)
        {
            effect.rider = -1;
        }
    }
}

// Silenced once when the level falls to the threshold; started afresh from its first sample
// when it rises above it again, then following the level.
void SoundManager::UpdateRoadVoice(int voice, int effect, float level)
{
    bool& on = roadVoiceOn_[voice];
    if (level <= kRoadVoiceThreshold)
    {
        if (on)
        {
            effectSampler_.SetSingleEvent(voice, kSamplerVolume, FloatWord(0.0f));
            on = false;
        }
        return;
    }
    if (!on)
    {
        effectSampler_.RestartSample(bank_.eventSounds[effect], 0, voice);
        on = true;
        return;
    }
    effectSampler_.SetSingleEvent(voice, kSamplerVolume, FloatWord(level));
}

// The ring of the four latest effects gives each its voice. Nothing when the slot's effect is
// not yet a second old, or the rider had an effect in the last second.
bool SoundManager::TakeEffectSlot(int rider, uint32_t kind, int& voice)
{
    if (!IsEnabled() || !raceSoundsLoaded_ || rider < 0 || rider >= kRiderCount ||
        AgeMs(frameClockMs_, recentEffects_[recentEffectIndex_].timeMs) < kEffectSlotBusyMs ||
        IsRiderEffectRecent(rider))
    {
        return false;
    }
    recentEffects_[recentEffectIndex_] = {frameClockMs_, rider, kind};
    voice = kImpactVoiceBase + recentEffectIndex_;
    recentEffectIndex_ = (recentEffectIndex_ + 1) & (kRecentEffects - 1);
    return true;
}

bool SoundManager::IsRiderEffectRecent(int rider) const
{
    const RecentEffect* newest = nullptr;
    for (const RecentEffect& effect : recentEffects_)
    {
        if (effect.rider == rider &&
            (newest == nullptr || AgeMs(effect.timeMs, newest->timeMs) < 0))
        {
            newest = &effect;
        }
    }
    return newest != nullptr && AgeMs(frameClockMs_, newest->timeMs) < kRiderEffectGapMs;
}

void SoundManager::PlayImpactSound(int rider)
{
    int voice = 0;
    if (TakeEffectSlot(rider, kImpactKind, voice))
    {
        effectSampler_.PlayLoopedSampleBuffer(bank_.eventSounds[4], 0.0f, 0.0f, bank_.eventPitch[4],
                                              voice);
    }
}

void SoundManager::PlayCollisionSound(int rider)
{
    const uint32_t turn = collisionCounter_ % 3;
    int voice = 0;
    if (!TakeEffectSlot(rider, kCollisionKind + turn, voice))
    {
        return;
    }
    const RiderSoundResult& heard = riders_[rider];
    float volume =
        kCollisionGains[collisionCounter_ & 7] * heard.soundAttenuation * heard.soundAttenuation;
    if (static_cast<uint32_t>(rider) != playerRider_)
    {
        volume *= 0.5f;
    }
    effectSampler_.PlaySampleBuffer(bank_.eventSounds[5 + turn], volume, heard.soundPan,
                                    bank_.eventPitch[5 + turn] + heard.soundPitchOffset, voice);
    ++collisionCounter_;
}

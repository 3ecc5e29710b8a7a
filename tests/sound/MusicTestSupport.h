#pragma once

// Test doubles of the music's clock and drive.

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sound/CdAudioDevice.h"
#include "sound/CdMusic.h"

// Time that passes only when a test or a sleeper moves it; sleeping also gives the other
// threads a moment of real time.
class ManualMusicClock final : public MusicClock
{
public:
    uint32_t NowMs() override { return nowMs_.load(); }
    void SleepMs(uint32_t ms) override
    {
        nowMs_.fetch_add(ms);
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    void Advance(uint32_t ms) { nowMs_.fetch_add(ms); }

private:
    std::atomic<uint32_t> nowMs_{0};
};

// A disc of trackCount tracks, track n lasting n minutes, n seconds and n frames; every
// command is logged.
class RecordingDrive final : public CdAudioDevice
{
public:
    bool Open() override { return Log("open") && present; }
    void Close() override { Log("close"); }
    bool Stop() override { return Log("stop"); }
    std::optional<uint32_t> TrackCount() override
    {
        return present ? std::optional(trackCount) : std::nullopt;
    }
    std::optional<DiscLength> TrackLength(uint32_t track) override
    {
        return DiscLength{track, track, track};
    }
    bool SetTrackTimeFormat() override { return Log("format"); }
    bool Play(const TrackPosition& from, const TrackPosition& to) override
    {
        char text[64];
        std::snprintf(text, sizeof text, "play %u %u:%02u to %u %u:%02u", from.track, from.minutes,
                      from.seconds, to.track, to.minutes, to.seconds);
        Log(text);
        if (onPlay)
        {
            onPlay();
        }
        return !playFails;
    }

    std::vector<std::string> Commands() const
    {
        const std::lock_guard lock(mutex_);
        return log;
    }

    bool present = true;
    uint32_t trackCount = 0;
    bool playFails = false;
    std::function<void()> onPlay;
    std::vector<std::string> log;

private:
    bool Log(const std::string& command)
    {
        const std::lock_guard lock(mutex_);
        log.push_back(command);
        return true;
    }

    mutable std::mutex mutex_;
};

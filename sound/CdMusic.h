#pragma once

// The game's music, played from the audio-CD tracks by situation. A worker thread polls every
// 100 ms: it plays the track the game asked for last, and plays the current track again once
// its length has passed, so that every track repeats until another is asked for. Every command
// to the drive is bracketed by a hold of the software mixing. All of it is skipped while
// g_soundEnabled is off.
//
// Threads: the main thread asks (SelectMusicTrack, StopCdTrack) and starts and stops the
// worker; the worker commands the drive. The requested and current tracks are atomic words;
// the worker never overwrites a request that came in after the one it acted on.

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

#include "sound/CdAudioDevice.h"

class SoundManager;

// The worker's time: ms and sleeping. The game's runs in real time.
class MusicClock
{
public:
    virtual ~MusicClock() = default;
    virtual uint32_t NowMs() = 0;
    virtual void SleepMs(uint32_t ms) = 0;
};

enum class MusicSituation : int32_t
{
    Intro = 0,
    Menu = 1,
    RaceMenu = 2,
    Telemetry = 3,
    Race = 4,
};

class CdMusic
{
public:
    static constexpr int32_t kNoTrack = -1;
    static constexpr int32_t kMaxTracks = 10;
    static constexpr uint32_t kPollMs = 100;
    static constexpr uint32_t kStopPollMs = 10;

    // The drive, the sound manager (for the holds) and the clock must outlive the music.
    CdMusic(CdAudioDevice& drive, SoundManager& sound, MusicClock& clock);
    ~CdMusic();
    CdMusic(const CdMusic&) = delete;
    CdMusic& operator=(const CdMusic&) = delete;

    // Reads the track table and starts the worker, when none runs and sound is on.
    void Start();
    // Stops the music, ends the worker and waits for it.
    void StopWorker();
    // Asks for no track and waits until the worker has stopped playing; at once when no
    // worker runs.
    void StopTrack();
    // Asks for the track of the situation; randomWord picks among the situation's tracks.
    // Nothing when the settings switch the music (or the race music) off.
    void SelectTrack(MusicSituation situation, uint32_t randomWord);
    bool IsPlaying() const;

    // The worker's parts, each run on the worker's thread.
    void ReadTrackTable();
    // One poll: plays a new request, or the current track again once its length has passed.
    void RunWorkerPass();
    // Under a hold of the mixing.
    void PlayTrackLocked(int32_t track);

    int32_t CurrentTrack() const { return currentTrack_.load(); }
    int32_t RequestedTrack() const { return requestedTrack_.load(); }
    int32_t TrackCount() const { return trackCount_.load(); }
    uint32_t TrackLengthMs(int32_t track) const;
    bool IsWorkerRunning() const { return workerRunning_.load(); }
    void Request(int32_t track) { requestedTrack_.store(track); }

private:
    void RunWorker();
    void PlayTrack(int32_t track);

    CdAudioDevice& drive_;
    SoundManager& sound_;
    MusicClock& clock_;

    std::atomic<int32_t> currentTrack_{kNoTrack};
    std::atomic<int32_t> requestedTrack_{kNoTrack};
    std::atomic<int32_t> trackCount_{0};
    std::array<std::atomic<uint32_t>, 16> trackLengthMs_{};
    uint32_t trackStartMs_ = 0;  // worker only
    std::atomic<bool> stopWorker_{false};
    std::atomic<bool> workerRunning_{false};
    std::thread worker_;
};

// The game's music on the track folder "cdaudio" of the installation, in real time.
extern CdMusic& g_cdMusic;

void StartCdMusic();
void StopCdTrack();
void StopCdMusic();
// randomWord: the race's random table word at the low byte of the frame clock.
void SelectMusicTrack(MusicSituation situation, uint32_t randomWord);
bool IsCdMusicPlaying();

#include "sound/CdMusic.h"

#include <chrono>

#include "app/settings/MenuState.h"
#include "sound/SoundManager.h"
#include "sound/TrackFileCd.h"

namespace
{
constexpr int32_t kIntroTrack = 2;
constexpr int32_t kMenuTracks[] = {3, 4, 5, 7};
constexpr int32_t kTelemetryTracks[] = {3, 5, 7};
constexpr int32_t kRaceTracks[] = {4, 6};
constexpr const char* kTrackFolder = "cdaudio";

bool SoundOn()
{
    return g_soundEnabled.load(std::memory_order_relaxed);
}

int32_t AgeMs(uint32_t nowMs, uint32_t thenMs)
{
    return static_cast<int32_t>(nowMs - thenMs);
}

class RealTimeClock final : public MusicClock
{
public:
    uint32_t NowMs() override
    {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<uint32_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
    }
    void SleepMs(uint32_t ms) override
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
};

// The game's music lives for the whole run; nothing of it runs before StartCdMusic.
struct GameMusic
{
    RealTimeClock clock;
    TrackFileCd drive{kTrackFolder};
    CdMusic music{drive, g_soundManager, clock};
};

CdMusic& TheGameMusic()
{
    static GameMusic game;
    return game.music;
}
}  // namespace

CdMusic& g_cdMusic = TheGameMusic();

CdMusic::CdMusic(CdAudioDevice& drive, SoundManager& sound, MusicClock& clock)
    : drive_(drive), sound_(sound), clock_(clock)
{
}

CdMusic::~CdMusic()
{
    StopWorker();
}

void CdMusic::Start()
{
    if (worker_.joinable() || !SoundOn())
    {
        return;
    }
    ReadTrackTable();
    stopWorker_.store(false);
    workerRunning_.store(true);
    worker_ = std::thread(&CdMusic::RunWorker, this);
}

// A worker that has ended by itself (sound was off) is joined all the same.
void CdMusic::StopWorker()
{
    if (!worker_.joinable())
    {
        return;
    }
    StopTrack();
    stopWorker_.store(true);
    worker_.join();
    // A request the worker took up while the stop was on its way may have left a track on.
    if (currentTrack_.load() != kNoTrack)
    {
        PlayTrackLocked(kNoTrack);
    }
}

void CdMusic::StopTrack()
{
    requestedTrack_.store(kNoTrack);
    while (workerRunning_.load() && currentTrack_.load() != kNoTrack)
    {
        requestedTrack_.store(kNoTrack);
        clock_.SleepMs(kStopPollMs);
    }
}

bool CdMusic::IsPlaying() const
{
    return SoundOn() && currentTrack_.load() != kNoTrack;
}

uint32_t CdMusic::TrackLengthMs(int32_t track) const
{
    return track >= 0 && static_cast<size_t>(track) < trackLengthMs_.size()
               ? trackLengthMs_[static_cast<size_t>(track)].load()
               : 0;
}

void CdMusic::ReadTrackTable()
{
    trackCount_.store(0);
    if (!drive_.Open())
    {
        return;
    }
    const int32_t count =
        std::min<int32_t>(static_cast<int32_t>(drive_.TrackCount().value_or(0)), kMaxTracks);
    for (int32_t track = 1; track <= count; ++track)
    {
        const DiscLength length =
            drive_.TrackLength(static_cast<uint32_t>(track)).value_or(DiscLength{});
        trackLengthMs_[static_cast<size_t>(track)].store((length.minutes * 60 + length.seconds) *
                                                         1000);
    }
    trackCount_.store(count);
    drive_.Close();
}

void CdMusic::SelectTrack(MusicSituation situation, uint32_t randomWord)
{
    if (g_menuState.U8At(MenuState::kMenuMusicOffOffset) != 0 || !SoundOn())
    {
        return;
    }
    switch (situation)
    {
        case MusicSituation::Intro:
            requestedTrack_.store(kIntroTrack);
            break;
        case MusicSituation::Telemetry:
            requestedTrack_.store(kTelemetryTracks[randomWord % 3]);
            break;
        case MusicSituation::Race:
            requestedTrack_.store(g_menuState.U8At(MenuState::kRaceMusicOffOffset) != 0
                                      ? kNoTrack
                                      : kRaceTracks[randomWord & 1]);
            break;
        default:
            requestedTrack_.store(kMenuTracks[randomWord & 3]);
            break;
    }
}

void CdMusic::RunWorker()
{
    if (SoundOn())
    {
        PlayTrackLocked(kNoTrack);
        while (!stopWorker_.load())
        {
            RunWorkerPass();
            clock_.SleepMs(kPollMs);
        }
    }
    workerRunning_.store(false);
}

// A request to stop is always carried out, so that a stop waiting for it ends even when
// sound went off meanwhile.
void CdMusic::RunWorkerPass()
{
    const int32_t requested = requestedTrack_.load();
    const int32_t current = currentTrack_.load();
    int32_t chosen = kNoTrack;
    bool choose = false;
    if (requested != current && requested <= trackCount_.load())
    {
        chosen = requested;
        choose = true;
    }
    if (current != kNoTrack && AgeMs(clock_.NowMs(), trackStartMs_ + TrackLengthMs(current)) > 0)
    {
        chosen = current;
        choose = true;
    }
    if (choose && (SoundOn() || chosen == kNoTrack))
    {
        PlayTrackLocked(chosen);
    }
}

void CdMusic::PlayTrackLocked(int32_t track)
{
    sound_.HoldMixing(true);
    PlayTrack(track);
    sound_.HoldMixing(false);
}

// Only a request for the track that failed is dropped; one that came in meanwhile stays.
void CdMusic::PlayTrack(int32_t track)
{
    if (track >= 0 && track == currentTrack_.load())
    {
        PlayTrackLocked(kNoTrack);
    }
    drive_.Open();
    drive_.Stop();
    if (track < 0)
    {
        drive_.Close();
        currentTrack_.store(kNoTrack);
        return;
    }
    if (!drive_.SetTrackTimeFormat())
    {
        drive_.Close();
        return;
    }
    const uint32_t lengthSeconds = TrackLengthMs(track) / 1000;
    const auto number = static_cast<uint32_t>(track);
    const bool playing =
        drive_.Play({number, 0, 0, 0}, {number, lengthSeconds / 60, lengthSeconds % 60, 0});
    drive_.Close();
    if (playing)
    {
        trackStartMs_ = clock_.NowMs();
        currentTrack_.store(track);
        return;
    }
    currentTrack_.store(kNoTrack);
    int32_t failed = track;
    requestedTrack_.compare_exchange_strong(failed, kNoTrack);
}

void StartCdMusic()
{
    g_cdMusic.Start();
}

void StopCdTrack()
{
    g_cdMusic.StopTrack();
}

void StopCdMusic()
{
    g_cdMusic.StopWorker();
}

void SelectMusicTrack(MusicSituation situation, uint32_t randomWord)
{
    g_cdMusic.SelectTrack(situation, randomWord);
}

bool IsCdMusicPlaying()
{
    return g_cdMusic.IsPlaying();
}

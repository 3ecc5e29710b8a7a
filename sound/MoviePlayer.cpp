#include "sound/MoviePlayer.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "app/archive/CdRomSearch.h"
#include "app/device/RenderDevice.h"
#include "app/window/OutputWindow.h"
#include "core/util/Message.h"
#include "platform/Platform.h"
#include "platform/VirtualKeys.h"
#include "sound/SoundManager.h"

namespace
{
constexpr uint32_t kAlwaysShownMs = 5000;
constexpr uint32_t kEventPollMs = 100;
constexpr uint32_t kSoundBufferFrames = 1024;

bool EscapeHeld()
{
    return CurrentPlatform().IsKeyDown(vk::Escape);
}
}  // namespace

bool MoviePlayer::Open(const std::string& path, bool windowed)
{
    Release();
    path_ = path;
    if (!OpenDecoder())
    {
        ShowMessage("Sorry, I do not know how to play this file.");
        Release();
        return false;
    }
    state_ = State::Stopped;
    windowed_ = windowed;
    if (!windowed_)
    {
        CurrentPlatform().ShowCursor(false);
    }
    return true;
}

bool MoviePlayer::OpenDecoder()
{
    decoder_ = decoders_ ? decoders_() : nullptr;
    pictureWaiting_ = false;
    finished_ = false;
    pending_ = Event::None;
    pausedAtMs_ = 0;
    return decoder_ != nullptr && decoder_->Open(path_, target_);
}

void MoviePlayer::Play()
{
    if (state_ != State::Stopped && state_ != State::Paused)
    {
        return;
    }
    if (!sound_)
    {
        sound_ = CurrentPlatform().OpenAudioOut({target_.audioRate, kSoundBufferFrames});
    }
    startMs_ = CurrentPlatform().NowMs() - pausedAtMs_;
    state_ = State::Running;
}

void MoviePlayer::Pause()
{
    if (state_ == State::Running || state_ == State::Stopped)
    {
        pausedAtMs_ = MovieTimeMs();
        state_ = State::Paused;
    }
}

// Back to the start: the sound queued goes, the movie is read afresh.
void MoviePlayer::Stop()
{
    if (state_ != State::Running && state_ != State::Paused)
    {
        return;
    }
    sound_.reset();
    state_ = OpenDecoder() ? State::Stopped : State::NoMovie;
}

void MoviePlayer::Release()
{
    decoder_.reset();
    sound_.reset();
    state_ = State::NoMovie;
    pictureWaiting_ = false;
}

uint32_t MoviePlayer::MovieTimeMs() const
{
    return state_ == State::Running ? CurrentPlatform().NowMs() - startMs_ : pausedAtMs_;
}

void MoviePlayer::Run(uint32_t ms)
{
    PlayUntil(CurrentPlatform().NowMs() + ms, false);
}

MoviePlayer::Event MoviePlayer::WaitForEvent(uint32_t timeoutMs)
{
    PlayUntil(CurrentPlatform().NowMs() + timeoutMs, true);
    return std::exchange(pending_, Event::None);
}

void MoviePlayer::PlayUntil(uint32_t endMs, bool stopAtEvent)
{
    Platform& platform = CurrentPlatform();
    while (true)
    {
        if (state_ == State::Running)
        {
            PlayDue(MovieTimeMs());
        }
        const uint32_t nowMs = platform.NowMs();
        const auto leftMs = static_cast<int32_t>(endMs - nowMs);
        if ((stopAtEvent && pending_ != Event::None) || leftMs <= 0)
        {
            return;
        }
        uint32_t sleepMs = static_cast<uint32_t>(leftMs);
        if (state_ == State::Running && pictureWaiting_)
        {
            const auto dueInMs = static_cast<int32_t>(startMs_ + picture_.timeMs - nowMs);
            sleepMs = static_cast<uint32_t>(std::clamp(dueInMs, 1, leftMs));
        }
        platform.SleepMs(sleepMs);
    }
}

void MoviePlayer::PlayDue(uint32_t movieMs)
{
    while (true)
    {
        if (!pictureWaiting_ && !finished_)
        {
            ReadAhead();
        }
        if (!pictureWaiting_ || picture_.timeMs > movieMs)
        {
            return;
        }
        CurrentPlatform().Present({picture_.pixels.data(), target_.width, target_.height,
                                   target_.width * static_cast<int>(sizeof(uint16_t))});
        ++picturesShown_;
        pictureWaiting_ = false;
    }
}

void MoviePlayer::ReadAhead()
{
    while (!pictureWaiting_ && !finished_)
    {
        switch (decoder_->Next(picture_, soundItem_))
        {
            case MovieDecoder::Item::Picture:
                pictureWaiting_ = true;
                break;
            case MovieDecoder::Item::Sound:
                if (sound_)
                {
                    sound_->Queue(soundItem_.samples);
                }
                break;
            case MovieDecoder::Item::End:
                finished_ = true;
                pending_ = Event::Complete;
                break;
            case MovieDecoder::Item::Error:
                finished_ = true;
                pending_ = Event::ErrorAbort;
                break;
        }
    }
}

void PlayMovie(std::string_view fileName, OutputWindow& window, bool windowed,
               const MovieDecoderFactory& decoders)
{
    const std::optional<std::string> path = LocateDataFile(fileName, MountedCdRomRoots());
    if (!path)
    {
        return;
    }
    g_soundManager.SuspendOutput();
    {
        MoviePlayer player(decoders);
        g_renderDevice.LooseFocus();
        if (player.Open(*path, windowed))
        {
            player.Play();
            player.Run(kAlwaysShownMs);
            while (!EscapeHeld() && player.WaitForEvent(kEventPollMs) == MoviePlayer::Event::None &&
                   !EscapeHeld())
            {
            }
            player.Stop();
        }
    }
    window.PumpMessages();
    g_renderDevice.GetFocus();
    g_soundManager.ResumeOutput();
}

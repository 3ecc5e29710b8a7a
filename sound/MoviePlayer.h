#pragma once

// The movies the game shows: "Movies/Intro.mpg" at start-up and the winner's movies after a
// won race or championship. PlayMovie finds the file in the working directory or on a CD-ROM,
// gives the game's screen and sound output up, shows the movie in the game window with its
// sound on a device of its own, and returns when the movie has ended or the player pressed
// Esc, the first five seconds always shown.
//
// MoviePlayer plays one movie from its decoder: the pictures go to the platform's display at
// their times, the sound is queued ahead on its own output. It runs on the main thread, which
// it blocks while it waits: playing happens inside Run and WaitForEvent.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/AudioOut.h"
#include "sound/MovieDecoder.h"

class OutputWindow;

class MoviePlayer
{
public:
    enum class State : uint32_t
    {
        NoMovie = 0,
        Stopped = 1,
        Paused = 2,
        Running = 3,
    };
    enum class Event : uint32_t
    {
        None = 0,
        Complete = 1,
        UserAbort = 2,
        ErrorAbort = 3,
    };

    explicit MoviePlayer(MovieDecoderFactory decoders = CreateFfmpegMovieDecoder)
        : decoders_(std::move(decoders))
    {
    }

    // Opens the movie for the game window's picture. Windowed keeps the pointer as it is;
    // otherwise it is hidden while the movie plays. False, after telling the player, when the
    // movie cannot be played; the player is then released.
    bool Open(const std::string& path, bool windowed);
    void Play();
    void Pause();
    // Back to the start, stopped.
    void Stop();
    void Release();

    // Plays for the time given, whatever happens.
    void Run(uint32_t ms);
    // Plays until an event comes or the time is up; the event, or None.
    Event WaitForEvent(uint32_t timeoutMs);

    State GetState() const { return state_; }
    uint32_t PicturesShown() const { return picturesShown_; }

private:
    // Shows and queues what is due by the movie time.
    void PlayDue(uint32_t movieMs);
    // Reads up to the next picture, queueing the sound before it; notes the end.
    void ReadAhead();
    // Plays until the platform time, or until an event when stopAtEvent.
    void PlayUntil(uint32_t endMs, bool stopAtEvent);
    uint32_t MovieTimeMs() const;
    bool OpenDecoder();

    MovieDecoderFactory decoders_;
    std::string path_;
    std::unique_ptr<MovieDecoder> decoder_;
    std::unique_ptr<AudioOut> sound_;
    MovieTarget target_;
    State state_ = State::NoMovie;
    bool windowed_ = true;
    Event pending_ = Event::None;
    bool finished_ = false;
    bool pictureWaiting_ = false;
    MoviePicture picture_;
    MovieSound soundItem_;
    uint32_t startMs_ = 0;     // platform ms at which movie time 0 was
    uint32_t pausedAtMs_ = 0;  // movie time while paused or stopped
    uint32_t picturesShown_ = 0;
};

// decoders: the decoder layer, FFmpeg's in the game.
void PlayMovie(std::string_view fileName, OutputWindow& window, bool windowed,
               const MovieDecoderFactory& decoders = CreateFfmpegMovieDecoder);

#include "platform/sdl/SdlAudioStream.h"

#include <SDL.h>

#include <algorithm>
#include <bit>
#include <cstdio>
#include <span>

std::unique_ptr<SdlAudioStream> SdlAudioStream::Open(const AudioOutFormat& format, AudioFill fill)
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
    {
        std::fprintf(stderr, "Zarvo: no sound: %s\n", SDL_GetError());
        return nullptr;
    }
    std::unique_ptr<SdlAudioStream> stream(new SdlAudioStream(std::move(fill)));
    SDL_AudioSpec wanted{};
    wanted.freq = static_cast<int>(format.sampleRate);
    wanted.format = AUDIO_S16SYS;
    wanted.channels = AudioOut::kChannels;
    wanted.samples =
        static_cast<Uint16>(std::bit_ceil(std::clamp(format.bufferFrames, 1u, 1u << 15)));
    wanted.callback = &SdlAudioStream::Callback;
    wanted.userdata = stream.get();
    stream->deviceId_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (stream->deviceId_ == 0)
    {
        std::fprintf(stderr, "Zarvo: cannot open a sound device: %s\n", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    SDL_PauseAudioDevice(stream->deviceId_, 0);
    return stream;
}

SdlAudioStream::~SdlAudioStream()
{
    if (deviceId_ != 0)
    {
        SDL_CloseAudioDevice(deviceId_);  // waits for a running callback
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

void SdlAudioStream::Callback(void* user, uint8_t* stream, int bytes)
{
    auto* self = static_cast<SdlAudioStream*>(user);
    self->fill_(std::span(reinterpret_cast<int16_t*>(stream), static_cast<size_t>(bytes) / 2));
}

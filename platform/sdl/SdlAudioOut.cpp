#include "platform/sdl/SdlAudioOut.h"

#include <SDL.h>

#include <algorithm>
#include <bit>
#include <cstdio>

namespace
{
void ReportAudioError(const char* what)
{
    std::fprintf(stderr, "Zarvo: %s: %s\n", what, SDL_GetError());
}

// The device's own buffer: a power of two (SDL wants one) of at least one game buffer, so
// that the device takes whole game buffers and the queue stays short.
Uint16 DeviceBufferFrames(uint32_t bufferFrames)
{
    constexpr uint32_t kMaxFrames = 1u << 15;
    return static_cast<Uint16>(std::bit_ceil(std::clamp(bufferFrames, 1u, kMaxFrames)));
}
}  // namespace

std::unique_ptr<SdlAudioOut> SdlAudioOut::Open(const AudioOutFormat& format)
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
    {
        ReportAudioError("no sound");
        return nullptr;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = static_cast<int>(format.sampleRate);
    wanted.format = AUDIO_S16SYS;
    wanted.channels = kChannels;
    wanted.samples = DeviceBufferFrames(format.bufferFrames);
    SDL_AudioSpec obtained{};
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device == 0)
    {
        ReportAudioError("cannot open the sound device");
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    SDL_PauseAudioDevice(device, 0);
    return std::unique_ptr<SdlAudioOut>(new SdlAudioOut(device));
}

SdlAudioOut::~SdlAudioOut()
{
    SDL_CloseAudioDevice(deviceId_);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlAudioOut::Queue(std::span<const int16_t> samples)
{
    return SDL_QueueAudio(deviceId_, samples.data(), static_cast<Uint32>(samples.size_bytes())) ==
           0;
}

uint64_t SdlAudioOut::QueuedBytes()
{
    return SDL_GetQueuedAudioSize(deviceId_);
}

#pragma once

// A pulled audio output through SDL2: a device of its own whose callback asks the fill for
// every buffer, at the rate given (SDL converts when the device wants another format). Brings
// SDL's audio subsystem up for its lifetime.

#include <cstdint>
#include <memory>

#include "platform/AudioOut.h"

class SdlAudioStream final : public AudioStream
{
public:
    // nullptr, with the reason on stderr, when there is no audio device.
    static std::unique_ptr<SdlAudioStream> Open(const AudioOutFormat& format, AudioFill fill);

    ~SdlAudioStream() override;
    SdlAudioStream(const SdlAudioStream&) = delete;
    SdlAudioStream& operator=(const SdlAudioStream&) = delete;

private:
    explicit SdlAudioStream(AudioFill fill) : fill_(std::move(fill)) {}
    static void Callback(void* user, uint8_t* stream, int bytes);

    AudioFill fill_;
    uint32_t deviceId_ = 0;
};

#pragma once

// The audio output through SDL2's push queue: the default device opened for 16-bit stereo at
// the game's rate (SDL converts when the device wants another format), playing from the
// moment it is open. Brings SDL's audio subsystem up for its lifetime.

#include <cstdint>
#include <memory>

#include "platform/AudioOut.h"

class SdlAudioOut final : public AudioOut
{
public:
    // nullptr, with the reason on stderr, when there is no audio device.
    static std::unique_ptr<SdlAudioOut> Open(const AudioOutFormat& format);

    ~SdlAudioOut() override;
    SdlAudioOut(const SdlAudioOut&) = delete;
    SdlAudioOut& operator=(const SdlAudioOut&) = delete;

    bool Queue(std::span<const int16_t> samples) override;
    uint64_t QueuedBytes() override;

private:
    explicit SdlAudioOut(uint32_t deviceId) : deviceId_(deviceId) {}

    uint32_t deviceId_;
};

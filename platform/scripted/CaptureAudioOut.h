#pragma once

// The audio output of the scripted machine: keeps every buffer queued on it and plays in
// virtual time, taking rate / 1000 frames from its queue per virtual ms. When the queue runs
// dry the device waits, as a real one does, and the time that passes meanwhile is lost.

#include <cstdint>
#include <vector>

#include "platform/AudioOut.h"
#include "platform/Platform.h"

// One opening of the audio output, as a test inspects it.
struct CapturedAudio
{
    AudioOutFormat format;
    std::vector<std::vector<int16_t>> buffers;  // in the order queued, two samples per frame
    bool open = true;
};

class CaptureAudioOut final : public AudioOut
{
public:
    // The record and the clock must outlive the output.
    CaptureAudioOut(CapturedAudio& record, Platform& clock);
    ~CaptureAudioOut() override;
    CaptureAudioOut(const CaptureAudioOut&) = delete;
    CaptureAudioOut& operator=(const CaptureAudioOut&) = delete;

    bool Queue(std::span<const int16_t> samples) override;
    uint64_t QueuedBytes() override;

private:
    void PlayUntilNow();

    CapturedAudio& record_;
    Platform& clock_;
    uint32_t playedUntilMs_;
    uint64_t queuedFrames_ = 0;
    uint64_t playedMilliFrames_ = 0;  // frames x 1000, so that no fraction of a frame is lost
};

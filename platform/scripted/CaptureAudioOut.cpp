#include "platform/scripted/CaptureAudioOut.h"

#include <algorithm>

CaptureAudioOut::CaptureAudioOut(CapturedAudio& record, Platform& clock)
    : record_(record), clock_(clock), playedUntilMs_(clock.NowMs())
{
}

CaptureAudioOut::~CaptureAudioOut()
{
    record_.open = false;
}

bool CaptureAudioOut::Queue(std::span<const int16_t> samples)
{
    PlayUntilNow();
    record_.buffers.emplace_back(samples.begin(), samples.end());
    queuedFrames_ += samples.size() / kChannels;
    return true;
}

uint64_t CaptureAudioOut::QueuedBytes()
{
    PlayUntilNow();
    return (queuedFrames_ - playedMilliFrames_ / 1000) * kBytesPerFrame;
}

void CaptureAudioOut::PlayUntilNow()
{
    const uint32_t nowMs = clock_.NowMs();
    const uint64_t elapsedMs = static_cast<uint32_t>(nowMs - playedUntilMs_);
    playedUntilMs_ = nowMs;
    playedMilliFrames_ =
        std::min(queuedFrames_ * 1000, playedMilliFrames_ + elapsedMs * record_.format.sampleRate);
}

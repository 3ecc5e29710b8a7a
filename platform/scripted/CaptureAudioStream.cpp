#include "platform/scripted/CaptureAudioStream.h"

class CapturedStreams::Handle final : public AudioStream
{
public:
    Handle(CapturedStreams& owner, size_t index) : owner_(owner), index_(index) {}
    ~Handle() override { owner_.Close(index_); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

private:
    CapturedStreams& owner_;
    size_t index_;
};

std::unique_ptr<AudioStream> CapturedStreams::Open(const AudioOutFormat& format, AudioFill fill,
                                                   uint32_t nowMs)
{
    const std::lock_guard lock(mutex_);
    Entry& entry = entries_.emplace_back();
    entry.format = format;
    entry.fill = std::move(fill);
    entry.playedUntilMs = nowMs;
    return std::make_unique<Handle>(*this, entries_.size() - 1);
}

void CapturedStreams::Close(size_t index)
{
    const std::lock_guard lock(mutex_);
    entries_[index].open = false;
    entries_[index].fill = nullptr;
}

void CapturedStreams::PlayUntil(uint32_t nowMs)
{
    const std::lock_guard lock(mutex_);
    std::vector<int16_t> pulled;
    for (Entry& entry : entries_)
    {
        if (!entry.open)
        {
            continue;
        }
        const uint32_t elapsedMs = nowMs - entry.playedUntilMs;
        entry.playedUntilMs = nowMs;
        entry.milliFrames += uint64_t{elapsedMs} * entry.format.sampleRate;
        const uint64_t frames = entry.milliFrames / 1000;
        entry.milliFrames %= 1000;
        if (frames == 0)
        {
            continue;
        }
        pulled.assign(frames * AudioOut::kChannels, 0);
        entry.fill(pulled);
        entry.samples.insert(entry.samples.end(), pulled.begin(), pulled.end());
    }
}

size_t CapturedStreams::Count() const
{
    const std::lock_guard lock(mutex_);
    return entries_.size();
}

bool CapturedStreams::IsOpen(size_t index) const
{
    const std::lock_guard lock(mutex_);
    return index < entries_.size() && entries_[index].open;
}

AudioOutFormat CapturedStreams::Format(size_t index) const
{
    const std::lock_guard lock(mutex_);
    return index < entries_.size() ? entries_[index].format : AudioOutFormat{};
}

std::vector<int16_t> CapturedStreams::Samples(size_t index) const
{
    const std::lock_guard lock(mutex_);
    return index < entries_.size() ? entries_[index].samples : std::vector<int16_t>{};
}

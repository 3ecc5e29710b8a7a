#include "sound/WaveStream.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "core/util/LittleEndian.h"
#include "sound/WaveOutput.h"

namespace
{
constexpr uint32_t kOneFrame = 256;  // 8.8

uint32_t RoundToNearest(float value)
{
    return std::bit_cast<uint32_t>(value + 8388608.0f) & 0xFFFFFF;
}

int32_t MsFrom(uint32_t from, uint32_t to)
{
    return static_cast<int32_t>(to - from);
}
}  // namespace

WaveStream::~WaveStream()
{
    StopFillThread();
}

bool WaveStream::Init(WaveOutput& output)
{
    {
        const std::lock_guard lock(streamMutex_);
        if (!output.IsInitialised() || output_ != nullptr)
        {
            return false;
        }
        output_ = &output;
        commands_ = std::make_unique<uint32_t[]>(kCommandWords);
        readIndex_ = 0;
        pending_ = 0;
        rate_ = static_cast<float>(output.GetSampleRate());
        stopFilling_ = false;
        fillSignalled_ = false;
    }
    fillThread_ = std::thread(&WaveStream::RunFillThread, this);
    return true;
}

bool WaveStream::OpenFile(std::string_view gamePath)
{
    float fileRate = 0.0f;
    {
        const std::lock_guard lock(streamMutex_);
        if (output_ == nullptr || file_.IsOpen())
        {
            return false;
        }
        if (!file_.Open(gamePath) || file_.Format().channels != 2 ||
            file_.Format().bitsPerSample != 16 || file_.DataBytes() < 4)
        {
            file_.Close();
            return false;
        }
        ring_.assign(kRingFrames * 2, 0);
        fillFrame_ = 0;
        buffered_ = 0;
        position_ = 0;
        fileRate = static_cast<float>(file_.Format().sampleRate);
    }
    PostCommand(kStreamVolume, std::bit_cast<uint32_t>(1.0f));
    PostCommand(kStreamPan, std::bit_cast<uint32_t>(0.0f));
    PostCommand(kStreamPitch, std::bit_cast<uint32_t>(fileRate));
    FillBuffer();
    return true;
}

void WaveStream::CloseFile()
{
    const std::lock_guard lock(streamMutex_);
    file_.Close();
    ring_.clear();
    buffered_ = 0;
}

bool WaveStream::PostCommand(uint32_t opcode, uint32_t operand)
{
    const std::lock_guard lock(streamMutex_);
    if (output_ == nullptr || opcode == kStreamTimeStamp || opcode > kStreamPan ||
        kCommandWords - pending_ < 4)
    {
        return false;
    }
    const uint32_t words[] = {kStreamTimeStamp, output_->GetPlayPosition(), opcode, operand};
    for (const uint32_t word : words)
    {
        commands_[(readIndex_ + pending_++) & (kCommandWords - 1)] = word;
    }
    return true;
}

uint32_t WaveStream::BufferedFrames() const
{
    const std::lock_guard lock(streamMutex_);
    return buffered_;
}

// Reads as much as the ring has room for, from the start of the data again at its end.
void WaveStream::FillBuffer()
{
    const std::lock_guard lock(streamMutex_);
    if (!file_.IsOpen() || ring_.empty())
    {
        return;
    }
    bool rewound = false;
    while (buffered_ < kRingFrames)
    {
        const uint32_t frames = std::min(kRingFrames - buffered_, kRingFrames - fillFrame_);
        std::vector<uint8_t> bytes(size_t{frames} * 4);
        const size_t read = file_.Read(bytes) / 4;
        for (size_t i = 0; i < read * 2; ++i)
        {
            ring_[size_t{fillFrame_} * 2 + i] =
                static_cast<int16_t>(LoadLe16(bytes.data() + 2 * i));
        }
        fillFrame_ = (fillFrame_ + static_cast<uint32_t>(read)) % kRingFrames;
        buffered_ += static_cast<uint32_t>(read);
        if (read < frames)
        {
            // A file whose data gives nothing after a rewind would loop for ever.
            if (rewound && read == 0)
            {
                return;
            }
            rewound = read == 0;
            file_.Rewind();
        }
        else
        {
            rewound = false;
        }
    }
}

void WaveStream::RunFillThread()
{
    std::unique_lock lock(streamMutex_);
    while (true)
    {
        fillWanted_.wait(lock, [this] { return fillSignalled_ || stopFilling_; });
        if (stopFilling_)
        {
            return;
        }
        fillSignalled_ = false;
        lock.unlock();
        FillBuffer();
        lock.lock();
    }
}

bool WaveStream::Calculate(const AudioBlock& block)
{
    AudioNode::Calculate(block);
    {
        const std::lock_guard lock(streamMutex_);
        if (block.clear)
        {
            std::fill_n(block.samples, size_t{block.frames} * 2, 0.0f);
        }
        if (output_ == nullptr || ring_.empty())
        {
            return true;
        }
        float* out = block.samples;
        uint32_t framesLeft = block.frames;
        RunCommands(block, out, framesLeft);
        MixFrames(out + size_t{block.frames - framesLeft} * 2, framesLeft);
        fillSignalled_ = true;
    }
    fillWanted_.notify_one();
    return true;
}

// Commands due in the block run at their times: the stream is mixed up to each first.
void WaveStream::RunCommands(const AudioBlock& block, float* out, uint32_t& framesLeft)
{
    const uint32_t endMs =
        block.timeMs + static_cast<uint32_t>(std::max(output_->GetPeriodMs(), 0));
    uint32_t cursorMs = block.timeMs;
    while (pending_ >= 2)
    {
        const uint32_t opcode = commands_[readIndex_];
        const uint32_t operand = commands_[(readIndex_ + 1) & (kCommandWords - 1)];
        if (opcode == kStreamTimeStamp)
        {
            if (MsFrom(endMs, operand) >= 0)
            {
                return;
            }
            if (MsFrom(cursorMs, operand) > 0)
            {
                const uint32_t frames = std::min(
                    RoundToNearest(static_cast<float>(operand - cursorMs) * 0.001f * rate_),
                    framesLeft);
                MixFrames(out + size_t{block.frames - framesLeft} * 2, frames);
                framesLeft -= frames;
                cursorMs = operand;
            }
        }
        else
        {
            RunCommand(opcode, operand);
        }
        readIndex_ = (readIndex_ + 2) & (kCommandWords - 1);
        pending_ -= 2;
    }
}

void WaveStream::RunCommand(uint32_t opcode, uint32_t operand)
{
    const float value = std::bit_cast<float>(operand);
    switch (opcode)
    {
        case kStreamVolume:
            volume_ = value;
            break;
        case kStreamPan:
            pan_ = value;
            break;
        case kStreamPitch:
        {
            const float step = value / rate_ * 256.0f;
            step_ = step >= 1.0f ? RoundToNearest(std::min(step, 65536.0f)) : 1;
            return;
        }
        default:
            return;
    }
    leftGain_ = std::max(0.0f, (0.5f - 0.5f * pan_) * volume_);
    rightGain_ = std::max(0.0f, (0.5f + 0.5f * pan_) * volume_);
}

// What has not been filled yet plays as it lies in the ring; the fill thread catches up.
void WaveStream::MixFrames(float* out, uint32_t frames)
{
    const uint32_t ringEnd = kRingFrames * kOneFrame;
    const uint32_t startFrame = position_ >> 8;
    for (uint32_t i = 0; i < frames; ++i)
    {
        const size_t frame = position_ >> 8;
        out[2 * i] += static_cast<float>(ring_[2 * frame]) * leftGain_;
        out[2 * i + 1] += static_cast<float>(ring_[2 * frame + 1]) * rightGain_;
        position_ = (position_ + step_) % ringEnd;
    }
    const uint32_t played = ((position_ >> 8) + kRingFrames - startFrame) % kRingFrames +
                            (uint64_t{frames} * step_ >= ringEnd ? kRingFrames : 0);
    buffered_ -= std::min(buffered_, played);
}

void WaveStream::StopFillThread()
{
    {
        const std::lock_guard lock(streamMutex_);
        stopFilling_ = true;
    }
    fillWanted_.notify_one();
    if (fillThread_.joinable())
    {
        fillThread_.join();
    }
}

void WaveStream::Close()
{
    AudioNode::Close();
    StopFillThread();
    const std::lock_guard lock(streamMutex_);
    file_.Close();
    ring_.clear();
    buffered_ = 0;
    commands_.reset();
    pending_ = 0;
    output_ = nullptr;
}

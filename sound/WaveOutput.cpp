#include "sound/WaveOutput.h"

#include <algorithm>
#include <chrono>
#include <string>
#include <system_error>

#include "core/util/Message.h"
#include "sound/AudioNode.h"

std::atomic<WaveOutput*> g_waveOutput{nullptr};
std::atomic<uint32_t> g_lastPumpMs{0};

WaveOutput::WaveOutput()
{
    g_waveOutput.store(this, std::memory_order_release);
}

WaveOutput::~WaveOutput()
{
    Shutdown();
    WaveOutput* self = this;
    g_waveOutput.compare_exchange_strong(self, nullptr, std::memory_order_acq_rel);
}

bool WaveOutput::Init(uint32_t sampleRate, WaveDriveMode mode, uint32_t bufferBytes)
{
    {
        const std::lock_guard lock(deviceMutex_);
        const uint32_t frames = bufferBytes / kBytesPerFrame;
        const uint64_t periodMs = sampleRate == 0 ? 0 : uint64_t{frames} * 1000 / sampleRate;
        if (IsInitialised() || frames == 0 || periodMs == 0)
        {
            return false;
        }
        sampleRate_ = sampleRate;
        framesPerBuffer_ = frames;
        for (Slot& slot : slots_)
        {
            slot = {std::vector<int16_t>(size_t{frames} * 2), false, 0};
        }
        checkSlot_ = 0;
        mixSlot_ = kSlotCount - kCheckLead;
        {
            const std::lock_guard clock(clockMutex_);
            streamClockMs_ = 0;
            buffersMixed_ = 0;
            lastMixMs_ = 0;
            lastPlayPositionMs_ = 0;
            streamStarted_ = false;
        }
        periodMs_.store(static_cast<int32_t>(periodMs), std::memory_order_relaxed);
        initialised_.store(true, std::memory_order_release);
    }
    if (!StartDriver(mode))
    {
        Shutdown();
        return false;
    }
    return true;
}

bool WaveOutput::AttachRoot(AudioNode* root)
{
    AudioNode* expected = nullptr;
    return root != nullptr && (root_.compare_exchange_strong(expected, root) || expected == root);
}

bool WaveOutput::Start()
{
    const std::lock_guard lock(deviceMutex_);
    if (!IsInitialised() || root_.load() == nullptr)
    {
        return false;
    }
    if (!OpenDeviceLocked())
    {
        return false;
    }
    const uint32_t nowMs = CurrentPlatform().NowMs();
    {
        const std::lock_guard clock(clockMutex_);
        lastMixMs_ = nowMs;
        buffersMixed_ = 0;
        // After a suspension the stream goes on from where it stopped: events queued before
        // it are still due, and would otherwise wait until a restarted clock caught up.
        if (!streamStarted_)
        {
            streamClockMs_ = 0;
            lastPlayPositionMs_ = 0;
            streamStarted_ = true;
        }
    }
    playing_.store(true, std::memory_order_release);
    return true;
}

bool WaveOutput::OpenDevice()
{
    const std::lock_guard lock(deviceMutex_);
    return IsInitialised() && OpenDeviceLocked();
}

// A device opened afresh starts with nothing queued.
bool WaveOutput::OpenDeviceLocked()
{
    if (device_)
    {
        return true;
    }
    device_ = CurrentPlatform().OpenAudioOut({sampleRate_, framesPerBuffer_});
    if (!device_)
    {
        return false;
    }
    bytesQueued_ = 0;
    for (Slot& slot : slots_)
    {
        slot.queued = false;
    }
    return true;
}

void WaveOutput::Stop()
{
    const std::lock_guard lock(deviceMutex_);
    CloseDevice();
}

void WaveOutput::CloseDevice()
{
    playing_.store(false, std::memory_order_release);
    device_.reset();
}

// Mode 1 announces its timer and mode 2 has no priority above the others here: the machine
// gives none to a process that is not privileged.
bool WaveOutput::StartDriver(WaveDriveMode mode)
{
    switch (mode)
    {
        case WaveDriveMode::OwnTimer:
        {
            Platform& platform = CurrentPlatform();
            timerId_ = platform.StartPeriodicTimer(static_cast<uint32_t>(GetPeriodMs()),
                                                   [this] { TimerProc(); });
            if (timerId_ == 0)
            {
                ShowMessage("Unable to create timer");
                return false;
            }
            timerPlatform_ = &platform;
            ShowMessage("VolloTimer started :" + std::to_string(timerId_));
            return true;
        }
        case WaveDriveMode::OwnThread:
            driverThreadEnd_.store(false, std::memory_order_relaxed);
            try
            {
                driverThread_ = std::thread(&WaveOutput::ThreadProc, this);
            }
            catch (const std::system_error&)
            {
                ShowMessage("CreateSoundThread failed");
                return false;
            }
            return true;
        case WaveDriveMode::Pumped:
            return true;
    }
    return false;
}

void WaveOutput::TimerProc()
{
    Pump();
}

void WaveOutput::ThreadProc()
{
    const auto period = std::chrono::milliseconds(GetPeriodMs());
    while (!driverThreadEnd_.load(std::memory_order_relaxed))
    {
        Pump();
        std::this_thread::sleep_for(period);
    }
}

// Outside the device lock: a driver's mix takes it.
void WaveOutput::StopDriver()
{
    if (timerId_ != 0)
    {
        timerPlatform_->KillTimer(timerId_);
        timerId_ = 0;
        timerPlatform_ = nullptr;
        ShowMessage("VolloTimer killed");
    }
    if (driverThread_.joinable())
    {
        driverThreadEnd_.store(true, std::memory_order_relaxed);
        driverThread_.join();
    }
}

void WaveOutput::Shutdown()
{
    StopDriver();
    const std::lock_guard lock(deviceMutex_);
    if (!IsInitialised())
    {
        return;
    }
    CloseDevice();
    for (Slot& slot : slots_)
    {
        slot = {};
    }
    periodMs_.store(-1, std::memory_order_relaxed);
    initialised_.store(false, std::memory_order_release);
}

bool WaveOutput::MixBuffer()
{
    const std::lock_guard lock(deviceMutex_);
    if (!device_ || !IsPlaying())
    {
        return true;
    }
    if (IsStillQueued(slots_[checkSlot_]))
    {
        return false;
    }
    Slot& slot = slots_[mixSlot_];
    AudioBlock block;
    block.pcm = slot.pcm.data();
    block.frames = framesPerBuffer_;
    {
        const std::lock_guard clock(clockMutex_);
        lastMixMs_ = CurrentPlatform().NowMs();
        block.timeMs = streamClockMs_;
        streamClockMs_ += static_cast<uint32_t>(GetPeriodMs());
        ++buffersMixed_;
    }
    checkSlot_ = (checkSlot_ + 1) % kSlotCount;
    mixSlot_ = (mixSlot_ + 1) % kSlotCount;
    slot.queued = false;

    mixing_.store(true, std::memory_order_relaxed);
    root_.load()->Calculate(block);
    mixing_.store(false, std::memory_order_relaxed);

    if (holdCount_.load(std::memory_order_acquire) == 0 && device_->Queue(slot.pcm))
    {
        bytesQueued_ += slot.pcm.size() * sizeof(int16_t);
        slot.queued = true;
        slot.queuedEndByte = bytesQueued_;
    }
    return true;
}

bool WaveOutput::IsStillQueued(const Slot& slot)
{
    if (!slot.queued)
    {
        return false;
    }
    const uint64_t played = bytesQueued_ - std::min(device_->QueuedBytes(), bytesQueued_);
    return played < slot.queuedEndByte;
}

void WaveOutput::Pump()
{
    if (IsInitialised())
    {
        MixBuffer();
        g_lastPumpMs.store(CurrentPlatform().NowMs(), std::memory_order_relaxed);
    }
}

int32_t WaveOutput::GetPeriodMs() const
{
    return periodMs_.load(std::memory_order_relaxed);
}

uint32_t WaveOutput::GetPlayPosition()
{
    if (!IsPlaying())
    {
        return 0;
    }
    const std::lock_guard clock(clockMutex_);
    const uint32_t sinceMixMs = CurrentPlatform().NowMs() - lastMixMs_;
    const uint32_t positionMs =
        streamClockMs_ + static_cast<uint32_t>(std::max(GetPeriodMs(), 0)) + sinceMixMs;
    lastPlayPositionMs_ = std::max(positionMs, lastPlayPositionMs_);
    return lastPlayPositionMs_;
}

uint32_t WaveOutput::GetBuffersMixed()
{
    const std::lock_guard clock(clockMutex_);
    return buffersMixed_;
}

void WaveOutput::ResetGraph()
{
    if (AudioNode* root = root_.load())
    {
        root->Reset();
    }
}

void WaveOutput::Hold(bool on)
{
    if (on)
    {
        if (holdCount_.fetch_add(1, std::memory_order_acq_rel) == 0 && IsPlaying())
        {
            const std::lock_guard waitForMix(deviceMutex_);
        }
        return;
    }
    uint32_t count = holdCount_.load(std::memory_order_acquire);
    while (count > 0 && !holdCount_.compare_exchange_weak(count, count - 1))
    {
    }
}

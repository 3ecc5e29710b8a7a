#include "platform/scripted/ScriptedPlatform.h"

#include <algorithm>
#include <cassert>
#include <cstdio>
#include <cstring>

#include "core/files/Windows1252.h"
#include "platform/DynamicLibrary.h"

void ScriptedPlatform::AtTime(uint32_t timeMs, const PlatformEvent& event)
{
    script_.push_back({false, timeMs, event});
}

void ScriptedPlatform::AtFrame(uint32_t frame, const PlatformEvent& event)
{
    script_.push_back({true, frame, event});
}

void ScriptedPlatform::Push(const PlatformEvent& event)
{
    AtTime(0, event);
}

void ScriptedPlatform::SetJoystick(int index, const JoystickState& state)
{
    assert(index >= 0);
    if (index < 0)
    {
        return;
    }
    const std::lock_guard lock(joystickMutex_);
    if (static_cast<size_t>(index) >= joysticks_.size())
    {
        joysticks_.resize(static_cast<size_t>(index) + 1);
    }
    joysticks_[static_cast<size_t>(index)] = state;
}

// The count stays one past the highest joystick present, so that a lone second joystick
// is still found by a search over the indices below the count.
void ScriptedPlatform::RemoveJoystick(int index)
{
    const std::lock_guard lock(joystickMutex_);
    if (index >= 0 && static_cast<size_t>(index) < joysticks_.size())
    {
        joysticks_[static_cast<size_t>(index)].reset();
    }
    while (!joysticks_.empty() && !joysticks_.back())
    {
        joysticks_.pop_back();
    }
}

void ScriptedPlatform::LimitCapturedFrames(size_t newest)
{
    capturedFrameLimit_ = newest;
    DropOldFrames();
}

bool ScriptedPlatform::CreateGameWindow(std::string_view title, int pictureWidth, int pictureHeight)
{
    windowChanges_.push_back(
        {WindowChange::Kind::Created, std::string(title), pictureWidth, pictureHeight});
    return true;
}

void ScriptedPlatform::SetFullScreen(bool on)
{
    windowChanges_.emplace_back().kind =
        on ? WindowChange::Kind::FullScreen : WindowChange::Kind::Windowed;
}

void ScriptedPlatform::DestroyGameWindow()
{
    windowChanges_.emplace_back().kind = WindowChange::Kind::Destroyed;
}

void ScriptedPlatform::Present(const FrameView& frame)
{
    CapturedFrame captured;
    // The oldest frame is about to be dropped: its pixels take the new one, so that a long run
    // does not touch fresh memory every frame.
    if (!frames_.empty() && frames_.size() >= capturedFrameLimit_)
    {
        captured.pixels = std::move(frames_.front().pixels);
    }
    captured.frameNumber = presentCount_++;
    const bool valid = frame.pixels != nullptr && frame.width > 0 && frame.height > 0 &&
                       frame.pitchBytes >= frame.width * static_cast<int>(sizeof(uint16_t));
    assert(valid && "a presented frame needs pixels and a pitch that covers its width");
    if (valid)
    {
        captured.width = frame.width;
        captured.height = frame.height;
        captured.pixels.resize(static_cast<size_t>(frame.width) * frame.height);
        const auto* source = reinterpret_cast<const uint8_t*>(frame.pixels);
        const size_t rowBytes = static_cast<size_t>(frame.width) * sizeof(uint16_t);
        for (int row = 0; row < frame.height; ++row)
        {
            std::memcpy(captured.pixels.data() + static_cast<size_t>(row) * frame.width,
                        source + static_cast<size_t>(row) * frame.pitchBytes, rowBytes);
        }
    }
    else
    {
        captured.pixels.clear();
    }
    frames_.push_back(std::move(captured));
    DropOldFrames();
}

void ScriptedPlatform::DropOldFrames()
{
    if (frames_.size() > capturedFrameLimit_)
    {
        frames_.erase(frames_.begin(), frames_.begin() + static_cast<ptrdiff_t>(
                                                             frames_.size() - capturedFrameLimit_));
    }
}

bool ScriptedPlatform::PollEvent(PlatformEvent& event)
{
    const auto due = std::ranges::find_if(
        script_, [this](const ScriptEntry& entry)
        { return entry.byFrame ? presentCount_ >= entry.due : elapsedMs_ >= entry.due; });
    if (due == script_.end())
    {
        return false;
    }
    event = due->event;
    script_.erase(due);
    Apply(event);
    return true;
}

// The state queries answer as of the last event handed out, as on the real machine.
void ScriptedPlatform::Apply(const PlatformEvent& event)
{
    switch (event.kind)
    {
        case PlatformEvent::Kind::KeyDown:
        case PlatformEvent::Kind::KeyUp:
            keyDown_[event.virtualKey] = event.kind == PlatformEvent::Kind::KeyDown;
            break;
        case PlatformEvent::Kind::MouseMove:
            mousePosition_ = {event.x, event.y};
            break;
        case PlatformEvent::Kind::MouseButton:
            if (event.button == 1 || event.button == 2)
            {
                keyDown_[event.button] = event.pressed;
            }
            break;
        case PlatformEvent::Kind::Close:
        case PlatformEvent::Kind::Quit:
            break;
    }
}

void ScriptedPlatform::AdvanceTime(uint32_t ms)
{
    if (timeGate_)
    {
        timeGate_(elapsedMs_);
    }
    const uint64_t targetMs = elapsedMs_ + ms;
    while (const std::shared_ptr<Timer> timer = EarliestTimerDueBy(targetMs))
    {
        elapsedMs_ = timer->nextDueMs;
        streams_.PlayUntil(NowMs());
        timer->nextDueMs += timer->periodMs;
        timer->tick();  // the local reference outlives a kill from inside the tick
    }
    // A tick that slept may have carried time past the target already.
    elapsedMs_ = std::max(elapsedMs_.load(), targetMs);
    streams_.PlayUntil(NowMs());
}

bool ScriptedPlatform::IsKeyDown(uint8_t virtualKey)
{
    const uint32_t nowMs = NowMs();
    return keyDown_[virtualKey] || std::ranges::any_of(heldKeys_,
                                                       [&](const HeldKey& held) {
                                                           return held.virtualKey == virtualKey &&
                                                                  nowMs >= held.fromMs &&
                                                                  nowMs < held.untilMs;
                                                       });
}

void ScriptedPlatform::HoldKey(uint8_t virtualKey, uint32_t fromMs, uint32_t untilMs)
{
    heldKeys_.push_back({virtualKey, fromMs, untilMs});
}

std::unique_ptr<AudioStream> ScriptedPlatform::OpenAudioStream(const AudioOutFormat& format,
                                                               AudioFill fill)
{
    if (!audioDeviceAvailable_)
    {
        return nullptr;
    }
    return streams_.Open(format, std::move(fill), NowMs());
}

std::shared_ptr<ScriptedPlatform::Timer> ScriptedPlatform::EarliestTimerDueBy(
    uint64_t limitMs) const
{
    std::shared_ptr<Timer> earliest;
    for (const auto& [id, timer] : timers_)
    {
        if (timer->nextDueMs <= limitMs && (!earliest || timer->nextDueMs < earliest->nextDueMs))
        {
            earliest = timer;
        }
    }
    return earliest;
}

Platform::TimerId ScriptedPlatform::StartPeriodicTimer(uint32_t periodMs,
                                                       std::function<void()> tick)
{
    if (periodMs == 0 || !tick)
    {
        return 0;  // a zero period would fire forever without time passing
    }
    const TimerId id = nextTimerId_++;
    timers_.emplace(
        id, std::make_shared<Timer>(Timer{periodMs, elapsedMs_ + periodMs, std::move(tick)}));
    return id;
}

void ScriptedPlatform::KillTimer(TimerId id)
{
    timers_.erase(id);
}

std::unique_ptr<AudioOut> ScriptedPlatform::OpenAudioOut(const AudioOutFormat& format)
{
    if (!audioDeviceAvailable_)
    {
        return nullptr;
    }
    CapturedAudio& record = audioCaptures_.emplace_back();
    record.format = format;
    return std::make_unique<CaptureAudioOut>(record, *this);
}

int ScriptedPlatform::JoystickCount()
{
    const std::lock_guard lock(joystickMutex_);
    return static_cast<int>(joysticks_.size());
}

uint32_t ScriptedPlatform::JoystickReads() const
{
    const std::lock_guard lock(joystickMutex_);
    return joystickReads_;
}

bool ScriptedPlatform::ReadJoystick(int index, JoystickState& state)
{
    const std::lock_guard lock(joystickMutex_);
    ++joystickReads_;
    if (index < 0 || static_cast<size_t>(index) >= joysticks_.size() ||
        !joysticks_[static_cast<size_t>(index)])
    {
        return false;
    }
    state = *joysticks_[static_cast<size_t>(index)];
    return true;
}

void ScriptedPlatform::ShowMessageBox(std::string_view text)
{
    messageBoxes_.emplace_back(text);
    std::fprintf(stderr, "Zarvo: %s\n", Windows1252ToUtf8(text).c_str());
}

Platform::LibraryHandle ScriptedPlatform::OpenLibrary(std::string_view name)
{
    return dynlib::Open(name);
}

void* ScriptedPlatform::LibrarySymbol(LibraryHandle library, const char* name)
{
    return dynlib::Symbol(library, name);
}

void ScriptedPlatform::CloseLibrary(LibraryHandle library)
{
    dynlib::Close(library);
}

#pragma once

// The machine as a test sees it: virtual time that passes only when the game yields or
// sleeps, timers that fire synchronously as it passes, input from a script, every presented
// frame, sound buffer and message box kept for inspection, joysticks held in memory. Runs on
// the test's thread; only the joystick calls, the clock and the opening of pulled audio
// streams may also come from other threads.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/scripted/CaptureAudioOut.h"
#include "platform/scripted/CaptureAudioStream.h"

struct CapturedFrame
{
    uint32_t frameNumber = 0;  // 0 for the first Present
    int width = 0;
    int height = 0;
    std::vector<uint16_t> pixels;  // 565, width * height, rows top down without padding
};

struct WindowChange
{
    enum class Kind : uint8_t
    {
        Created,
        FullScreen,
        Windowed,
        Destroyed,
    };

    Kind kind = Kind::Created;
    std::string title;  // Created only
    int width = 0;      // Created only
    int height = 0;     // Created only
};

class ScriptedPlatform final : public Platform
{
public:
    static constexpr uint32_t kDefaultFrameQuantumMs = 20;

    // Time: Yield advances by the frame quantum, SleepMs by its argument.
    void SetFrameQuantumMs(uint32_t ms) { frameQuantumMs_ = ms; }
    // From that virtual time on, Yield advances by ms: a long stretch of a run in fewer frames.
    void SetFrameQuantumMsFrom(uint32_t timeMs, uint32_t ms)
    {
        laterQuantumFromMs_ = timeMs;
        laterQuantumMs_ = ms;
    }

    // Called with the virtual time before it moves on; it may hold the caller, so that
    // scripted machines in several processes keep their clocks together.
    void SetTimeGate(std::function<void(uint64_t nowMs)> gate) { timeGate_ = std::move(gate); }

    // Input script. An entry is handed out by PollEvent, in the order the entries were
    // given, once virtual time reaches timeMs or Present has been called frame times.
    void AtTime(uint32_t timeMs, const PlatformEvent& event);
    void AtFrame(uint32_t frame, const PlatformEvent& event);
    void Push(const PlatformEvent& event);  // due at once

    // Joysticks by index; a missing index does not answer.
    void SetJoystick(int index, const JoystickState& state);
    // Reads of any joystick, answered or not.
    uint32_t JoystickReads() const;
    void RemoveJoystick(int index);

    // Sound: without a device, opening the audio output fails.
    void SetAudioDeviceAvailable(bool available) { audioDeviceAvailable_ = available; }

    // What the game did.
    uint32_t PresentCount() const { return presentCount_; }
    // With a limit, only the newest frames are kept, so long runs stay within memory.
    void LimitCapturedFrames(size_t newest);
    const std::vector<CapturedFrame>& Frames() const { return frames_; }
    const std::vector<std::string>& MessageBoxes() const { return messageBoxes_; }
    const std::vector<WindowChange>& WindowChanges() const { return windowChanges_; }
    bool IsCursorVisible() const { return cursorVisible_; }
    bool IsMouseCaptured() const { return mouseCaptured_; }
    // Every opening of the audio output, oldest first.
    const std::deque<CapturedAudio>& AudioCaptures() const { return audioCaptures_; }
    // Every pulled stream opened, oldest first.
    const CapturedStreams& StreamCaptures() const { return streams_; }
    // The key reads as held through IsKeyDown from fromMs until untilMs, whatever the events
    // say: the state of the key itself, as the real machine reports it between polls.
    void HoldKey(uint8_t virtualKey, uint32_t fromMs, uint32_t untilMs);

    bool CreateGameWindow(std::string_view title, int pictureWidth, int pictureHeight) override;
    void SetFullScreen(bool on) override;
    void DestroyGameWindow() override;
    void Present(const FrameView& frame) override;

    bool PollEvent(PlatformEvent& event) override;
    PicturePoint MousePosition() override { return mousePosition_; }
    bool IsKeyDown(uint8_t virtualKey) override;
    void ShowCursor(bool visible) override { cursorVisible_ = visible; }
    void CaptureMouse(bool captured) override { mouseCaptured_ = captured; }

    bool IsScreenSaverEnabled() override { return screenSaverEnabled_; }
    void SetScreenSaverEnabled(bool enabled) override { screenSaverEnabled_ = enabled; }

    uint32_t NowMs() override { return static_cast<uint32_t>(elapsedMs_); }
    void SleepMs(uint32_t ms) override { AdvanceTime(ms); }
    void Yield() override
    {
        AdvanceTime(elapsedMs_ >= laterQuantumFromMs_ ? laterQuantumMs_ : frameQuantumMs_);
    }
    TimerId StartPeriodicTimer(uint32_t periodMs, std::function<void()> tick) override;
    void KillTimer(TimerId id) override;

    std::unique_ptr<AudioOut> OpenAudioOut(const AudioOutFormat& format) override;
    std::unique_ptr<AudioStream> OpenAudioStream(const AudioOutFormat& format,
                                                 AudioFill fill) override;

    int JoystickCount() override;
    bool ReadJoystick(int index, JoystickState& state) override;

    void ShowMessageBox(std::string_view text) override;

    LibraryHandle OpenLibrary(std::string_view name) override;
    void* LibrarySymbol(LibraryHandle library, const char* name) override;
    void CloseLibrary(LibraryHandle library) override;

private:
    struct ScriptEntry
    {
        bool byFrame = false;
        uint32_t due = 0;  // virtual ms, or a Present count
        PlatformEvent event;
    };

    struct Timer
    {
        uint32_t periodMs = 0;
        uint64_t nextDueMs = 0;
        std::function<void()> tick;
    };

    void AdvanceTime(uint32_t ms);
    std::shared_ptr<Timer> EarliestTimerDueBy(uint64_t limitMs) const;
    void Apply(const PlatformEvent& event);
    void DropOldFrames();

    // 64 bits inside, so that timers stay ordered when the 32-bit clock the game reads wraps.
    // Atomic because streams may be opened from other threads.
    std::atomic<uint64_t> elapsedMs_{0};
    uint32_t frameQuantumMs_ = kDefaultFrameQuantumMs;
    uint64_t laterQuantumFromMs_ = std::numeric_limits<uint64_t>::max();
    uint32_t laterQuantumMs_ = kDefaultFrameQuantumMs;
    std::map<TimerId, std::shared_ptr<Timer>> timers_;  // ordered by id: ties fire oldest first
    TimerId nextTimerId_ = 1;

    std::function<void(uint64_t nowMs)> timeGate_;
    std::vector<ScriptEntry> script_;
    PicturePoint mousePosition_;
    bool keyDown_[256] = {};
    bool cursorVisible_ = true;
    bool mouseCaptured_ = false;
    bool screenSaverEnabled_ = true;

    uint32_t presentCount_ = 0;
    size_t capturedFrameLimit_ = std::numeric_limits<size_t>::max();
    std::vector<CapturedFrame> frames_;
    std::vector<std::string> messageBoxes_;
    std::vector<WindowChange> windowChanges_;

    std::atomic<bool> audioDeviceAvailable_{true};
    std::deque<CapturedAudio> audioCaptures_;  // a deque keeps the records in place
    CapturedStreams streams_;

    struct HeldKey
    {
        uint8_t virtualKey = 0;
        uint32_t fromMs = 0;
        uint32_t untilMs = 0;
    };
    std::vector<HeldKey> heldKeys_;

    mutable std::mutex joystickMutex_;
    std::vector<std::optional<JoystickState>> joysticks_;
    uint32_t joystickReads_ = 0;
};

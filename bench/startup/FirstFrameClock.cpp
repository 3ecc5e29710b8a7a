#include "bench/startup/FirstFrameClock.h"

#include <utility>

bool FirstFrameClock::CreateGameWindow(std::string_view title, int pictureWidth, int pictureHeight)
{
    return machine_.CreateGameWindow(title, pictureWidth, pictureHeight);
}

void FirstFrameClock::Present(const FrameView& frame)
{
    machine_.Present(frame);
    if (!firstFrame_)
    {
        firstFrame_ = Clock::now();
    }
}

bool FirstFrameClock::PollEvent(PlatformEvent& event)
{
    if (firstFrame_ && !quitAsked_)
    {
        quitAsked_ = true;
        event = {.kind = PlatformEvent::Kind::Quit};
        return true;
    }
    return machine_.PollEvent(event);
}

Platform::TimerId FirstFrameClock::StartPeriodicTimer(uint32_t periodMs, std::function<void()> tick)
{
    return machine_.StartPeriodicTimer(periodMs, std::move(tick));
}

std::unique_ptr<AudioOut> FirstFrameClock::OpenAudioOut(const AudioOutFormat& format)
{
    return machine_.OpenAudioOut(format);
}

bool FirstFrameClock::ReadJoystick(int index, JoystickState& state)
{
    return machine_.ReadJoystick(index, state);
}

Platform::LibraryHandle FirstFrameClock::OpenLibrary(std::string_view name)
{
    return machine_.OpenLibrary(name);
}

void* FirstFrameClock::LibrarySymbol(LibraryHandle library, const char* name)
{
    return machine_.LibrarySymbol(library, name);
}

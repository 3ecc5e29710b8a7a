#include "platform/sdl/FramePacer.h"

void FramePacer::SetRefreshRate(int refreshHz)
{
    const int hz = refreshHz > 0 ? refreshHz : kDefaultRefreshHz;
    period_ = std::chrono::duration_cast<Clock::duration>(std::chrono::seconds(1)) / hz;
}

FramePacer::Clock::duration FramePacer::WaitBeforeFrame(Clock::time_point now)
{
    if (!lastFrame_ || now >= *lastFrame_ + period_)
    {
        lastFrame_ = now;
        return Clock::duration::zero();
    }
    const Clock::time_point due = *lastFrame_ + period_;
    lastFrame_ = due;
    return due - now;
}

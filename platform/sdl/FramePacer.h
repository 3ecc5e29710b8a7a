#pragma once

// Keeps a loop that runs once a frame to the display's pace, so that a screen with nothing to
// do does not spin: a frame that comes sooner than one refresh after the previous one waits
// for the rest. A frame that comes late does not wait, and the next one is timed from it, so
// that lost time is never made up in a burst. Where presenting already keeps to the retrace,
// the frames come a refresh apart and hardly ever wait. Plain arithmetic on the times given;
// one thread.

#include <chrono>
#include <optional>

class FramePacer
{
public:
    using Clock = std::chrono::steady_clock;

    static constexpr int kDefaultRefreshHz = 60;

    // A refresh rate of 0 or less (unknown) is taken as kDefaultRefreshHz.
    explicit FramePacer(int refreshHz = kDefaultRefreshHz) { SetRefreshRate(refreshHz); }
    void SetRefreshRate(int refreshHz);
    Clock::duration Period() const { return period_; }

    // How long the frame starting at now should wait; it is then taken to start after the
    // wait. The first frame never waits.
    Clock::duration WaitBeforeFrame(Clock::time_point now);

private:
    Clock::duration period_{};
    std::optional<Clock::time_point> lastFrame_;
};

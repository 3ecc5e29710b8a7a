#pragma once

// The network session as the 2 ms timer tick drives it. Network play is not built yet:
// g_netActive stays false and the session's steps do nothing.

#include <atomic>
#include <cstdint>

class OutputWindow;

class NetSession
{
public:
    // The game window, whose messages every wait of the session pumps and whose quit flag
    // ends the wait; set once by the window.
    void SetWindow(OutputWindow* window) { window_ = window; }
    OutputWindow* Window() const { return window_; }

    // Timer thread: receive and dispatch every waiting datagram.
    void Receive() {}
    // Timer thread: resend the pending request once its countdown has run out.
    void ResendPending() {}
    // Timer thread: the host's status messages and the peers' time-outs.
    void CheckTimeouts() {}
    // Timer thread, each input step of a running session: ask for missing input frames.
    void RequestMissingInputs() {}
    // Timer thread, every 200 ms while the clock is held: ask again for `frame`.
    void RepeatInputRequests(uint32_t /*frame*/) {}

    // The session's race runs: input steps and race time advance.
    std::atomic<bool> sessionRuns{false};
    // The input frame the session waits for.
    std::atomic<uint32_t> currentFrame{0};

private:
    OutputWindow* window_ = nullptr;
};

extern NetSession g_net;

// Network play is on.
extern std::atomic<bool> g_netActive;
// Input steps between sampling an input and the simulation step that uses it.
extern std::atomic<uint32_t> g_netInputDelay;
// Milliseconds until the pending request is resent and until the host's next status.
extern std::atomic<int32_t> g_netResendCountdown;
extern std::atomic<int32_t> g_netStatusCountdown;

// Timer thread, each input step of a running session: send the own rider's new inputs.
void NetSendInputFrames();

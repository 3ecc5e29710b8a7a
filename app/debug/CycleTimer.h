#pragma once

// A stopwatch in processor cycles (the time-stamp counter on x86-64, nanoseconds of a steady
// clock elsewhere). Not for use from more than one thread at a time.

#include <cstdint>

class CycleTimer
{
public:
    void Start();
    uint64_t Elapsed() const;  // counts since Start

private:
    uint64_t startCount_ = 0;
};

extern CycleTimer g_cycleTimer;

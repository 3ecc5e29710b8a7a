#pragma once

// What the input step on the timer thread needs of the player's bike: its speed and its
// steering rate, published by the race tick after each step. The input step reads these
// instead of the record, which the tick alone works on.

#include <atomic>

class PlayerInputState
{
public:
    void Publish(float speed, float steeringRate)
    {
        speed_.store(speed, std::memory_order_relaxed);
        steeringRate_.store(steeringRate, std::memory_order_relaxed);
    }
    float Speed() const { return speed_.load(std::memory_order_relaxed); }
    float SteeringRate() const { return steeringRate_.load(std::memory_order_relaxed); }

private:
    std::atomic<float> speed_{0.0f};
    std::atomic<float> steeringRate_{0.0f};
};

// The game's one instance, published by g_raceSim's ticks.
extern PlayerInputState g_playerInputState;

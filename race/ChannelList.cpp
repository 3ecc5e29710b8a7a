#include "race/ChannelList.h"

#include <bit>
#include <cmath>
#include <numbers>

namespace
{
constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kTwoPi = 2.0f * kPi;
}  // namespace

void ChannelList::Set(ChannelKind kind, float* target, float value)
{
    Add(kind, target, *target, value);
    *target = value;
}

void ChannelList::Add(ChannelKind kind, float* target, float start, float end)
{
    if (count_ == kCapacity)
    {
        ++dropped_;
        return;
    }
    channels_[count_++] = {kind, target, start, end};
}

void SnapChannels(const ChannelList& list)
{
    for (uint32_t i = list.Count(); i-- > 0;)
    {
        *list[i].target = list[i].end;
    }
}

void InterpolateChannels(const ChannelList& list, float t)
{
    for (uint32_t i = list.Count(); i-- > 0;)
    {
        const MotionChannel& channel = list[i];
        float d = channel.end - channel.start;
        if (channel.kind == ChannelKind::Angle)
        {
            // Never-negative floats order like their bit patterns.
            if (!std::signbit(d) && std::bit_cast<uint32_t>(d) >= std::bit_cast<uint32_t>(kPi))
            {
                d -= kTwoPi;
            }
            else if (d < -kPi)
            {
                d += kTwoPi;
            }
        }
        *channel.target = channel.start + d * t;
    }
}

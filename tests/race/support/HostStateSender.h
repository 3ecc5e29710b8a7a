#pragma once

// A network host's state checks without the network: every present rider's state block goes
// straight into a client's ring.

#include <array>
#include <cstdint>
#include <span>

#include "race/BikeRecord.h"
#include "race/LockstepState.h"
#include "race/RaceServices.h"

class HostStateSender : public RaceServices
{
public:
    HostStateSender(const std::array<BikeRecord, kRiderCount>& bikes, HostStateRing& ring)
        : bikes_(bikes), ring_(ring)
    {
    }
    void AddStateCheckRider(uint32_t step, uint32_t rider, uint32_t) override
    {
        step_ = step;
        CopyStateBlock(bikes_[rider], std::span<uint32_t, kStateBlockWords>(
                                          &blocks_[rider * kStateBlockWords], kStateBlockWords));
    }
    void SendStateCheck() override { ring_.Publish(step_, blocks_); }

private:
    const std::array<BikeRecord, kRiderCount>& bikes_;
    HostStateRing& ring_;
    HostStateRing::Blocks blocks_{};
    uint32_t step_ = 0;
};

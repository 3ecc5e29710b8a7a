// The lock-step input exchange: every input step each machine broadcasts its own rider's
// newest three frames, and asks for the frame the race waits on from every player whose
// ring lacks it; the race clock is held until it arrives.

#include "net/NetSession.h"

namespace
{
std::array<uint8_t, 4> ToBytes(const InputFrame& frame)
{
    return {static_cast<uint8_t>(frame.steer), static_cast<uint8_t>(frame.throttleBrake),
            static_cast<uint8_t>(frame.clutch), frame.buttons};
}
}  // namespace

bool NetSession::SendOwnInputs(uint32_t newest)
{
    const InputRing& ring = peers_[ownSlot_].inputRing;
    InputFrames message;
    message.newest = newest;
    for (uint32_t back = 0; back < 3 && back <= newest; ++back)
    {
        const std::optional<InputFrame> frame = ring.Read(newest - back);
        if (!frame)
        {
            return false;
        }
        message.inputs[2 - back] = ToBytes(*frame);
    }
    WriteInputFrames(BufferOf(NetMsgType::MsgInputFrames).bytes,
                     HeaderFor(NetMsgType::MsgInputFrames), message);
    Send(NetMsgType::MsgInputFrames);
    return true;
}

bool NetSession::RequestFrameFromMissing(uint32_t frame)
{
    bool missing = false;
    for (uint32_t slot = 0; slot < kNetSlotCount; ++slot)
    {
        const NetPeer& peer = peers_[slot];
        if (!peer.IsAwaited() || peer.inputRing.Read(frame).has_value())
        {
            continue;
        }
        missing = true;
        WriteInputResendRequest(
            BufferOf(NetMsgType::MsgInputResendRequest).bytes,
            HeaderFor(NetMsgType::MsgInputResendRequest, static_cast<uint8_t>(slot)), frame);
        Send(NetMsgType::MsgInputResendRequest);
    }
    return missing;
}

void NetSession::SendInputFrames()
{
    const Lock lock(mutex_);
    if (!RaceStarted())
    {
        return;
    }
    SendOwnInputs(machine_->InputTick() + inputDelay_ - 1);
}

void NetSession::RequestMissingInputs()
{
    const Lock lock(mutex_);
    if (!RaceStarted())
    {
        return;
    }
    const uint32_t next = machine_->InputTick() + 1;
    awaitedFrame_.store(next, std::memory_order_relaxed);
    machine_->SetClockHold(RequestFrameFromMissing(next));
}

void NetSession::RepeatInputRequests(uint32_t frame)
{
    const Lock lock(mutex_);
    if (!RaceStarted())
    {
        return;
    }
    machine_->SetClockHold(RequestFrameFromMissing(frame));
}

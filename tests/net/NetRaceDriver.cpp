#include "tests/net/NetRaceDriver.h"

#include "net/NetStateCheck.h"

#include <gtest/gtest.h>

InputFrame PlayerInput(uint32_t slot, uint32_t frame)
{
    return {static_cast<int8_t>((slot * 37 + frame * 11) % 255 - 127),
            static_cast<int8_t>((frame * 5 + slot) % 200 - 100), static_cast<int8_t>(frame % 128),
            static_cast<uint8_t>((frame + slot) & 0x0F)};
}

void StartRace(NetTestWorld& world, size_t clients)
{
    ASSERT_TRUE(world.HostWithClients(clients));
    for (size_t index = clients; index + 1 > 0; --index)
    {
        ASSERT_TRUE(world.At(index).lobby.ConfirmRider());
    }
    ASSERT_TRUE(world.At(0).lobby.StartSession());
    for (size_t index = 0; index <= clients; ++index)
    {
        world.At(index).session.ResetInputRings();
    }
    ASSERT_TRUE(world.At(0).session.StartRaceAsHost());
    for (size_t index = 1; index <= clients; ++index)
    {
        ASSERT_TRUE(world.At(index).session.WaitForRaceStart());
    }
}

void Racer::Tick(const std::vector<uint32_t>& slots)
{
    NetSession& session = machine->session;
    TestNetMachine& link = machine->link;
    if (link.clockHold.load())
    {
        heldTotalMs += 2;
        if ((heldMs += 2) >= kRepeatMs)
        {
            heldMs = 0;
            session.RepeatInputRequests(session.AwaitedFrame());
        }
        return;
    }
    heldMs = 0;
    if ((sinceStepMs += 2) < kInputStepMs)
    {
        return;
    }
    sinceStepMs = 0;
    const uint32_t own = session.OwnSlot();
    const uint32_t sampled = link.inputTick.load() + session.InputDelay();
    session.InputRingOf(own).Publish(sampled, PlayerInput(own, sampled));
    link.inputTick.fetch_add(1);
    session.SendInputFrames();
    session.RequestMissingInputs();
    // Every step up to the input tick has its inputs once the clock runs on.
    while (applied <= link.inputTick.load() && !link.clockHold.load())
    {
        std::vector<InputFrame> step;
        for (const uint32_t slot : slots)
        {
            const std::optional<InputFrame> frame = session.InputRingOf(slot).Read(applied);
            if (!frame)
            {
                return;
            }
            step.push_back(*frame);
        }
        inputs.push_back(step);
        ++applied;
    }
}

void StateCheckSender::AddStateCheckRider(uint32_t step, uint32_t rider, uint32_t index)
{
    AddRiderToStateCheck(session_, bikes_[rider], step, rider, index);
}

RaceOfMachine::RaceOfMachine(uint32_t riders) : race(riders)
{
    for (uint32_t rider = 0; rider < riders; ++rider)
    {
        lockstep.riderPresent[rider] = true;
    }
    race.Sim().SetLockstep(&lockstep);
}

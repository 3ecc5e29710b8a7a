#pragma once

// One machine of a network session as the others keep it, by its slot (rider number): its
// address, whether a player rides the slot, the acknowledgements of the exchange under way,
// when it was last heard, and the rider's control inputs by frame.

#include <cstdint>

#include "race/InputRing.h"

enum class NetPeerState : int32_t
{
    Dropped = -2,  // the player left or was lost; the computer rides the slot
    Empty = -1,    // nobody
    Computer = 0,  // a free slot the computer rides in this race
    Player = 1,    // an active player
};

struct NetPeer
{
    // Drops the player: the slot keeps its rider for the computer, and none of the exchange.
    void Drop();
    bool IsActive() const { return state == NetPeerState::Player; }
    // The race waits for the player's inputs: active and not retired from the running race.
    bool IsAwaited() const { return IsActive() && !retired; }

    uint32_t address = 0;  // 0 or all ones: none
    NetPeerState state = NetPeerState::Empty;
    // (a) line-up, set-up request or all set-ups acknowledged
    bool exchangeAcked = false;
    // (b) the bike set-up arrived
    bool setupReceived = false;
    // (c) ready: rider chosen, ready to start
    bool ready = false;
    // (d) leave, close, retirement or entry list acknowledged
    bool departureAcked = false;
    // (e) race result acknowledged
    bool resultAcked = false;
    // The player retired from the running race: the computer rides on, nobody waits for it.
    bool retired = false;
    uint32_t reserved = 0;  // kept from the join request, never interpreted
    uint32_t lastHeardMs = 0;
    InputRing inputRing;
};

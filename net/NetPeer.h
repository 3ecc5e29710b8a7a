#pragma once

// The per-rider records of network play, indexed by rider number. Offline races use them
// too: the race reads every rider's inputs from its ring.

#include <array>

#include "race/InputRing.h"

struct NetPeer
{
    InputRing inputRing;
};

inline constexpr size_t kNetPeerCount = 26;

extern std::array<NetPeer, kNetPeerCount> g_netPeers;

#pragma once

// How the game ends a network session when the player quits, backs out or the session
// fails. Network play is not built yet: no session ever starts, so there is none to end.

#include <atomic>

#include "net/NetSession.h"

// The network session broke down or was left; the session loop goes back to the main menu.
inline std::atomic<bool> g_netAborted{false};

// The host closes the session, a client leaves it (retrying and waiting for the others'
// acknowledgements).
inline void EndNetSession() {}

// Closes the socket; network play is off afterwards.
inline void NetShutdown()
{
    g_netActive.store(false, std::memory_order_relaxed);
}

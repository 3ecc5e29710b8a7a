#include "net/NetPeer.h"

std::array<NetPeer, kNetPeerCount> g_netPeers;

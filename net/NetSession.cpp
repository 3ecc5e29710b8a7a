#include "net/NetSession.h"

NetSession g_net;

std::atomic<bool> g_netActive{false};
std::atomic<uint32_t> g_netInputDelay{2};
std::atomic<int32_t> g_netResendCountdown{-1};
std::atomic<int32_t> g_netStatusCountdown{0};

void NetSendInputFrames() {}

#include "net/NetPeer.h"

#include "platform/DatagramNetwork.h"

void NetPeer::Drop()
{
    state = NetPeerState::Dropped;
    address = kIpv4Broadcast;
    exchangeAcked = false;
    ready = false;
    departureAcked = false;
    reserved = 0;
}

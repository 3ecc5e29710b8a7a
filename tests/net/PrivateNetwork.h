#pragma once

// A network of the test's own, so that no test datagram reaches a real network: the calling
// process (and every process it starts afterwards) moves into a new network namespace whose
// loopback is up and carries the broadcast address 255.255.255.255; without the privilege for
// it, inside a user namespace of its own. Only a single-threaded process can make that one.
//
// Where the machine allows no namespace (no privilege), tests fall back to the loopback's own
// broadcast address, 127.255.255.255, which never leaves the machine.

#include <cstdint>
#include <string>

#include "platform/DatagramNetwork.h"

// True when the process now runs in a private network; false leaves it where it was.
bool EnterPrivateNetwork();

// The broadcast address tests send to: 255.255.255.255 inside a private network, else the
// loopback's.
uint32_t TestBroadcastAddress(bool privateNetwork);

#pragma once

// The addresses of the host the simulator runs on, and moving one of them.

#include "interfaces.h"
#include "ipv4.h"
#include "status.h"

#include <vector>

// Every IPv4 address of an interface that is up; none when they cannot be listed.
std::vector<HostInterface> ListHostAddresses();

// First non-loopback address of an interface that is up, else 127.0.0.1.
Ipv4 DefaultHostAddress();

// Puts `to`/prefix on the interface that holds `from` and then removes `from`,
// with the `ip` command.
Status MoveHostAddress(Ipv4 from, Ipv4 to, int prefix);

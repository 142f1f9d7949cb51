#pragma once

// The addresses of the host the simulator runs on, and moving one of them.

#include <netinet/in.h>

#include <optional>
#include <string>
#include <vector>

struct HostAddress {
    in_addr address {};
    int prefix = 0;
    std::string interface; // device name, without an address label
    bool loopback = false;
};

std::vector<HostAddress> ListHostAddresses();

// First non-loopback address of an interface that is up, else 127.0.0.1.
in_addr DefaultHostAddress();

// Puts `to`/prefix on the interface that holds `from` and then removes `from`,
// with the `ip` command. Empty on success, else what went wrong.
std::string MoveHostAddress(in_addr from, in_addr to, int prefix);

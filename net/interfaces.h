#pragma once

// The host's IPv4 interfaces, from one walk of getifaddrs.

#include "ipv4.h"
#include "status.h"

#include <string>
#include <vector>

// One IPv4 address of an interface.
struct HostInterface {
    std::string name;   // as listed; a secondary address may carry a label ("eth0:1")
    unsigned index = 0; // if_nametoindex
    unsigned flags = 0; // IFF_UP, IFF_BROADCAST, IFF_LOOPBACK, ...
    Ipv4 address;
    Ipv4 netmask;
    Ipv4 broadcast;     // the directed broadcast address, 0.0.0.0 when none

    // Up, able to broadcast and not loopback: a port requests can leave by.
    bool CanBroadcast() const;
    bool IsUp() const;
    bool IsLoopback() const;
    // The interface's name without an address label.
    std::string Device() const;
};

// Every IPv4 address of every interface, in the order getifaddrs reports them.
Result<std::vector<HostInterface>> ListHostInterfaces();

// The ports among them: each interface that can broadcast once, with its
// first address (one broadcast per interface reaches its whole segment).
std::vector<HostInterface> BroadcastPorts(const std::vector<HostInterface>& all);

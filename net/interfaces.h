#pragma once

#include <string>
#include <vector>

// An IPv4 interface that is up and can broadcast.
struct NetInterface {
    std::string name;
    unsigned index = 0;      // if_nametoindex
    std::string address;     // first IPv4 address of the interface, dotted decimal
    std::string netmask;
    std::string broadcast;   // its directed broadcast address
};

// Every such interface once, in the order getifaddrs reports them (loopback
// excluded: it cannot broadcast). Returns 0, or the errno of getifaddrs.
int ListBroadcastInterfaces(std::vector<NetInterface>& out);

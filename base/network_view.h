#pragma once

// What the checks before an address change ask of the network, so that the
// checks themselves hold no sockets: net/ answers for the host, tests with
// a table.

#include "ipv4.h"

#include <string>
#include <vector>

class INetworkView {
public:
    struct OwnAddress {
        Ipv4 address;
        Ipv4 netmask;
        std::string port; // the interface's name
    };

    virtual ~INetworkView() = default;
    // This machine's address on each of its ports.
    virtual std::vector<OwnAddress> OwnAddresses() const = 0;
    // The MAC address of the neighbour that holds `address`, "" when none answers.
    virtual std::string NeighbourHolding(Ipv4 address) const = 0;
};

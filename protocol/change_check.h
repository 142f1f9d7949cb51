#pragma once

// Checks made before an address change is sent: a configuration that would
// cut the device off, an address another host already holds, and several
// devices answering at one address (the request names a device only by its
// address, so every one of them would take it). Each refuses with the
// problem in a sentence for the operator, or passes.

#include "network_view.h"
#include "status.h"

#include <string>
#include <string_view>
#include <vector>

// The new address, netmask and gateway of a static configuration.
Status StaticConfigProblem(std::string_view address, std::string_view netmask, std::string_view gateway);

// A device the last scan listed.
struct ListedDevice {
    std::string address;
    std::string mac;
};

// Whether a host other than the device being changed (now at deviceAddress,
// with deviceMac) holds `address`: this machine itself, a device the last scan
// listed, or, when the address lies in the subnet of one of this machine's
// ports, the neighbour that answers for it.
Status AddressInUseProblem(const std::string& address, const std::string& deviceAddress,
    const std::string& deviceMac, const std::vector<ListedDevice>& listed, const INetworkView& network);

// More than one MAC address answered at `address`.
Status SharedAddressProblem(const std::string& address, const std::vector<std::string>& macs);

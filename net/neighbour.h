#pragma once

#include "network_view.h"

#include <string>

// Asks the segment who holds `address`: one empty datagram to its discard
// port makes the kernel resolve it, then the neighbour table is read until
// an entry is complete or waitMs have passed. Needs no privileges. Returns
// the holder's MAC address, or "" when nobody answered.
std::string ProbeNeighbour(Ipv4 address, int waitMs);

// The host's network as the checks before an address change see it: the
// first address of each port (BroadcastPorts), and the probe above.
class CHostNetwork : public INetworkView {
public:
    explicit CHostNetwork(int probeWaitMs = 300) : m_nProbeWaitMs(probeWaitMs) { }
    std::vector<OwnAddress> OwnAddresses() const override;
    std::string NeighbourHolding(Ipv4 address) const override;

private:
    int m_nProbeWaitMs;
};

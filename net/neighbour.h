#pragma once

#include <string>

// Asks the segment who holds `address`: one empty datagram to its discard
// port makes the kernel resolve it, then the neighbour table is read until
// an entry is complete or waitMs have passed. Needs no privileges. Returns
// the holder's MAC address, or "" when nobody answered.
std::string ProbeNeighbour(const std::string& address, int waitMs);

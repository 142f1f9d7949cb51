#pragma once

// The earlier entry points for sending out of a chosen port, kept for their
// callers; datagram.h holds the module they are written over.

#include <netinet/in.h>

#include <cstddef>
#include <vector>

// Sends one datagram from `handle` to `destination`. ifindex 0 lets the
// routing table choose the way out; `source` (INADDR_ANY: the kernel's choice)
// is the source address. Returns 0, or the errno of the failure.
int SendThroughPort(int handle, const void* data, size_t length, const sockaddr_in& destination, unsigned ifindex,
    in_addr source);

// One port that was asked to carry a broadcast.
struct PortAttempt {
    unsigned ifindex = 0;  // 0 for the routed send
    int error = 0;         // 0 when the datagram left
};

// Sends to 255.255.255.255:port out of every port (BroadcastPorts), listed
// afresh at each call; with `only` not 0, out of that port alone (ENODEV when
// it is no longer such a port). With no port at all, the one routed send.
// Returns every attempt, in order; a failed listing is one failed attempt.
std::vector<PortAttempt> BroadcastOnEveryPort(int handle, const void* data, size_t length, int port, unsigned only);

// How many attempts left; the errno of the first that failed, or 0.
int CountSent(const std::vector<PortAttempt>& attempts, int* firstError = nullptr);

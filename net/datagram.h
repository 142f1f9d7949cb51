#pragma once

// Every datagram the programs send or receive goes through here: the ways
// out a request takes (routes), sending along one, and reading a batch with
// each datagram's arrival port.
//
// A datagram to 255.255.255.255 leaves by the routing table, that is along
// the default route only (ENETUNREACH when there is none); naming the port
// in IP_PKTINFO sends it out of that port instead, without privileges or
// SO_BINDTODEVICE.

#include "interfaces.h"
#include "ipv4.h"
#include "status.h"

#include <netinet/in.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

inline constexpr Ipv4 kLimitedBroadcast { 0xFFFFFFFFu };

// One way out: a destination, and the port (with its address as the
// source) it must leave by.
struct Route {
    Ipv4 destination;
    unsigned ifindex = 0;       // 0: the routing table decides
    Ipv4 source;                // 0.0.0.0: the kernel's choice
    std::string interfaceName;  // "" for a routed send
};

// "destination", or "destination via port".
std::string DescribeRoute(const Route& route);

// Which ways out a request takes. By default the limited broadcast out of
// every port (the one routed send when there is none).
struct RoutePlan {
    std::string interfaceName {}; // that port alone, by name
    unsigned ifindex = 0;         // that port alone, by index: where a device answered
    std::vector<Ipv4> targets {}; // these destinations instead of the broadcast;
                                  // without a port named, routed (a router may lie between)
};

// The routes of a plan over the given ports (BroadcastPorts), or why there
// are none: the named port does not exist or cannot broadcast (ENODEV).
Result<std::vector<Route>> PlanRoutes(const RoutePlan& plan, const std::vector<HostInterface>& ports);
// The same over the ports as they are now.
Result<std::vector<Route>> PlanRoutes(const RoutePlan& plan);

// Sends one datagram from `handle` along the route to `port`.
Status SendAlong(int handle, const Route& route, int port, std::span<const char> bytes);
// Sends one datagram to `destination`; ifindex 0 lets the routing table
// choose the way out, `source` 0.0.0.0 the source address.
Status SendDatagram(int handle, std::span<const char> bytes, const sockaddr_in& destination, unsigned ifindex,
    Ipv4 source);

// Asks the kernel to tell each received datagram's arrival port and
// destination address (IP_PKTINFO) and, with `timestamps`, its arrival time.
void AskArrivalInfo(int handle, bool timestamps);

// One received datagram in a buffer of the caller's.
struct ReceivedDatagram {
    std::span<char> buffer;     // where it goes; set before the read
    int length = 0;             // bytes in the buffer
    bool truncated = false;     // longer than the buffer: the rest is lost
    sockaddr_in sender {};
    unsigned ifindex = 0;       // the port it arrived by; 0 unless asked for
    Ipv4 destination;           // the address it was sent to; 0.0.0.0 unless asked for
    int64_t arrivalNs = 0;      // CLOCK_REALTIME; 0 unless asked for

    std::span<const char> Bytes() const { return buffer.first(static_cast<size_t>(length)); }
};

// One recvmmsg into `into` (each entry's buffer set): how many were read,
// or the failure (EAGAIN with MSG_DONTWAIT when none is queued).
Result<int> ReceiveBatch(int handle, std::span<ReceivedDatagram> into, int flags);

// Buffers for batches of `count` datagrams of up to `size` bytes each.
class CDatagramBatch {
public:
    CDatagramBatch(int count, int size);
    // Takes what is queued, at most a batch, without waiting: how many.
    Result<int> Receive(int handle);
    const ReceivedDatagram& operator[](int i) const { return m_datagrams[static_cast<size_t>(i)]; }

private:
    std::vector<char> m_storage;
    std::vector<ReceivedDatagram> m_datagrams;
};

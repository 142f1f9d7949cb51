#include "cli_net.h"

#include "device_wake.h"
#include "listener.h"
#include "wire.h"
#include "wire_ports.h"

#include <net/if.h>
#include <poll.h>
#include <sys/socket.h>
#include <time.h>

#include <algorithm>
#include <cerrno>
#include <iterator>

namespace {

int64_t ClockNs(clockid_t clock)
{
    timespec now {};
    clock_gettime(clock, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

} // namespace

int64_t MonotonicNs()
{
    return ClockNs(CLOCK_MONOTONIC);
}

int64_t RealtimeNs()
{
    return ClockNs(CLOCK_REALTIME);
}

int64_t CpuTimeNs()
{
    return ClockNs(CLOCK_PROCESS_CPUTIME_ID);
}

std::vector<int> RequestOffsetsMs(int repeat, int timeoutMs)
{
    static constexpr int kOffsets[] = { 0, 250, 600, 1000, 1500 };
    constexpr int kMost = static_cast<int>(std::size(kOffsets));
    repeat = std::clamp(repeat, 1, kMost);
    int64_t last = kOffsets[repeat - 1];
    int64_t room = timeoutMs / 2;
    std::vector<int> offsets;
    for (int i = 0; i < repeat; ++i)
        offsets.push_back(static_cast<int>(last <= room ? kOffsets[i] : kOffsets[i] * room / last));
    return offsets;
}

RoutePlan ToRoutePlan(const SendPlan& plan)
{
    RoutePlan routes { .interfaceName = plan.interfaceName };
    for (const std::string& target : plan.targets) {
        if (std::optional<Ipv4> address = Ipv4::Parse(target))
            routes.targets.push_back(*address);
    }
    return routes;
}

Status CReplyChannel::Open()
{
    Close();
    // Bound without SO_REUSEADDR: EADDRINUSE is how another program holding
    // the port shows, and its replies would otherwise be split between us.
    if (!m_socket.Open(SOCK_DGRAM, IPPROTO_UDP, AF_INET))
        return Status::FromErrno(errno, "Could not open a socket");
    int handle = m_socket.m_hRawSocket;
    if (Status bound = BindToolPort(m_socket); !bound.Ok()) {
        m_socket.Close();
        if (bound.Code() == std::errc::address_in_use)
            return Status(bound.Code(), "Port 10001 is in use by another program");
        return bound;
    }
    // Thousands of devices answer within milliseconds; the default queue
    // holds a few hundred replies. FORCE passes rmem_max for root.
    int size = kReceiveBufferBytes;
    if (setsockopt(handle, SOL_SOCKET, SO_RCVBUFFORCE, &size, sizeof size) != 0)
        setsockopt(handle, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
    AskArrivalInfo(handle, true);
    // Names are looked up now, not while a burst of replies waits.
    if (struct if_nameindex* names = if_nameindex()) {
        for (struct if_nameindex* n = names; n->if_index != 0; ++n)
            m_names[n->if_index] = n->if_name;
        if_freenameindex(names);
    }
    return {};
}

Status CReplyChannel::OpenForSending()
{
    Close();
    if (!m_socket.Open(SOCK_DGRAM, IPPROTO_UDP, AF_INET))
        return Status::FromErrno(errno, "Could not open a socket");
    return {};
}

void CReplyChannel::Close()
{
    m_socket.Close();
}

Result<int> CReplyChannel::Send(const std::vector<Route>& routes, const std::string& text)
{
    return SendBytes(routes, kDevicePort, std::string_view(text.c_str(), text.size() + 1)); // the NUL goes too
}

Result<int> CReplyChannel::SendBytes(const std::vector<Route>& routes, int port, std::string_view text)
{
    return SendAlongEach(m_socket.m_hRawSocket, routes, port, text);
}

namespace {

Datagram ToDatagram(const ReceivedDatagram& received)
{
    Datagram d;
    d.data = received.buffer.data();
    d.length = received.length;
    d.sender.m_addr = received.sender;
    d.ifindex = received.ifindex;
    d.arrivalNs = received.arrivalNs;
    return d;
}

} // namespace

void CReplyChannel::Collect(int64_t deadlineNs, const DatagramHandler& handler)
{
    if (HandHeld(handler))
        return;
    while (WaitReadable(deadlineNs)) {
        if (Drain(handler))
            return;
    }
}

// What the last call read but did not hand over comes first. True when the
// handler said stop.
bool CReplyChannel::HandHeld(const DatagramHandler& handler)
{
    while (!m_held.empty()) {
        HeldDatagram held = std::move(m_held.front());
        m_held.pop_front();
        held.datagram.data = held.bytes.data();
        if (handler(held.datagram))
            return true;
    }
    return false;
}

// False once the deadline has passed, or when the socket cannot be waited on.
bool CReplyChannel::WaitReadable(int64_t deadlineNs)
{
    while (!Interrupted()) {
        int64_t left = deadlineNs - MonotonicNs();
        if (left <= 0)
            return false;
        pollfd pfd { m_socket.m_hRawSocket, POLLIN, 0 };
        timespec wait { static_cast<time_t>(left / 1000000000), static_cast<long>(left % 1000000000) };
        int ready = ppoll(&pfd, 1, &wait, m_waitMask);
        if (ready > 0)
            return true;
        if (ready < 0 && errno != EINTR)
            return false;
    }
    return false;
}

// Reads batches until the queue is empty (false) or the handler says stop
// (true); the rest of that batch has left the queue and is kept for the next call.
bool CReplyChannel::Drain(const DatagramHandler& handler)
{
    while (true) {
        Result<int> count = m_batch.Receive(m_socket.m_hRawSocket);
        if (!count.Ok() || *count <= 0)
            return false;
        for (int i = 0; i < *count; ++i) {
            if (m_batch[i].truncated || !handler(ToDatagram(m_batch[i])))
                continue; // a truncated one is longer than any reply: dropped whole
            for (int rest = i + 1; rest < *count; ++rest) {
                if (!m_batch[rest].truncated)
                    m_held.push_back({ std::string(m_batch[rest].Bytes().begin(), m_batch[rest].Bytes().end()),
                        ToDatagram(m_batch[rest]) });
            }
            return true;
        }
        if (*count < kBatch)
            return false;
    }
}

void CReplyChannel::StopOn(const sigset_t* waitMask, const volatile sig_atomic_t* stop)
{
    m_waitMask = waitMask;
    m_stop = stop;
}

std::string CReplyChannel::InterfaceName(unsigned index)
{
    if (index == 0)
        return {};
    auto known = m_names.find(index);
    if (known != m_names.end())
        return known->second;
    char name[IF_NAMESIZE] = {};
    std::string text = if_indextoname(index, name) ? name : "";
    m_names[index] = text;
    return text;
}

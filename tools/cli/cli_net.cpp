#include "cli_net.h"

#include "interfaces.h"
#include "listener.h"
#include "port_send.h"
#include "wire.h"

#include <arpa/inet.h>
#include <net/if.h>
#include <poll.h>
#include <sys/socket.h>
#include <time.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iterator>

namespace {

int64_t ClockNs(clockid_t clock)
{
    timespec now {};
    clock_gettime(clock, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

std::string Describe(const Route& route)
{
    if (route.interfaceName.empty())
        return route.destination;
    return route.destination + " via " + route.interfaceName;
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

std::optional<std::vector<Route>> PlanRoutes(const SendPlan& plan, std::string& error)
{
    std::vector<NetInterface> interfaces;
    if (int failed = ListBroadcastInterfaces(interfaces); failed != 0) {
        error = std::string("Could not list the network interfaces: ") + std::strerror(failed);
        return std::nullopt;
    }
    std::vector<std::string> destinations = plan.targets;
    if (destinations.empty())
        destinations.push_back(kBroadcastAddress);

    std::vector<Route> routes;
    if (!plan.interfaceName.empty()) {
        const NetInterface* chosen = nullptr;
        for (const NetInterface& i : interfaces) {
            if (i.name == plan.interfaceName)
                chosen = &i;
        }
        if (chosen == nullptr) {
            if (if_nametoindex(plan.interfaceName.c_str()) == 0)
                error = "No interface named \"" + plan.interfaceName + "\"";
            else
                error = "Interface \"" + plan.interfaceName + "\" is not up, has no IPv4 address or cannot broadcast";
            return std::nullopt;
        }
        for (const std::string& destination : destinations)
            routes.push_back({ destination, chosen->index, chosen->address, chosen->name });
    } else if (!plan.targets.empty()) {
        // A unicast target may be reached over a router; only a broadcast needs an interface.
        for (const std::string& destination : destinations)
            routes.push_back({ destination, 0, "", "" });
    } else {
        // Out of every port: the routing table alone would pick the default route's.
        for (const NetInterface& i : interfaces)
            routes.push_back({ kBroadcastAddress, i.index, i.address, i.name });
        if (routes.empty())
            routes.push_back({ kBroadcastAddress, 0, "", "" }); // no port can broadcast: the routed send
    }
    return routes;
}

bool CReplyChannel::Open(std::string& error)
{
    Close();
    // Bound without SO_REUSEADDR: EADDRINUSE is how another program holding
    // the port shows, and its replies would otherwise be split between us.
    if (!m_socket.Open(SOCK_DGRAM, IPPROTO_UDP, AF_INET)) {
        error = std::string("Could not open a socket: ") + std::strerror(errno);
        return false;
    }
    int handle = m_socket.m_hRawSocket;
    if (int failed = BindToolPort(m_socket); failed != 0) {
        m_socket.Close();
        error = failed == EADDRINUSE ? "Port 10001 is in use by another program"
                                     : std::string("Could not bind port 10001: ") + std::strerror(failed);
        return false;
    }
    // Thousands of devices answer within milliseconds; the default queue
    // holds a few hundred replies. FORCE passes rmem_max for root.
    int size = kReceiveBufferBytes;
    if (setsockopt(handle, SOL_SOCKET, SO_RCVBUFFORCE, &size, sizeof size) != 0)
        setsockopt(handle, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
    int on = 1;
    setsockopt(handle, IPPROTO_IP, IP_PKTINFO, &on, sizeof on);
    setsockopt(handle, SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on);
    // Names are looked up now, not while a burst of replies waits.
    if (struct if_nameindex* names = if_nameindex()) {
        for (struct if_nameindex* n = names; n->if_index != 0; ++n)
            m_names[n->if_index] = n->if_name;
        if_freenameindex(names);
    }
    return true;
}

void CReplyChannel::Close()
{
    m_socket.Close();
}

int CReplyChannel::Send(const std::vector<Route>& routes, const std::string& text, std::string& failures)
{
    int sent = 0;
    for (const Route& route : routes) {
        CSockAddr destination(route.destination.c_str(), kDevicePort);
        in_addr source {};
        if (!route.source.empty())
            inet_pton(AF_INET, route.source.c_str(), &source);
        // The NUL goes too.
        int failed = SendThroughPort(m_socket.m_hRawSocket, text.c_str(), text.size() + 1, destination.m_addr,
            route.ifindex, source);
        if (failed == 0) {
            ++sent;
            continue;
        }
        if (failed == ENETUNREACH && route.ifindex == 0 && route.destination == kBroadcastAddress)
            failures += "No IPv4 interface is up and can broadcast\n"; // nor any route for it
        else
            failures += "Could not send to " + Describe(route) + ": " + std::strerror(failed) + "\n";
    }
    return sent;
}

void CReplyChannel::Collect(int64_t deadlineNs, const DatagramHandler& handler)
{
    constexpr int kBatch = 64;
    constexpr size_t kControl = CMSG_SPACE(sizeof(in_pktinfo)) + CMSG_SPACE(sizeof(timespec));
    char buffers[kBatch][wire::kReplyLimit];
    alignas(cmsghdr) char controls[kBatch][kControl];
    sockaddr_in senders[kBatch];
    iovec iovs[kBatch];
    mmsghdr msgs[kBatch];

    // What the last call read but did not hand over comes first.
    while (!m_held.empty()) {
        HeldDatagram held = std::move(m_held.front());
        m_held.pop_front();
        held.datagram.data = held.bytes.data();
        if (handler(held.datagram))
            return;
    }
    auto toDatagram = [&](int i) {
        const msghdr& hdr = msgs[i].msg_hdr;
        Datagram d;
        d.data = buffers[i];
        d.length = static_cast<int>(msgs[i].msg_len);
        d.sender.m_addr = senders[i];
        for (cmsghdr* cm = CMSG_FIRSTHDR(&hdr); cm != nullptr; cm = CMSG_NXTHDR(const_cast<msghdr*>(&hdr), cm)) {
            if (cm->cmsg_level == IPPROTO_IP && cm->cmsg_type == IP_PKTINFO) {
                in_pktinfo info;
                std::memcpy(&info, CMSG_DATA(cm), sizeof info);
                d.ifindex = static_cast<unsigned>(info.ipi_ifindex);
            } else if (cm->cmsg_level == SOL_SOCKET && cm->cmsg_type == SO_TIMESTAMPNS) {
                timespec at;
                std::memcpy(&at, CMSG_DATA(cm), sizeof at);
                d.arrivalNs = static_cast<int64_t>(at.tv_sec) * 1000000000 + at.tv_nsec;
            }
        }
        return d;
    };

    int handle = m_socket.m_hRawSocket;
    while (true) {
        int64_t left = deadlineNs - MonotonicNs();
        if (left <= 0)
            return;
        pollfd pfd { handle, POLLIN, 0 };
        int ready = poll(&pfd, 1, static_cast<int>((left + 999999) / 1000000));
        if (ready < 0 && errno != EINTR)
            return;
        if (ready <= 0)
            continue;
        while (true) {
            for (int i = 0; i < kBatch; ++i) {
                iovs[i] = { buffers[i], sizeof buffers[i] };
                msgs[i] = {};
                msgs[i].msg_hdr.msg_name = &senders[i];
                msgs[i].msg_hdr.msg_namelen = sizeof senders[i];
                msgs[i].msg_hdr.msg_iov = &iovs[i];
                msgs[i].msg_hdr.msg_iovlen = 1;
                msgs[i].msg_hdr.msg_control = controls[i];
                msgs[i].msg_hdr.msg_controllen = kControl;
            }
            int count = recvmmsg(handle, msgs, kBatch, MSG_DONTWAIT, nullptr);
            if (count <= 0)
                break;
            for (int i = 0; i < count; ++i) {
                if (msgs[i].msg_hdr.msg_flags & MSG_TRUNC)
                    continue; // longer than any reply: dropped whole
                if (!handler(toDatagram(i)))
                    continue;
                // The rest of the batch has left the queue: kept for the next call.
                for (int rest = i + 1; rest < count; ++rest) {
                    if (msgs[rest].msg_hdr.msg_flags & MSG_TRUNC)
                        continue;
                    Datagram d = toDatagram(rest);
                    m_held.push_back({ std::string(d.data, static_cast<size_t>(d.length)), d });
                }
                return;
            }
            if (count < kBatch)
                break;
        }
    }
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

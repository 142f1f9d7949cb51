#include "datagram.h"

#include <net/if.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>

namespace {

const HostInterface* FindPort(const std::vector<HostInterface>& ports, const RoutePlan& plan)
{
    for (const HostInterface& p : ports) {
        if (plan.ifindex != 0 ? p.index == plan.ifindex : p.name == plan.interfaceName)
            return &p;
    }
    return nullptr;
}

Status NoSuchPort(const RoutePlan& plan)
{
    std::string why;
    if (!plan.interfaceName.empty() && if_nametoindex(plan.interfaceName.c_str()) == 0)
        why = "No interface named \"" + plan.interfaceName + "\"";
    else if (!plan.interfaceName.empty())
        why = "Interface \"" + plan.interfaceName + "\" is not up, has no IPv4 address or cannot broadcast";
    else // the port a device was heard on is gone
        why = "Interface " + std::to_string(plan.ifindex) + " is not up, has no IPv4 address or cannot broadcast";
    return Status::Refused(std::errc::no_such_device, why);
}

void ReadControl(msghdr& header, ReceivedDatagram& d)
{
    for (cmsghdr* cm = CMSG_FIRSTHDR(&header); cm != nullptr; cm = CMSG_NXTHDR(&header, cm)) {
        if (cm->cmsg_level == IPPROTO_IP && cm->cmsg_type == IP_PKTINFO) {
            in_pktinfo info;
            std::memcpy(&info, CMSG_DATA(cm), sizeof info);
            d.ifindex = static_cast<unsigned>(info.ipi_ifindex);
            d.destination = Ipv4::FromInAddr(info.ipi_addr);
        } else if (cm->cmsg_level == SOL_SOCKET && cm->cmsg_type == SO_TIMESTAMPNS) {
            timespec at;
            std::memcpy(&at, CMSG_DATA(cm), sizeof at);
            d.arrivalNs = static_cast<int64_t>(at.tv_sec) * 1000000000 + at.tv_nsec;
        }
    }
}

} // namespace

std::string DescribeRoute(const Route& route)
{
    if (route.interfaceName.empty())
        return route.destination.ToText();
    return route.destination.ToText() + " via " + route.interfaceName;
}

Result<std::vector<Route>> PlanRoutes(const RoutePlan& plan, const std::vector<HostInterface>& ports)
{
    std::vector<Ipv4> destinations = plan.targets;
    if (destinations.empty())
        destinations.push_back(kLimitedBroadcast);
    std::vector<Route> routes;
    if (!plan.interfaceName.empty() || plan.ifindex != 0) {
        const HostInterface* chosen = FindPort(ports, plan);
        if (chosen == nullptr)
            return NoSuchPort(plan);
        for (Ipv4 destination : destinations)
            routes.push_back({ destination, chosen->index, chosen->address, chosen->name });
    } else if (!plan.targets.empty()) {
        for (Ipv4 destination : destinations)
            routes.push_back({ destination, 0, Ipv4(), "" });
    } else {
        for (const HostInterface& p : ports)
            routes.push_back({ kLimitedBroadcast, p.index, p.address, p.name });
        if (routes.empty())
            routes.push_back({ kLimitedBroadcast, 0, Ipv4(), "" }); // no port can broadcast: the routed send
    }
    return routes;
}

Result<std::vector<Route>> PlanRoutes(const RoutePlan& plan)
{
    Result<std::vector<HostInterface>> all = ListHostInterfaces();
    if (!all.Ok())
        return all.Failure();
    return PlanRoutes(plan, BroadcastPorts(*all));
}

Status SendDatagram(int handle, std::span<const char> bytes, const sockaddr_in& destination, unsigned ifindex,
    Ipv4 source)
{
    if (handle < 0)
        return Status::FromErrno(EBADF, "Could not send");
    iovec iov { const_cast<char*>(bytes.data()), bytes.size() };
    msghdr msg {};
    msg.msg_name = const_cast<sockaddr_in*>(&destination);
    msg.msg_namelen = sizeof destination;
    msg.msg_iov = &iov;
    msg.msg_iovlen = 1;
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
    if (ifindex != 0 || source != Ipv4()) {
        msg.msg_control = control;
        msg.msg_controllen = sizeof control;
        cmsghdr* cm = CMSG_FIRSTHDR(&msg);
        cm->cmsg_level = IPPROTO_IP;
        cm->cmsg_type = IP_PKTINFO;
        cm->cmsg_len = CMSG_LEN(sizeof(in_pktinfo));
        in_pktinfo info {};
        info.ipi_ifindex = static_cast<int>(ifindex);
        info.ipi_spec_dst = source.ToInAddr();
        std::memcpy(CMSG_DATA(cm), &info, sizeof info);
    }
    if (sendmsg(handle, &msg, 0) < 0)
        return Status::FromErrno(errno, "Could not send");
    return {};
}

Status SendAlong(int handle, const Route& route, int port, std::span<const char> bytes)
{
    sockaddr_in destination {};
    destination.sin_family = AF_INET;
    destination.sin_port = htons(static_cast<uint16_t>(port));
    destination.sin_addr = route.destination.ToInAddr();
    Status sent = SendDatagram(handle, bytes, destination, route.ifindex, route.source);
    if (sent.Ok())
        return sent;
    return Status::FromErrno(sent.Errno(), "Could not send to " + DescribeRoute(route));
}

void AskArrivalInfo(int handle, bool timestamps)
{
    int on = 1;
    setsockopt(handle, IPPROTO_IP, IP_PKTINFO, &on, sizeof on);
    if (timestamps)
        setsockopt(handle, SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on);
}

Result<int> ReceiveBatch(int handle, std::span<ReceivedDatagram> into, int flags)
{
    constexpr size_t kControl = CMSG_SPACE(sizeof(in_pktinfo)) + CMSG_SPACE(sizeof(timespec));
    constexpr size_t kMost = 256;
    if (handle < 0)
        return Status::FromErrno(EBADF, "Could not receive");
    const size_t count = std::min(into.size(), kMost);
    alignas(cmsghdr) char controls[kMost][kControl];
    iovec iovs[kMost];
    mmsghdr msgs[kMost];
    for (size_t i = 0; i < count; ++i) {
        iovs[i] = { into[i].buffer.data(), into[i].buffer.size() };
        msgs[i] = {};
        msgs[i].msg_hdr.msg_name = &into[i].sender;
        msgs[i].msg_hdr.msg_namelen = sizeof into[i].sender;
        msgs[i].msg_hdr.msg_iov = &iovs[i];
        msgs[i].msg_hdr.msg_iovlen = 1;
        msgs[i].msg_hdr.msg_control = controls[i];
        msgs[i].msg_hdr.msg_controllen = kControl;
    }
    int got = recvmmsg(handle, msgs, static_cast<unsigned>(count), flags, nullptr);
    if (got < 0)
        return Status::FromErrno(errno, "Could not receive");
    for (int i = 0; i < got; ++i) {
        ReceivedDatagram& d = into[static_cast<size_t>(i)];
        d.length = static_cast<int>(std::min<size_t>(msgs[i].msg_len, d.buffer.size()));
        d.truncated = (msgs[i].msg_hdr.msg_flags & MSG_TRUNC) != 0;
        d.ifindex = 0;
        d.destination = Ipv4();
        d.arrivalNs = 0;
        ReadControl(msgs[i].msg_hdr, d);
    }
    return got;
}

CDatagramBatch::CDatagramBatch(int count, int size)
    : m_storage(static_cast<size_t>(count) * static_cast<size_t>(size))
    , m_datagrams(static_cast<size_t>(count))
{
    for (size_t i = 0; i < m_datagrams.size(); ++i)
        m_datagrams[i].buffer = std::span<char>(m_storage).subspan(i * static_cast<size_t>(size), static_cast<size_t>(size));
}

Result<int> CDatagramBatch::Receive(int handle)
{
    return ReceiveBatch(handle, m_datagrams, MSG_DONTWAIT);
}

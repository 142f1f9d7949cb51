#include "interfaces.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <algorithm>
#include <cerrno>
#include <map>

namespace {

Ipv4 AddressOf(const sockaddr* address)
{
    if (address == nullptr || address->sa_family != AF_INET)
        return {};
    return Ipv4::FromInAddr(reinterpret_cast<const sockaddr_in*>(address)->sin_addr);
}

} // namespace

bool HostInterface::IsUp() const
{
    return (flags & IFF_UP) != 0;
}

bool HostInterface::IsLoopback() const
{
    return (flags & IFF_LOOPBACK) != 0;
}

bool HostInterface::CanBroadcast() const
{
    return IsUp() && (flags & IFF_BROADCAST) && !IsLoopback();
}

std::string HostInterface::Device() const
{
    return name.substr(0, name.find(':'));
}

Result<std::vector<HostInterface>> ListHostInterfaces()
{
    ifaddrs* all = nullptr;
    if (getifaddrs(&all) != 0)
        return Status::FromErrno(errno, "Could not list the network interfaces");
    std::vector<HostInterface> found;
    std::map<std::string, unsigned> indexes; // many addresses, one look-up per name
    for (ifaddrs* a = all; a != nullptr; a = a->ifa_next) {
        if (a->ifa_addr == nullptr || a->ifa_addr->sa_family != AF_INET)
            continue;
        HostInterface h;
        h.name = a->ifa_name;
        auto known = indexes.try_emplace(h.name, 0);
        if (known.second)
            known.first->second = if_nametoindex(a->ifa_name);
        h.index = known.first->second;
        h.flags = a->ifa_flags;
        h.address = AddressOf(a->ifa_addr);
        h.netmask = AddressOf(a->ifa_netmask);
        if (a->ifa_flags & IFF_BROADCAST)
            h.broadcast = AddressOf(a->ifa_broadaddr);
        found.push_back(h);
    }
    freeifaddrs(all);
    return found;
}

std::vector<HostInterface> BroadcastPorts(const std::vector<HostInterface>& all)
{
    std::vector<HostInterface> ports;
    for (const HostInterface& h : all) {
        bool listed = std::any_of(ports.begin(), ports.end(), [&](const HostInterface& p) { return p.name == h.name; });
        if (h.CanBroadcast() && !listed)
            ports.push_back(h);
    }
    return ports;
}

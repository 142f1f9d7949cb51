#include "interfaces.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <cerrno>

static std::string Dotted(const sockaddr* address)
{
    if (address == nullptr || address->sa_family != AF_INET)
        return {};
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(address)->sin_addr, text, sizeof text);
    return text;
}

int ListBroadcastInterfaces(std::vector<NetInterface>& out)
{
    out.clear();
    ifaddrs* all = nullptr;
    if (getifaddrs(&all) != 0)
        return errno;
    for (ifaddrs* a = all; a != nullptr; a = a->ifa_next) {
        if (a->ifa_addr == nullptr || a->ifa_addr->sa_family != AF_INET)
            continue;
        const unsigned wanted = IFF_UP | IFF_BROADCAST;
        if ((a->ifa_flags & wanted) != wanted || (a->ifa_flags & IFF_LOOPBACK))
            continue;
        // An interface with many addresses is listed once: one broadcast per
        // interface reaches its whole segment.
        bool listed = false;
        for (const NetInterface& known : out)
            listed = listed || known.name == a->ifa_name;
        if (listed)
            continue;
        NetInterface found;
        found.name = a->ifa_name;
        found.index = if_nametoindex(a->ifa_name);
        found.address = Dotted(a->ifa_addr);
        found.netmask = Dotted(a->ifa_netmask);
        found.broadcast = Dotted(a->ifa_broadaddr);
        out.push_back(found);
    }
    freeifaddrs(all);
    return 0;
}

#include "neighbour.h"

#include "interfaces.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

// The MAC address the kernel has resolved for `address`, "" when none.
std::string ResolvedNeighbour(const std::string& address)
{
    std::ifstream table("/proc/net/arp");
    std::string line;
    std::getline(table, line); // heading
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string ip, type, flags, mac;
        fields >> ip >> type >> flags >> mac;
        constexpr unsigned long kComplete = 0x2; // ATF_COM
        if (ip == address && (std::stoul(flags, nullptr, 16) & kComplete) && mac != "00:00:00:00:00:00")
            return mac;
    }
    return {};
}

} // namespace

std::string ProbeNeighbour(Ipv4 address, int waitMs)
{
    sockaddr_in to {};
    to.sin_family = AF_INET;
    to.sin_port = htons(9); // discard: harmless for whoever holds the address
    to.sin_addr = address.ToInAddr();
    int probe = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (probe == -1)
        return {};
    sendto(probe, "", 0, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    close(probe);
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    const std::string text = address.ToText(); // as the kernel's table writes it
    std::string holder;
    while ((holder = ResolvedNeighbour(text)).empty() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return holder;
}

std::vector<INetworkView::OwnAddress> CHostNetwork::OwnAddresses() const
{
    std::vector<OwnAddress> own;
    Result<std::vector<HostInterface>> all = ListHostInterfaces();
    if (!all.Ok())
        return own; // nothing known of the host: the checks that need it pass
    for (const HostInterface& port : BroadcastPorts(*all))
        own.push_back({ port.address, port.netmask, port.name });
    return own;
}

std::string CHostNetwork::NeighbourHolding(Ipv4 address) const
{
    return ProbeNeighbour(address, m_nProbeWaitMs);
}

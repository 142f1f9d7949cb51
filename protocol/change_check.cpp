#include "change_check.h"

#include "interfaces.h"
#include "neighbour.h"

#include <arpa/inet.h>

#include <cctype>
#include <cstdint>

namespace {

bool Parse(std::string_view text, uint32_t& value)
{
    in_addr a {};
    if (inet_pton(AF_INET, std::string(text).c_str(), &a) != 1)
        return false;
    value = ntohl(a.s_addr);
    return true;
}

std::string Dotted(uint32_t value)
{
    in_addr a { htonl(value) };
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &a, text, sizeof text);
    return text;
}

int PrefixLength(uint32_t mask)
{
    int bits = 0;
    while (bits < 32 && (mask & (0x80000000u >> bits)))
        ++bits;
    return bits;
}

std::string Subnet(uint32_t address, uint32_t mask)
{
    return Dotted(address & mask) + "/" + std::to_string(PrefixLength(mask));
}

bool SameMac(std::string a, std::string b)
{
    for (std::string* s : { &a, &b })
        for (char& c : *s)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return !a.empty() && a == b;
}

} // namespace

std::string StaticConfigProblem(std::string_view addressText, std::string_view netmaskText, std::string_view gatewayText)
{
    uint32_t address = 0, mask = 0, gateway = 0;
    if (!Parse(netmaskText, mask))
        return "The netmask \"" + std::string(netmaskText) + "\" is not an IPv4 address.";
    if (mask == 0)
        return "The netmask 0.0.0.0 is not usable: it makes every address part of the subnet.";
    if (mask == 0xFFFFFFFFu)
        return "The netmask 255.255.255.255 is not usable: it leaves no other host, not even the gateway, in the subnet.";
    if ((~mask & (~mask + 1)) != 0)
        return "The netmask " + std::string(netmaskText) + " is not contiguous: its one bits must all come first.";

    if (!Parse(addressText, address))
        return "The address \"" + std::string(addressText) + "\" is not an IPv4 address.";
    const std::string a(addressText);
    if (address == 0xFFFFFFFFu)
        return "The address 255.255.255.255 is the broadcast address.";
    if ((address >> 24) == 0)
        return "The address " + a + " is not usable: 0.x.x.x addresses mean \"this network\".";
    if ((address >> 24) == 127)
        return "The address " + a + " is a loopback address: the device would reach only itself.";
    if ((address >> 28) == 0xE)
        return "The address " + a + " is a multicast address.";
    if ((address & ~mask) == 0)
        return "The address " + a + " is the network address of the subnet " + Subnet(address, mask) + ".";
    if ((address & ~mask) == ~mask)
        return "The address " + a + " is the broadcast address of the subnet " + Subnet(address, mask) + ".";

    if (!Parse(gatewayText, gateway))
        return "The gateway \"" + std::string(gatewayText) + "\" is not an IPv4 address.";
    if (gateway == address)
        return "The gateway " + std::string(gatewayText) + " is the new address itself.";
    if ((gateway & mask) != (address & mask) || (gateway & ~mask) == 0 || (gateway & ~mask) == ~mask)
        return "The gateway " + std::string(gatewayText) + " is not a host of the subnet " + Subnet(address, mask)
            + " of the new address.";
    return {};
}

std::string AddressInUseProblem(const std::string& address, const std::string& deviceAddress,
    const std::string& deviceMac, const std::vector<ListedDevice>& listed, int waitMs)
{
    uint32_t wanted = 0;
    if (!Parse(address, wanted) || address == deviceAddress) // keeping its address
        return {};
    std::vector<NetInterface> ports;
    ListBroadcastInterfaces(ports);
    bool onLink = false;
    for (const NetInterface& port : ports) {
        if (port.address == address)
            return "The address " + address + " is this computer's own address (" + port.name + ").";
        uint32_t own = 0, mask = 0;
        if (Parse(port.address, own) && Parse(port.netmask, mask) && (own & mask) == (wanted & mask))
            onLink = true;
    }
    for (const ListedDevice& d : listed) {
        if (d.address == address && !SameMac(d.mac, deviceMac))
            return "The address " + address + " is already in use by the device with MAC address " + d.mac
                + " that the last scan listed.";
    }
    if (!onLink)
        return {};

    std::string holder = ProbeNeighbour(address, waitMs);
    if (holder.empty() || SameMac(holder, deviceMac))
        return {};
    return "The address " + address + " is already in use by the host with MAC address " + holder + ".";
}

std::string SharedAddressProblem(const std::string& address, const std::vector<std::string>& macs)
{
    if (macs.size() < 2)
        return {};
    std::string list;
    for (const std::string& mac : macs)
        list += (list.empty() ? "" : ", ") + (mac.empty() ? std::string("(none given)") : mac);
    return "Several devices answer at " + address + " (MAC addresses " + list
        + "); a change request would change all of them.";
}

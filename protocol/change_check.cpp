#include "change_check.h"

#include "device_identity.h"
#include "ipv4.h"

#include <optional>

namespace {

Status Refuse(std::string sentence)
{
    return Status::Refused(std::errc::invalid_argument, std::move(sentence));
}

Status NetmaskProblem(std::string_view text, std::optional<Ipv4> mask)
{
    if (!mask)
        return Refuse("The netmask \"" + std::string(text) + "\" is not an IPv4 address.");
    if (mask->Value() == 0)
        return Refuse("The netmask 0.0.0.0 is not usable: it makes every address part of the subnet.");
    if (mask->Value() == 0xFFFFFFFFu)
        return Refuse("The netmask 255.255.255.255 is not usable: it leaves no other host, not even the gateway, in the subnet.");
    if (!mask->PrefixLength())
        return Refuse("The netmask " + std::string(text) + " is not contiguous: its one bits must all come first.");
    return {};
}

Status AddressProblem(std::string_view text, std::optional<Ipv4> parsed, Ipv4 mask)
{
    if (!parsed)
        return Refuse("The address \"" + std::string(text) + "\" is not an IPv4 address.");
    const std::string a(text);
    const uint32_t address = parsed->Value();
    if (address == 0xFFFFFFFFu)
        return Refuse("The address 255.255.255.255 is the broadcast address.");
    if ((address >> 24) == 0)
        return Refuse("The address " + a + " is not usable: 0.x.x.x addresses mean \"this network\".");
    if ((address >> 24) == 127)
        return Refuse("The address " + a + " is a loopback address: the device would reach only itself.");
    if ((address >> 28) == 0xE)
        return Refuse("The address " + a + " is a multicast address.");
    if (*parsed == parsed->Network(mask))
        return Refuse("The address " + a + " is the network address of the subnet " + parsed->Subnet(mask) + ".");
    if (*parsed == parsed->Broadcast(mask))
        return Refuse("The address " + a + " is the broadcast address of the subnet " + parsed->Subnet(mask) + ".");
    return {};
}

Status GatewayProblem(std::string_view text, std::optional<Ipv4> gateway, Ipv4 address, Ipv4 mask)
{
    if (!gateway)
        return Refuse("The gateway \"" + std::string(text) + "\" is not an IPv4 address.");
    if (*gateway == address)
        return Refuse("The gateway " + std::string(text) + " is the new address itself.");
    if (!gateway->SameSubnet(address, mask) || *gateway == gateway->Network(mask) || *gateway == gateway->Broadcast(mask))
        return Refuse("The gateway " + std::string(text) + " is not a host of the subnet " + address.Subnet(mask)
            + " of the new address.");
    return {};
}

} // namespace

Status StaticConfigProblem(std::string_view addressText, std::string_view netmaskText, std::string_view gatewayText)
{
    std::optional<Ipv4> mask = Ipv4::Parse(netmaskText);
    if (Status bad = NetmaskProblem(netmaskText, mask); !bad.Ok())
        return bad;
    std::optional<Ipv4> address = Ipv4::Parse(addressText);
    if (Status bad = AddressProblem(addressText, address, *mask); !bad.Ok())
        return bad;
    return GatewayProblem(gatewayText, Ipv4::Parse(gatewayText), *address, *mask);
}

Status AddressInUseProblem(const std::string& address, const std::string& deviceAddress,
    const std::string& deviceMac, const std::vector<ListedDevice>& listed, const INetworkView& network)
{
    std::optional<Ipv4> wanted = Ipv4::Parse(address);
    if (!wanted || address == deviceAddress) // keeping its address
        return {};
    bool onLink = false;
    for (const INetworkView::OwnAddress& own : network.OwnAddresses()) {
        if (own.address == *wanted)
            return Status::Refused(std::errc::address_in_use,
                "The address " + address + " is this computer's own address (" + own.port + ").");
        onLink = onLink || own.address.SameSubnet(*wanted, own.netmask);
    }
    for (const ListedDevice& d : listed) {
        // A device that gave no MAC address cannot be told from another host.
        if (d.address == address && (d.mac.empty() || !SameMac(d.mac, deviceMac)))
            return Status::Refused(std::errc::address_in_use, "The address " + address
                    + " is already in use by the device with MAC address " + d.mac + " that the last scan listed.");
    }
    if (!onLink)
        return {};
    std::string holder = network.NeighbourHolding(*wanted);
    if (holder.empty() || SameMac(holder, deviceMac))
        return {};
    return Status::Refused(std::errc::address_in_use,
        "The address " + address + " is already in use by the host with MAC address " + holder + ".");
}

Status SharedAddressProblem(const std::string& address, const std::vector<std::string>& macs)
{
    if (macs.size() < 2)
        return {};
    std::string list;
    for (const std::string& mac : macs)
        list += (list.empty() ? "" : ", ") + (mac.empty() ? std::string("(none given)") : mac);
    return Status::Refused(std::errc::address_in_use, "Several devices answer at " + address + " (MAC addresses "
            + list + "); a change request would change all of them.");
}

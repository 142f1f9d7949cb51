#include "change_check.h"

#include "device_identity.h"
#include "ipv4.h"

#include <optional>

namespace {

// A configuration refused, and an address some other host holds; the
// sentences are marked where they are written, each value in its place.
template <class... Values>
Status Refuse(TextId sentence, Values&&... values)
{
    return Status::Refused(std::errc::invalid_argument, OperatorText(sentence, std::forward<Values>(values)...));
}

template <class... Values>
Status InUse(TextId sentence, Values&&... values)
{
    return Status::Refused(std::errc::address_in_use, OperatorText(sentence, std::forward<Values>(values)...));
}

Status NetmaskProblem(std::string_view text, std::optional<Ipv4> mask)
{
    if (!mask)
        return Refuse(TEXT_ID("ChangeCheck", "The netmask \"%1\" is not an IPv4 address."), std::string(text));
    if (mask->Value() == 0)
        return Refuse(TEXT_ID("ChangeCheck", "The netmask 0.0.0.0 is not usable: it makes every address part of the subnet."));
    if (mask->Value() == 0xFFFFFFFFu)
        return Refuse(TEXT_ID("ChangeCheck",
            "The netmask 255.255.255.255 is not usable: it leaves no other host, not even the gateway, in the subnet."));
    if (!mask->PrefixLength())
        return Refuse(TEXT_ID("ChangeCheck", "The netmask %1 is not contiguous: its one bits must all come first."),
            std::string(text));
    return {};
}

Status AddressProblem(std::string_view text, std::optional<Ipv4> parsed, Ipv4 mask)
{
    if (!parsed)
        return Refuse(TEXT_ID("ChangeCheck", "The address \"%1\" is not an IPv4 address."), std::string(text));
    const std::string a(text);
    const uint32_t address = parsed->Value();
    if (address == 0xFFFFFFFFu)
        return Refuse(TEXT_ID("ChangeCheck", "The address 255.255.255.255 is the broadcast address."));
    if ((address >> 24) == 0)
        return Refuse(TEXT_ID("ChangeCheck", "The address %1 is not usable: 0.x.x.x addresses mean \"this network\"."), a);
    if ((address >> 24) == 127)
        return Refuse(TEXT_ID("ChangeCheck", "The address %1 is a loopback address: the device would reach only itself."), a);
    if ((address >> 28) == 0xE)
        return Refuse(TEXT_ID("ChangeCheck", "The address %1 is a multicast address."), a);
    if (*parsed == parsed->Network(mask))
        return Refuse(TEXT_ID("ChangeCheck", "The address %1 is the network address of the subnet %2."), a,
            parsed->Subnet(mask));
    if (*parsed == parsed->Broadcast(mask))
        return Refuse(TEXT_ID("ChangeCheck", "The address %1 is the broadcast address of the subnet %2."), a,
            parsed->Subnet(mask));
    return {};
}

Status GatewayProblem(std::string_view text, std::optional<Ipv4> gateway, Ipv4 address, Ipv4 mask)
{
    if (!gateway)
        return Refuse(TEXT_ID("ChangeCheck", "The gateway \"%1\" is not an IPv4 address."), std::string(text));
    if (*gateway == address)
        return Refuse(TEXT_ID("ChangeCheck", "The gateway %1 is the new address itself."), std::string(text));
    if (!gateway->SameSubnet(address, mask) || *gateway == gateway->Network(mask) || *gateway == gateway->Broadcast(mask))
        return Refuse(TEXT_ID("ChangeCheck", "The gateway %1 is not a host of the subnet %2 of the new address."),
            std::string(text), address.Subnet(mask));
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
            return InUse(TEXT_ID("ChangeCheck", "The address %1 is this computer's own address (%2)."), address,
                own.port);
        onLink = onLink || own.address.SameSubnet(*wanted, own.netmask);
    }
    for (const ListedDevice& d : listed) {
        // A device that gave no MAC address cannot be told from another host.
        if (d.address == address && (d.mac.empty() || !SameMac(d.mac, deviceMac)))
            return InUse(TEXT_ID("ChangeCheck", "The address %1 is already in use by the device with MAC address %2 "
                                                "that the last scan listed."),
                address, d.mac);
    }
    if (!onLink)
        return {};
    std::string holder = network.NeighbourHolding(*wanted);
    if (holder.empty() || SameMac(holder, deviceMac))
        return {};
    return InUse(TEXT_ID("ChangeCheck", "The address %1 is already in use by the host with MAC address %2."), address,
        holder);
}

Status SharedAddressProblem(const std::string& address, const std::vector<std::string>& macs)
{
    if (macs.size() < 2)
        return {};
    std::vector<OperatorText> list;
    for (const std::string& mac : macs)
        list.push_back(mac.empty() ? OperatorText(TEXT_ID("ChangeCheck", "(none given)")) : OperatorText::Value(mac));
    return InUse(TEXT_ID("ChangeCheck", "Several devices answer at %1 (MAC addresses %2); "
                                        "a change request would change all of them."),
        address, OperatorText::Join(std::move(list), ", "));
}

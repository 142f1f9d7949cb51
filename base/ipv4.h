#pragma once

// An IPv4 address as a value, in host byte order, with the few things the
// programs work out from an address and a netmask.

#include <netinet/in.h>

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class Ipv4 {
public:
    constexpr Ipv4() = default;
    constexpr explicit Ipv4(uint32_t hostOrder) : m_value(hostOrder) { }

    // Exactly four decimal numbers 0 to 255 joined by dots, as inet_pton reads them.
    static std::optional<Ipv4> Parse(std::string_view dotted);
    static Ipv4 FromInAddr(in_addr address) { return Ipv4(ntohl(address.s_addr)); }

    constexpr uint32_t Value() const { return m_value; }
    in_addr ToInAddr() const { return in_addr { htonl(m_value) }; }
    std::string ToText() const;

    // As a netmask: the number of leading one bits, or nothing when the ones
    // are not contiguous.
    std::optional<int> PrefixLength() const;
    static Ipv4 MaskOfPrefix(int prefix);

    // This address within the subnet of `mask`.
    Ipv4 Network(Ipv4 mask) const { return Ipv4(m_value & mask.m_value); }
    Ipv4 Broadcast(Ipv4 mask) const { return Ipv4(m_value | ~mask.m_value); }
    bool SameSubnet(Ipv4 other, Ipv4 mask) const { return Network(mask) == other.Network(mask); }
    // "network/prefix", the prefix counted as leading ones.
    std::string Subnet(Ipv4 mask) const;

    constexpr auto operator<=>(const Ipv4&) const = default;

private:
    uint32_t m_value = 0;
};

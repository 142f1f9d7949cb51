#include "ipv4.h"

#include <arpa/inet.h>

std::optional<Ipv4> Ipv4::Parse(std::string_view dotted)
{
    if (dotted.size() >= INET_ADDRSTRLEN)
        return std::nullopt;
    in_addr parsed {};
    // inet_pton needs a terminated text; an embedded NUL must not cut it short.
    if (dotted.find('\0') != std::string_view::npos || inet_pton(AF_INET, std::string(dotted).c_str(), &parsed) != 1)
        return std::nullopt;
    return FromInAddr(parsed);
}

std::string Ipv4::ToText() const
{
    in_addr address = ToInAddr();
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &address, text, sizeof text);
    return text;
}

namespace {

int LeadingOnes(uint32_t value)
{
    int bits = 0;
    while (bits < 32 && (value & (0x80000000u >> bits)))
        ++bits;
    return bits;
}

} // namespace

std::optional<int> Ipv4::PrefixLength() const
{
    int bits = LeadingOnes(m_value);
    if (MaskOfPrefix(bits).m_value != m_value)
        return std::nullopt;
    return bits;
}

Ipv4 Ipv4::MaskOfPrefix(int prefix)
{
    if (prefix <= 0)
        return Ipv4(0);
    return Ipv4(prefix >= 32 ? 0xFFFFFFFFu : 0xFFFFFFFFu << (32 - prefix));
}

std::string Ipv4::Subnet(Ipv4 mask) const
{
    return Network(mask).ToText() + "/" + std::to_string(LeadingOnes(mask.m_value));
}

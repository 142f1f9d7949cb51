#include "device_identity.h"

#include "byte_escape.h"
#include "udp_socket.h" // IsDottedQuadIpv4

namespace {

// Twelve hex digits in groups of `group`, `separator` between groups (none
// when it is 0).
std::optional<MacAddress> ReadGrouped(std::string_view text, size_t group, char separator)
{
    const size_t step = separator ? group + 1 : group;
    if (text.size() != 12 / group * step - (separator ? 1 : 0))
        return std::nullopt;
    MacAddress mac {};
    size_t digit = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (separator && i % step == group) {
            if (text[i] != separator)
                return std::nullopt;
            continue;
        }
        int value = HexDigit(text[i]);
        if (value < 0)
            return std::nullopt;
        mac[digit / 2] = static_cast<uint8_t>(mac[digit / 2] << 4 | value);
        ++digit;
    }
    return mac;
}

std::string Lower(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    return lower;
}

// What SameMac compares: the one notation, or the text itself.
std::string MacKey(std::string_view text)
{
    std::optional<MacAddress> mac = ParseMac(text);
    return mac ? MacText(*mac) : Lower(text);
}

} // namespace

std::optional<MacAddress> ParseMac(std::string_view text)
{
    if (text.size() == 17)
        return ReadGrouped(text, 2, text[2] == '-' ? '-' : ':');
    if (text.size() == 14)
        return ReadGrouped(text, 4, '.');
    return ReadGrouped(text, 12, 0);
}

std::string MacText(const MacAddress& mac, char separator, bool upper)
{
    const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    std::string text;
    for (uint8_t byte : mac) {
        if (!text.empty())
            text += separator;
        text += digits[byte >> 4];
        text += digits[byte & 15];
    }
    return text;
}

bool SameMac(std::string_view a, std::string_view b)
{
    return MacKey(a) == MacKey(b);
}

std::string DesktopRowKey(const DeviceReply& reply)
{
    return reply.sender;
}

std::string ListingKey(const DeviceReply& reply)
{
    return reply.sender + '\n' + MacKey(reply.mac);
}

std::string RecordKey(const DeviceReply& reply)
{
    if (std::optional<MacAddress> mac = ParseMac(reply.mac))
        return MacText(*mac);
    return "address " + reply.sender;
}

std::string WatchName(const DeviceReply& reply)
{
    return reply.mac.empty() ? reply.sender : reply.mac;
}

bool IsNamedBy(const DeviceReply& reply, std::string_view target)
{
    if (ParseMac(target))
        return SameMac(reply.mac, target);
    if (IsDottedQuadIpv4(target))
        return reply.sender == target;
    return !reply.hostname.empty() && Lower(reply.hostname) == Lower(target);
}

std::string ColumnText(const DeviceReply& reply, int column)
{
    switch (column) {
    case ColAddress: return reply.sender;
    case ColVersion: return reply.version;
    case ColHostname: return reply.hostname;
    case ColGateway: return reply.gateway;
    case ColMac: return reply.mac;
    case ColNetmask: return reply.netmask;
    case ColMode: return ModeText(reply.mode);
    default: return {};
    }
}

std::string ModeText(AddressMode mode)
{
    if (mode == AddressMode::Static)
        return "static";
    if (mode == AddressMode::Dhcp)
        return "dhcp";
    return "";
}

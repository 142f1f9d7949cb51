#include "magic_packet.h"

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

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

} // namespace

std::optional<MacAddress> ParseMac(std::string_view text)
{
    if (text.size() == 17)
        return ReadGrouped(text, 2, text[2] == '-' ? '-' : ':');
    if (text.size() == 14)
        return ReadGrouped(text, 4, '.');
    return ReadGrouped(text, 12, 0);
}

std::string MacText(const MacAddress& mac)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (uint8_t byte : mac) {
        if (!text.empty())
            text += ':';
        text += digits[byte >> 4];
        text += digits[byte & 15];
    }
    return text;
}

std::string BuildMagicPacket(const MacAddress& mac)
{
    std::string packet(6, '\xFF');
    for (int i = 0; i < 16; ++i)
        packet.append(mac.begin(), mac.end());
    return packet;
}

std::optional<MacAddress> MagicPacketTarget(std::string_view datagram)
{
    // 102 bytes, or with a SecureOn password of 4 or 6 bytes after them.
    if (datagram.size() != kMagicPacketSize && datagram.size() != kMagicPacketSize + 4
        && datagram.size() != kMagicPacketSize + 6)
        return std::nullopt;
    if (datagram.substr(0, 6) != std::string_view("\xFF\xFF\xFF\xFF\xFF\xFF", 6))
        return std::nullopt;
    MacAddress mac {};
    for (size_t i = 0; i < 6; ++i)
        mac[i] = static_cast<uint8_t>(datagram[6 + i]);
    if (BuildMagicPacket(mac) != datagram.substr(0, kMagicPacketSize))
        return std::nullopt;
    return mac;
}

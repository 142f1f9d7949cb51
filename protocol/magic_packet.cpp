#include "magic_packet.h"

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

#pragma once

// Wake-on-LAN: the one datagram a sleeping network card looks for. The MAC
// address notations operators paste are read by device_identity.h.

#include "device_identity.h"

#include <optional>
#include <string>
#include <string_view>

// Where the magic packet goes by custom ("discard"); cards look at any port.
inline constexpr int kWakePort = 9;
inline constexpr size_t kMagicPacketSize = 6 + 16 * 6;

// Six bytes 0xFF, then the MAC address 16 times.
std::string BuildMagicPacket(const MacAddress& mac);

// The MAC address a datagram wakes, when it is a magic packet (a SecureOn
// password after it is allowed and ignored).
std::optional<MacAddress> MagicPacketTarget(std::string_view datagram);

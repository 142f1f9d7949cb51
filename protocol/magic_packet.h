#pragma once

// Wake-on-LAN: the one datagram a sleeping network card looks for, and the
// MAC address notations operators paste from labels, switches and tools.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

using MacAddress = std::array<uint8_t, 6>;

// Where the magic packet goes by custom ("discard"); cards look at any port.
inline constexpr int kWakePort = 9;
inline constexpr size_t kMagicPacketSize = 6 + 16 * 6;

// aa:bb:cc:dd:ee:ff, aa-bb-cc-dd-ee-ff, aabb.ccdd.eeff or aabbccddeeff, in
// any case; nothing for every other text.
std::optional<MacAddress> ParseMac(std::string_view text);

// The value of one hexadecimal digit, either case; -1 for any other character.
int HexDigit(char c);

// Lower case, colons: "aa:bb:cc:dd:ee:ff".
std::string MacText(const MacAddress& mac);

// Six bytes 0xFF, then the MAC address 16 times.
std::string BuildMagicPacket(const MacAddress& mac);

// The MAC address a datagram wakes, when it is a magic packet (a SecureOn
// password after it is allowed and ignored).
std::optional<MacAddress> MagicPacketTarget(std::string_view datagram);

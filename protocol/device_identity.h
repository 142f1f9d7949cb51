#pragma once

// Who a device is, the same for the desktop program, orbisk-cli, the record
// of remembered devices and the simulator: its MAC address read, written and
// compared one way, the keys each listing tells devices apart by, how an
// operator's target names a device, and the columns a device is shown in.

#include "wire.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

using MacAddress = std::array<uint8_t, 6>;

// aa:bb:cc:dd:ee:ff, aa-bb-cc-dd-ee-ff, aabb.ccdd.eeff or aabbccddeeff, in
// any case; nothing for every other text.
std::optional<MacAddress> ParseMac(std::string_view text);

// "aa:bb:cc:dd:ee:ff" by default; another separator, or upper case.
std::string MacText(const MacAddress& mac, char separator = ':', bool upper = false);

// Whether two MAC texts name the same card: in any notation and case. A text
// that is no MAC address is the same only as itself, case aside; "" only as "".
bool SameMac(std::string_view a, std::string_view b);

// The keys devices are told apart by, each keeping its listing's rule.
// The desktop's list: one row per sender address, as its device table has it.
std::string DesktopRowKey(const DeviceReply& reply);
// orbisk-cli's listing: sender and MAC address, so that two devices sharing
// an address both show.
std::string ListingKey(const DeviceReply& reply);
// The record across runs, and what watch follows: the MAC address in one
// notation, or the address when the device sent no valid one.
std::string RecordKey(const DeviceReply& reply);
// How watch's lines name a device: its MAC address as sent, or its address
// when it sent none.
std::string WatchName(const DeviceReply& reply);

// Whether an operator's target names the device: a MAC address in any
// notation, a dotted-quad address exactly, anything else as a host name,
// case aside as DNS names are.
bool IsNamedBy(const DeviceReply& reply, std::string_view target);

// The desktop list's seven columns, in order; listings of orbisk-cli add the
// mode after them.
inline constexpr int kDeviceColumns = 7;
enum DeviceColumn {
    ColNumber = 0,
    ColAddress = 1,
    ColVersion = 2,
    ColHostname = 3,
    ColGateway = 4,
    ColMac = 5,
    ColNetmask = 6,
    ColMode = 7,
};
inline constexpr int kReplyColumns = ColMode + 1;

struct ColumnName {
    std::string_view heading; // in the desktop list and orbisk-cli's tables
    std::string_view key;     // in JSON, watch's lines
};
inline constexpr ColumnName kColumnNames[kReplyColumns] = {
    { "No.", "no" },
    { "IP Address", "address" },
    { "Version", "version" },
    { "Hostname", "hostname" },
    { "Gateway", "gateway" },
    { "MAC Address", "mac" },
    { "Netmask", "netmask" },
    { "Mode", "mode" },
};

// The reply's text in a column, as the device sent it; "" for the row
// number, which the listing gives.
std::string ColumnText(const DeviceReply& reply, int column);

// "static", "dhcp" or "".
std::string ModeText(AddressMode mode);

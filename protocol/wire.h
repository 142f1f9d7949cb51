#pragma once

// The devices' datagram protocol: every constant and layout in one place.
// Fields are closed by '@' and nothing is escaped, so a value holding '@'
// splits into two fields; devices in the field depend on these exact bytes.

#include "wire_ports.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace wire {

inline constexpr char kDiscoveryRequest[] = "STSS";
inline constexpr char kChangePrefix[] = "STLG@";
inline constexpr char kSeparator = '@';
inline constexpr char kDhcpEnding[] = "@1@";   // DHCP closes with one more '@'
inline constexpr char kStaticEnding[] = "@0";  // static does not
inline constexpr char kDeviceMark = '#';
inline constexpr char kChangeMark = '$';
inline constexpr char kStatusChanged = '0';
inline constexpr char kStatusDenied = '1';
inline constexpr int kReplyLimit = 100;        // longer replies are dropped whole
inline constexpr int kDiscoveryFields = 6;     // gateway, host, MAC, version, netmask, mode

} // namespace wire

// Values of an address-change request, in the order they go on the wire.
struct ChangeRequest {
    std::string current;   // the device's listed address
    std::string user;
    std::string password;
    std::string address;   // new address
    std::string netmask;   // new netmask (before the gateway on the wire)
    std::string gateway;   // new gateway
    int mode = 0;          // 0 static; any other value is sent as DHCP
};

// Fields of a discovery reply, in their wire order.
struct DiscoveryFields {
    std::string gateway;
    std::string hostname;
    std::string mac;
    std::string version;
    std::string netmask;
    std::string mode;      // "0" static, "1" DHCP
};

// Request texts without their NUL; SendBroadcast adds it.
std::string BuildDiscoveryRequest();
std::string BuildChangeRequest(const ChangeRequest& request);

// The device side's reading of a change request (datagram bytes, NUL
// included or not). Fails when the prefix, a field or the ending is missing.
std::optional<ChangeRequest> ParseChangeRequest(std::string_view datagram);

std::string BuildDiscoveryReply(const DiscoveryFields& fields);

// Field j of a discovery reply text lies strictly between its j-th and
// (j+1)-th separator, the '#' counting as separator 0. A field without both
// separators is empty; nothing outside the text is read.
std::array<std::string, wire::kDiscoveryFields> SplitDiscoveryReply(std::string_view reply);

// True for "#" followed by at least five closed fields.
bool IsCompleteDiscoveryReply(std::string_view reply);

// The address-mode walk over a received discovery reply: after the fifth '@'
// up to the sixth (or the end of the datagram), each '0' or '1' sets the mode.
// Returns the mode it ends with, or `current` when the field holds neither.
int WalkAddressMode(std::span<const char> datagram, int current);

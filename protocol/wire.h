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
inline constexpr int kDiscoveryFields = 6;     // gateway, host, MAC, version, netmask, mode

} // namespace wire

// How a device takes its address: "0" and "1" on the wire.
enum class AddressMode { NotGiven, Static, Dhcp };

// The radio index of the Setup IP dialog (0 Static IP, 1 DHCP, -1 neither)
// and back.
int ModeIndex(AddressMode mode);
AddressMode ModeOfIndex(int index);

// Values of an address-change request, in the order they go on the wire.
struct ChangeRequest {
    std::string current;   // the device's listed address
    std::string user;
    std::string password;
    std::string address;   // new address
    std::string netmask;   // new netmask (before the gateway on the wire)
    std::string gateway;   // new gateway
    AddressMode mode = AddressMode::Static; // anything but Static is sent as DHCP
};

// A discovery reply as the tool reads it.
struct DeviceReply {
    std::string sender;    // the address it came from: the device's address
    std::string gateway;
    std::string hostname;
    std::string mac;
    std::string version;
    std::string netmask;
    AddressMode mode = AddressMode::NotGiven;
    unsigned ifindex = 0;  // the network port it arrived by; 0 when unknown
};

// Reads a received datagram as a discovery reply: the fields from the text
// before its first NUL, the mode by WalkAddressMode over all of it. Nothing
// when it does not start with '#'.
std::optional<DeviceReply> ParseDeviceReply(std::span<const char> datagram, std::string sender, unsigned ifindex = 0);

// Fields of a discovery reply as a device builds it, in their wire order.
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

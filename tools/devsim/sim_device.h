#pragma once

// What a simulated device says, kept apart from sockets so it can be tested
// on its own.

#include "devsim_options.h"
#include "ipv4.h"
#include "wire.h"

#include <string>
#include <string_view>
#include <vector>

struct SimDevice {
    Ipv4 address;
    DiscoveryFields fields;
    std::string user;
    std::string password;
};

// The devices' addresses: the given ones, or count consecutive ones from the
// first (from `fallback` when none is given).
std::vector<Ipv4> DeviceAddresses(const SimOptions& options, Ipv4 fallback);

// Each device's identity, derived from the options and its index.
std::vector<SimDevice> MakeDevices(const SimOptions& options, const std::vector<Ipv4>& addresses);

// The MAC text plus `by`, carrying across octets; other texts stay as they are.
std::string IncrementMac(const std::string& mac, unsigned by);

// "STSS", with or without its NUL.
bool IsDiscoveryRequest(std::string_view datagram);

// The datagrams a device sends for one discovery request (before duplicates).
std::vector<std::string> DiscoveryAnswer(const SimDevice& device, const SimOptions& options);

// The broken replies of --malformed.
std::vector<std::string> MalformedReplies();

struct ChangeDecision {
    bool addressed = false; // the request names this device
    std::string reply;      // what it answers
    bool apply = false;     // whether it then takes the new configuration
};

ChangeDecision DecideChange(const SimDevice& device, const ChangeRequest& request, const SimOptions& options);

// The fields after an accepted change (the interface is the caller's business).
void ApplyChangeFields(SimDevice& device, const ChangeRequest& request);

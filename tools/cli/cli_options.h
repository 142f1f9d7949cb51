#pragma once

// Command lines of orbisk-cli, parsed without touching the network: what the
// commands share. A command's own options are in its file (cli_command.h).

#include "reply_channel.h" // the discovery request's repeat schedule
#include "status.h"
#include "udp_socket.h" // IsDottedQuadIpv4: the only address form the devices are known to read
#include "wire.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Exit statuses, shared by every command.
enum CliStatus {
    StatusOk = 0,          // scan: a device was listed; set-ip: "Success"
    StatusNoDevice = 1,    // scan: nothing answered; wait, wake --wait: not in time
    StatusUsage = 2,       // bad options or values, an unknown wake target; nothing was sent
    StatusDenied = 3,      // set-ip: "Wrong user or password!"
    StatusRefused = 4,     // set-ip: "Could not modify the IP address!"
    StatusNoAnswer = 5,    // set-ip: no change reply in time
    StatusNotVerified = 6, // set-ip --verify: accepted, but the device was not found afterwards
    StatusNetwork = 7,     // port 10001 taken, no usable interface, sending failed; a file
                           // that could not be written (known --forget, watch --textfile)
};

enum class OutputFormat { Table, Json, Csv };

// Where requests go: by default the limited broadcast out of every port.
struct SendPlan {
    std::string interfaceName;          // --interface: that interface alone
    bool allInterfaces = false;         // --all-interfaces: the default, said out loud
    std::vector<std::string> targets;   // --target, already reduced to destination addresses
};

inline constexpr int kDefaultScanMs = 1500;
inline constexpr int kDefaultChangeWaitMs = 3000;

struct ScanOptions {
    int timeoutMs = kDefaultScanMs;
    int repeat = kDefaultRepeat;  // discovery requests sent within the timeout
    OutputFormat format = OutputFormat::Table;
    SendPlan plan;
    bool stats = false;  // timing and CPU figures on standard error
    bool help = false;
};

struct SetIpOptions {
    std::string device;  // the device's present address, as listed
    AddressMode mode = AddressMode::NotGiven;
    std::string address, netmask, gateway;
    std::string user;
    bool passwordStdin = false;
    int timeoutMs = kDefaultChangeWaitMs;
    bool verify = false;
    bool force = false;  // send even what the checks before sending would refuse
    SendPlan plan;
    bool help = false;
};

// ADDRESS or ADDRESS/PREFIX to the address a request goes to: the address
// itself, or the subnet's directed broadcast (every host bit set).
std::optional<std::string> TargetDestination(std::string_view text);

// The commands' names, and each one's options as its table lists them
// (--help aside): what the usage texts and the shell completions are made
// from, and what the documents are checked against.
std::vector<std::string> CommandNames();
std::vector<std::string> OptionNames(std::string_view command);
// The whole entries, without their actions (command_line.h).
struct Option;
std::vector<Option> CommandOptions(std::string_view command);

std::string MainUsage();
// A command's --help.
std::string Usage(std::string_view command);

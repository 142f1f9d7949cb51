#pragma once

// Command lines of orbisk-cli, parsed without touching the network.

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

struct KnownOptions {
    OutputFormat format = OutputFormat::Table;
    bool forget = false;
    bool help = false;
};

inline constexpr int kDefaultWakeUdpPort = 9;
inline constexpr int kDefaultWaitSeconds = 120;
inline constexpr int kDefaultWatchSeconds = 10;
inline constexpr int kDefaultMisses = 3;

struct WakeOptions {
    std::vector<std::string> targets; // MAC addresses, host names or addresses
    int waitMs = 0;                   // --wait: 0 sends and ends
    int udpPort = kDefaultWakeUdpPort;
    OutputFormat format = OutputFormat::Table;
    SendPlan plan;
    bool help = false;
};

struct WatchOptions {
    int intervalMs = kDefaultWatchSeconds * 1000;
    int count = 0;   // scans before it ends; 0: until a stop signal
    int misses = kDefaultMisses;
    bool json = false;
    std::string textfile; // --textfile: Prometheus metrics written there after every scan
    SendPlan plan;
    bool help = false;
};

struct WaitOptions {
    std::string target; // MAC address, host name or address
    int timeoutMs = kDefaultWaitSeconds * 1000;
    OutputFormat format = OutputFormat::Table;
    SendPlan plan;
    bool help = false;
};

// ADDRESS or ADDRESS/PREFIX to the address a request goes to: the address
// itself, or the subnet's directed broadcast (every host bit set).
std::optional<std::string> TargetDestination(std::string_view text);

// The arguments after the command name. A failure's message is for standard
// error (the usage text is added by the caller).
Result<ScanOptions> ParseScanOptions(const std::vector<std::string>& args);
Result<SetIpOptions> ParseSetIpOptions(const std::vector<std::string>& args);
Result<KnownOptions> ParseKnownOptions(const std::vector<std::string>& args);
Result<WakeOptions> ParseWakeOptions(const std::vector<std::string>& args);
Result<WatchOptions> ParseWatchOptions(const std::vector<std::string>& args);
Result<WaitOptions> ParseWaitOptions(const std::vector<std::string>& args);

struct CliCommand {
    std::string_view name;    // "scan"
    std::string_view summary; // its line in the main usage text
    bool operands;            // takes arguments besides options
};

// The commands, and each one's options as its table lists them (--help
// aside): what the usage texts and the shell completions are made from, and
// what the documents are checked against.
std::vector<CliCommand> Commands();
std::vector<std::string> CommandNames();
std::vector<std::string> OptionNames(std::string_view command);
// The whole entries, without their actions (command_line.h).
struct Option;
std::vector<Option> CommandOptions(std::string_view command);

std::string MainUsage();
std::string ScanUsage();
std::string SetIpUsage();
std::string KnownUsage();
std::string WakeUsage();
std::string WatchUsage();
std::string WaitUsage();

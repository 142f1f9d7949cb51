#pragma once

// Command line of orbisk-devsim: what devices it plays and how they misbehave.

#include "byte_escape.h" // DecodeBytes: the notation of BYTES
#include "status.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct SimOptions {
    // Devices. One address with a count above 1 is the first of consecutive
    // addresses; none means the host's first address.
    std::vector<std::string> addresses;
    int count = 0;                       // 0: one per --address, or 1
    std::string hostname = "NAS";
    std::string mac = "02:00:00:00:00:01"; // locally administered, incremented per device
    std::string version = "1.0.0";      // the firmware version the devices report (--firmware)
    std::string gateway;                 // empty: the device's /24 with host part .1
    std::string netmask = "255.255.255.0";
    int mode = 0;                        // 0 static, 1 DHCP
    std::string user = "admin";
    std::string password = "admin";

    // Wake-on-LAN: asleep, a device answers nothing until a magic packet for
    // its MAC address arrives on UDP port 9, and then only after bootMs.
    bool asleep = false;
    int bootMs = 0;

    // Replies.
    int replyDelayMs = 0;
    int jitterMs = 0;
    int duplicates = 1;
    std::vector<std::string> rawReplies; // decoded bytes
    bool malformed = false;
    std::optional<std::string> changeReply;

    // Loss, as on Wi-Fi where broadcast is not acknowledged: each device on
    // its own drops requests it hears and replies it would send.
    int lossPercent = 0;                 // share of each, at random
    std::optional<unsigned> seed;        // for a reproducible run; none: from the clock
    int dropFirst = 0;                   // the first N requests each device hears
    int dropFirstReplies = 0;            // the first N replies each device would send

    // Hostile traffic towards port 10001.
    int floodRate = 0;                   // datagrams a second, 0: none
    double floodSeconds = 10;
    std::string floodTarget;             // empty: --target
    std::string everyLengthTarget;
    std::vector<std::string> unsolicited; // decoded bytes
    int intervalMs = 1000;
    std::string target;

    std::string logFile;
    bool verbose = false;
};

enum class SimAction { Run, Help, Version };

struct SimCommand {
    SimAction action = SimAction::Run;
    SimOptions options;
};

// args excludes the program name. Accepts "--name value" and "--name=value".
// A failure's message is for standard error; the exit status is 2.
Result<SimCommand> ParseOptions(const std::vector<std::string>& args);

std::string UsageText();

// Every option its table lists, short aliases too, for the documents' check.
std::vector<std::string> OptionNames();
// The table's entries, without their actions (command_line.h).
struct Option;
std::vector<Option> SimOptionTable();

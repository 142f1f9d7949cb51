#pragma once

// The one scan loop of every command (Discover, AwaitDevices), the network
// set-up, the record of devices heard and the way a failure is told. Each
// command lives in a file of its own (cli_*.cpp).

#include "cli_net.h"
#include "cli_options.h"
#include "cli_text.h"
#include "device_record.h"
#include "wire.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <unordered_set>
#include <vector>

struct ScanResult {
    std::vector<CliDevice> devices;
    std::unordered_set<std::string> listed; // ListingKey of each device
    std::vector<int64_t> arrivalNs;  // kernel receive time of each listed reply
    std::vector<int64_t> listedNs;   // when each row was added
    int64_t sentNs = 0;
    int portsUsed = 0;               // routes the request left by
    int64_t scanCpuNs = 0;           // CPU time from the request to the end of collecting
    int64_t scanNs = 0;              // time from the first request to the end of collecting
};

using DeviceTest = std::function<bool(const CliDevice&)>;

// Every line of a failure report, prefixed with the program's name.
void Complain(std::ostream& err, const std::string& lines);

std::optional<DeviceReply> ReplyOf(const Datagram& d);

// Remembers what a command heard; a failure is a warning on err and the
// command goes on. Nothing when recording is off.
void Remember(const std::vector<CliDevice>& heard, std::ostream& err);
// What reading the record met, as one warning line on err; nothing for none.
void WarnOfRecord(const RecordProblem& problem, std::ostream& err);
// Remembered devices as rows, numbered from 0, with when each was last heard.
std::vector<CliDevice> KnownRows(const std::vector<KnownDevice>& known);

// Sends the discovery request `repeat` times and lists devices until the
// timeout, or until `done` accepts a newly listed device, or until the
// channel is interrupted. False when nothing could be sent.
bool Discover(CReplyChannel& channel, const std::vector<Route>& routes, int timeoutMs, int repeat,
    const DeviceTest& done, ScanResult& result, std::ostream& err);

// Plans where requests go and takes port 10001; false, with the reason on
// err, when the network cannot be used.
bool PrepareNetwork(const SendPlan& plan, std::vector<Route>& routes, CReplyChannel& channel, std::ostream& err);

// Scans again and again until each test has accepted a device, or until
// timeoutMs; every device heard is remembered. Found[i] is what test i
// accepted. False when nothing could be sent.
bool AwaitDevices(CReplyChannel& channel, const std::vector<Route>& routes, const std::vector<DeviceTest>& tests,
    int timeoutMs, std::vector<std::optional<CliDevice>>& found, std::ostream& err);

// The devices in the format asked for, numbered from 0.
std::string FormatDevices(std::vector<CliDevice> devices, OutputFormat format);

// orbisk-cli scan: one discovery, every device that answered listed once.

#include "cli_command.h"
#include "cli_discover.h"
#include "device_record.h"
#include "change_check.h"

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <map>

namespace {

// Replies to port 10001 are new inbound flows, which a default-deny desktop
// firewall drops: the commonest reason for an empty scan after a cable.
constexpr const char* kFirewallHint =
    "orbisk-cli: a firewall may be dropping the devices' replies (UDP port 10001 inbound).\n"
    "  To let them in:  sudo ufw allow Orbisk\n"
    "             or:  sudo firewall-cmd --permanent --add-service=orbisk && sudo firewall-cmd --reload\n";

double Ms(int64_t ns)
{
    return static_cast<double>(ns) / 1e6;
}

void PrintStats(const ScanResult& result, std::ostream& err)
{
    int64_t lastArrival = 0, lastListed = 0, maxLag = 0;
    for (size_t i = 0; i < result.devices.size(); ++i) {
        lastArrival = std::max(lastArrival, result.arrivalNs[i] - result.sentNs);
        lastListed = std::max(lastListed, result.listedNs[i] - result.sentNs);
        maxLag = std::max(maxLag, result.listedNs[i] - result.arrivalNs[i]);
    }
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    auto cpuMs = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    char line[256];
    std::snprintf(line, sizeof line,
        "stats: devices=%zu last_reply_ms=%.3f last_listed_ms=%.3f max_listing_lag_ms=%.3f scan_ms=%.3f "
        "scan_cpu_ms=%.3f cpu_user_ms=%.1f cpu_sys_ms=%.1f\n",
        result.devices.size(), Ms(lastArrival), Ms(lastListed), Ms(maxLag), Ms(result.scanNs), Ms(result.scanCpuNs),
        cpuMs(usage.ru_utime), cpuMs(usage.ru_stime));
    err << line;
}

// Devices listed once per address and MAC address: several at one address on
// one port would all take a change request meant for one of them.
void WarnSharedAddresses(const std::vector<CliDevice>& devices, std::ostream& err)
{
    std::map<std::pair<std::string, unsigned>, std::vector<std::string>> macs;
    for (const CliDevice& d : devices)
        macs[{ d.reply.sender, d.reply.ifindex }].push_back(d.reply.mac);
    for (const auto& [where, list] : macs) {
        if (Status problem = SharedAddressProblem(where.first, list); !problem.Ok())
            err << "orbisk-cli: warning: " << problem.Message() << '\n';
    }
}

std::vector<Option> ScanTable(ScanOptions& options, SharedOptions& shared)
{
    // One digit, as the help text shows it: "03" is refused.
    static_assert(kMaxRepeat <= 9);
    OptionAction repeat = RangedNumber<int>(1, kMaxRepeat, IsNot("a number of requests"),
        [&options](int value) { options.repeat = value; }, 1);
    std::vector<Option> table {
        { "--timeout", Takes::Value, ReadTimeout(options.timeoutMs), "MS",
            "how long to collect replies (default " + std::to_string(kDefaultScanMs) + ")" },
        { "--repeat", Takes::Value, repeat, "N",
            "send the request N times, 1 to " + std::to_string(kMaxRepeat) + " (default " + std::to_string(kDefaultRepeat)
                + "; 1 sends it once)",
            {}, "1 2 3 4 5" },
    };
    static_assert(kMaxRepeat == 5, "the words offered for --repeat");
    shared.AddFormats(table, options.format);
    shared.AddPlan(table, options.plan);
    table.push_back({ "--stats", Takes::Nothing, SetFlag(options.stats), {}, "timing and CPU figures on standard error" });
    return table;
}

int RunScan(const ScanOptions& options, std::ostream& out, std::ostream& err)
{
    std::vector<Route> routes;
    CReplyChannel channel;
    if (!PrepareNetwork(options.plan, routes, channel, err))
        return StatusNetwork;
    ScanResult result;
    if (!Discover(channel, routes, options.timeoutMs, options.repeat, nullptr, result, err))
        return StatusNetwork;
    channel.Close();

    if (options.format == OutputFormat::Json)
        out << FormatJson(result.devices);
    else if (options.format == OutputFormat::Csv)
        out << FormatCsv(result.devices);
    else if (!result.devices.empty())
        out << FormatTable(result.devices, result.portsUsed > 1);
    out.flush();
    if (options.stats)
        PrintStats(result, err);
    // After the listing, so that a large scan's rows are not held back.
    Remember(result.devices, err);
    WarnSharedAddresses(result.devices, err);
    if (result.devices.empty()) {
        if (options.format == OutputFormat::Table)
            err << "No device answered\n";
        err << kFirewallHint;
        return StatusNoDevice;
    }
    return StatusOk;
}

} // namespace

CommandDefinition<ScanOptions> ScanDefinition()
{
    return { { "scan", "list the NAS devices that answer a discovery request",
        "Usage: orbisk-cli scan [--timeout] [--repeat] [--json | --csv] [--stats]\n"
        "                       [--interface | --all-interfaces] [--target]...\n",
        "Sends the discovery request out of every network port that is up and can\n"
        "broadcast, and lists every device that answers before the timeout, once each,\n"
        "in the order their replies arrived. The request is sent several times early in\n"
        "the timeout, because a broadcast is easily lost on Wi-Fi.\n",
        {},
        "Exit status: 0 a device was listed, 1 none answered, 2 bad options,\n"
        "7 the network cannot be used (port 10001 taken, no such interface, ...).\n" },
        ScanTable, 0, nullptr, nullptr, RunScan };
}

CliCommand ScanCommand()
{
    return MakeCommand(ScanDefinition());
}

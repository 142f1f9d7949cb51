// orbisk-cli wait: scans until one device answers, then lists it.

#include "cli_command.h"
#include "cli_discover.h"

namespace {

constexpr int kDefaultWaitSeconds = 120;

struct WaitOptions {
    std::string target; // MAC address, host name or address
    int timeoutMs = kDefaultWaitSeconds * 1000;
    OutputFormat format = OutputFormat::Table;
    SendPlan plan;
    bool help = false;
};

std::vector<Option> WaitTable(WaitOptions& options, SharedOptions& shared)
{
    std::vector<Option> table { { "--timeout", Takes::Value, ReadSeconds(options.timeoutMs, 0.001, 86400), "SECONDS",
        "how long to keep scanning (default " + std::to_string(kDefaultWaitSeconds) + ")" } };
    shared.AddFormats(table, options.format);
    shared.AddPlan(table, options.plan);
    return table;
}

void TakeTarget(WaitOptions& options, const std::string& target)
{
    options.target = target;
}

Status CheckWait(const WaitOptions& options, size_t operands)
{
    if (operands == 0 || options.target.empty())
        return BadUsage("wait needs the MAC address, host name or address of the device to wait for");
    return {};
}

int RunWait(const WaitOptions& options, std::ostream& out, std::ostream& err)
{
    std::vector<Route> routes;
    CReplyChannel channel;
    if (!PrepareNetwork(options.plan, routes, channel, err))
        return StatusNetwork;
    std::vector<std::optional<CliDevice>> found;
    DeviceTest isTarget = [&](const CliDevice& d) { return IsNamedBy(d.reply, options.target); };
    if (!AwaitDevices(channel, routes, { isTarget }, options.timeoutMs, found, err))
        return StatusNetwork;
    if (!found.front()) {
        err << "orbisk-cli: no device \"" << EscapeForTerminal(options.target) << "\" answered within "
            << options.timeoutMs / 1000.0 << " s\n";
        return StatusNoDevice;
    }
    out << FormatDevices({ *found.front() }, options.format);
    return StatusOk;
}

} // namespace

CliCommand WaitCommand()
{
    return MakeCommand<WaitOptions>({ { "wait", "scan until one device answers, then list it",
        "Usage: orbisk-cli wait TARGET [--timeout] [--json | --csv]\n"
        "                       [--interface | --all-interfaces] [--target]...\n",
        "Scans until a device with that MAC address, host name or address answers, and\n"
        "lists it: how a script learns where a device is after a restart or after it\n"
        "was switched to DHCP.\n",
        {},
        "Exit status: 0 the device answered, 1 it did not within the timeout,\n"
        "2 bad options, 7 the network cannot be used.\n" },
        WaitTable, 1, TakeTarget, CheckWait, RunWait });
}

// orbisk-cli wait: scans until one device answers, then lists it.

#include "cli_scan.h"

int RunWait(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    Result<WaitOptions> parsed = ParseWaitOptions(args);
    if (!parsed.Ok()) {
        err << "orbisk-cli wait: " << parsed.Failure().Message() << "\n" << Synopsis(WaitUsage(), "wait");
        return StatusUsage;
    }
    const WaitOptions& options = *parsed;
    if (options.help) {
        out << WaitUsage();
        return StatusOk;
    }
    std::vector<Route> routes;
    CReplyChannel channel;
    if (!PrepareNetwork(options.plan, routes, channel, err))
        return StatusNetwork;
    std::vector<std::optional<CliDevice>> found;
    DeviceTest isTarget = [&](const CliDevice& d) { return MatchesTarget(d.reply, options.target); };
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

// orbisk-cli wake: the Wake-on-LAN magic packet, for a MAC address or for a
// remembered device by name or address.

#include "cli_scan.h"
#include "device_record.h"
#include "command_line.h"
#include "device_wake.h"

#include <algorithm>

namespace {

struct WakeTarget {
    std::string text;                 // as given
    MacAddress mac {};
    std::optional<KnownDevice> known; // what the record says about it
};

// The target as a MAC address, or the one remembered device it names;
// otherwise why not, for standard error.
Result<WakeTarget> Resolve(const std::string& text, const std::vector<KnownDevice>& record)
{
    WakeTarget target { text, {}, std::nullopt };
    if (std::optional<MacAddress> mac = ParseMac(text)) {
        target.mac = *mac;
        for (const KnownDevice& known : record) {
            if (DeviceKey(known.device.reply) == MacText(*mac) && !target.known)
                target.known = known;
        }
        return target;
    }
    std::vector<KnownDevice> candidates;
    for (const KnownDevice& known : record) {
        if (IsTarget(known.device.reply, text))
            candidates.push_back(known);
    }
    if (candidates.empty())
        return BadUsage("\"" + text + "\" is neither a MAC address (as aa:bb:cc:dd:ee:ff) nor the host name or "
            "address of a remembered device ('orbisk-cli known' lists them)");
    if (candidates.size() > 1) {
        std::vector<CliDevice> rows = KnownRows(candidates);
        return BadUsage("\"" + text + "\" names " + std::to_string(candidates.size())
            + " remembered devices; give the MAC address of the one to wake:\n" + FormatTable(rows, true, true));
    }
    std::optional<MacAddress> mac = ParseMac(candidates.front().device.reply.mac);
    if (!mac)
        return BadUsage("the device \"" + text + "\" is remembered without a MAC address, so it cannot be woken");
    target.mac = *mac;
    target.known = candidates.front();
    return target;
}

bool PlanGiven(const SendPlan& plan)
{
    return plan.allInterfaces || !plan.interfaceName.empty() || !plan.targets.empty();
}

// Out of the port the device last answered on, unless the operator said
// where; every port when that one is gone.
Result<WakePlan> PlanFor(const WakeOptions& options, const WakeTarget& target, std::ostream& err)
{
    std::optional<RoutePlan> given;
    if (PlanGiven(options.plan))
        given = ToRoutePlan(options.plan);
    const std::string port = target.known ? target.known->device.interfaceName : "";
    Result<WakePlan> plan = PlanWake(target.mac, port, given);
    if (plan.Ok() && plan->fellBack)
        err << "orbisk-cli: " << port << ", where " << target.text
            << " last answered, cannot broadcast now; the packet goes out of every port\n";
    return plan;
}

std::string Ports(const std::vector<Route>& routes)
{
    std::string text;
    for (const Route& route : routes)
        text += (text.empty() ? "" : ", ") + DescribeRoute(route);
    return text;
}

} // namespace

int RunWake(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    Result<WakeOptions> parsed = ParseWakeOptions(args);
    if (!parsed.Ok()) {
        err << "orbisk-cli wake: " << parsed.Failure().Message() << "\n" << Synopsis(WakeUsage(), "wake");
        return StatusUsage;
    }
    const WakeOptions& options = *parsed;
    if (options.help) {
        out << WakeUsage();
        return StatusOk;
    }
    // Every target is resolved before anything is sent.
    CDeviceRecord record;
    record.Load();
    WarnOfRecord(record.Problem(), err);
    const std::vector<KnownDevice> known = record.Newest();
    std::vector<WakeTarget> targets;
    for (const std::string& text : options.targets) {
        Result<WakeTarget> target = Resolve(text, known);
        if (!target.Ok()) {
            // A list of candidates follows the sentence as it is.
            const std::string& message = target.Failure().Message();
            err << "orbisk-cli: " << message << (message.ends_with('\n') ? "" : "\n");
            return StatusUsage;
        }
        targets.push_back(*target);
    }

    CReplyChannel channel;
    Status opened = options.waitMs > 0 ? channel.Open() : channel.OpenForSending();
    if (!opened.Ok()) {
        Complain(err, opened.Message());
        return StatusNetwork;
    }
    // The lines about sending stay off standard output when it carries JSON or CSV.
    std::ostream& told = options.format == OutputFormat::Table ? out : err;
    for (const WakeTarget& target : targets) {
        Result<WakePlan> plan = PlanFor(options, target, err);
        Result<int> sent = plan.Ok() ? channel.SendBytes(plan->routes, options.udpPort, plan->packet)
                                     : Result<int>(plan.Failure());
        if (!sent.Ok() || *sent == 0) {
            Complain(err, sent.Ok() ? "The magic packet for " + target.text + " left by no port" : sent.Failure().Message());
            return StatusNetwork;
        }
        told << "Sent the magic packet for " << MacText(target.mac);
        if (target.known && !target.known->device.reply.hostname.empty())
            told << " (" << EscapeForTerminal(target.known->device.reply.hostname) << ")";
        told << " to " << Ports(plan->routes) << ", UDP port " << options.udpPort << "\n";
    }
    told.flush();
    if (options.waitMs == 0)
        return StatusOk;

    std::vector<Route> scanRoutes;
    if (Result<std::vector<Route>> planned = PlanRoutes(ToRoutePlan(options.plan)); planned.Ok()) {
        scanRoutes = std::move(*planned);
    } else {
        Complain(err, planned.Failure().Message());
        return StatusNetwork;
    }
    std::vector<DeviceTest> tests;
    for (const WakeTarget& target : targets)
        tests.push_back([mac = target.mac](const CliDevice& d) { return ParseMac(d.reply.mac) == mac; });
    std::vector<std::optional<CliDevice>> found;
    if (!AwaitDevices(channel, scanRoutes, tests, options.waitMs, found, err))
        return StatusNetwork;
    std::vector<CliDevice> answered;
    int status = StatusOk;
    for (size_t i = 0; i < targets.size(); ++i) {
        if (found[i]) {
            answered.push_back(*found[i]);
        } else {
            err << "orbisk-cli: " << MacText(targets[i].mac) << " did not answer within " << options.waitMs / 1000.0
                << " s\n";
            status = StatusNoDevice;
        }
    }
    out << FormatDevices(answered, options.format);
    return status;
}

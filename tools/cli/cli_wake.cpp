// orbisk-cli wake: the Wake-on-LAN magic packet, for a MAC address or for a
// remembered device by name or address.

#include "cli_command.h"
#include "cli_discover.h"
#include "device_record.h"
#include "device_wake.h"
#include "magic_packet.h"

namespace {

struct WakeOptions {
    std::vector<std::string> devices; // MAC addresses, host names or addresses
    int waitMs = 0;                   // --wait: 0 sends and ends
    int udpPort = kWakePort;
    OutputFormat format = OutputFormat::Table;
    SendPlan plan;
    bool help = false;
};

std::vector<Option> WakeTable(WakeOptions& options, SharedOptions& shared)
{
    std::vector<Option> table {
        { "--wait", Takes::Value, ReadSeconds(options.waitMs, 0.001, 86400), "SECONDS",
            "then wait until each device answers a scan, and list it" },
        { "--udp-port", Takes::Value, RangedNumber(options.udpPort, 1, 65535, IsNot("a port number")), "N",
            "the UDP port the packet goes to (default " + std::to_string(kWakePort) + ")" },
    };
    shared.AddFormats(table, options.format, "the list of --wait as an array of objects",
        "the list of --wait as comma-separated values (RFC 4180)");
    shared.AddPlan(table, options.plan);
    return table;
}

void TakeDevice(WakeOptions& options, const std::string& device)
{
    options.devices.push_back(device);
}

Status CheckWake(const WakeOptions& options, size_t)
{
    if (options.devices.empty())
        return BadUsage("wake needs a MAC address, or the host name or address of a remembered device");
    return {};
}

struct WakeDevice {
    std::string text;                 // as given
    MacAddress mac {};
    std::optional<KnownDevice> known; // what the record says about it
};

// The device as a MAC address, or the one remembered device it names;
// otherwise why not, for standard error.
Result<WakeDevice> Resolve(const std::string& text, const std::vector<KnownDevice>& record)
{
    std::vector<KnownDevice> candidates;
    for (const KnownDevice& known : record) {
        if (IsNamedBy(known.device.reply, text))
            candidates.push_back(known);
    }
    if (std::optional<MacAddress> mac = ParseMac(text))
        return WakeDevice { text, *mac, candidates.empty() ? std::nullopt : std::optional(candidates.front()) };
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
    return WakeDevice { text, *mac, candidates.front() };
}

bool PlanGiven(const SendPlan& plan)
{
    return plan.allInterfaces || !plan.interfaceName.empty() || !plan.targets.empty();
}

// Out of the port the device last answered on, unless the operator said
// where; every port when that one is gone.
Result<WakePlan> PlanFor(const WakeOptions& options, const WakeDevice& device, std::ostream& err)
{
    std::optional<RoutePlan> given;
    if (PlanGiven(options.plan))
        given = ToRoutePlan(options.plan);
    const std::string port = device.known ? device.known->device.interfaceName : "";
    Result<WakePlan> plan = PlanWake(device.mac, port, given);
    if (plan.Ok() && plan->fellBack)
        err << "orbisk-cli: " << port << ", where " << device.text
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

// Every device, before anything is sent; false when one cannot be woken,
// with the reason on err.
bool ResolveAll(const WakeOptions& options, std::vector<WakeDevice>& devices, std::ostream& err)
{
    CDeviceRecord record;
    record.Load();
    WarnOfRecord(record.Problem(), err);
    const std::vector<KnownDevice> known = record.Newest();
    for (const std::string& text : options.devices) {
        Result<WakeDevice> device = Resolve(text, known);
        if (!device.Ok()) {
            // A list of candidates follows the sentence as it is.
            const std::string& message = device.Failure().Message();
            err << "orbisk-cli: " << message << (message.ends_with('\n') ? "" : "\n");
            return false;
        }
        devices.push_back(*device);
    }
    return true;
}

// One magic packet for each device, told as it leaves.
int SendPackets(const WakeOptions& options, const std::vector<WakeDevice>& devices, CReplyChannel& channel,
    std::ostream& out, std::ostream& err)
{
    // The lines about sending stay off standard output when it carries JSON or CSV.
    std::ostream& told = options.format == OutputFormat::Table ? out : err;
    for (const WakeDevice& device : devices) {
        Result<WakePlan> plan = PlanFor(options, device, err);
        Result<int> sent = plan.Ok() ? channel.SendBytes(plan->routes, options.udpPort, plan->packet)
                                     : Result<int>(plan.Failure());
        if (!sent.Ok() || *sent == 0) {
            Complain(err, sent.Ok() ? "The magic packet for " + device.text + " left by no port" : sent.Failure().Message());
            return StatusNetwork;
        }
        told << "Sent the magic packet for " << MacText(device.mac);
        if (device.known && !device.known->device.reply.hostname.empty())
            told << " (" << EscapeForTerminal(device.known->device.reply.hostname) << ")";
        told << " to " << Ports(plan->routes) << ", UDP port " << options.udpPort << "\n";
    }
    told.flush();
    return StatusOk;
}

// --wait: scans until every device answers, and lists those that did.
int AwaitWoken(const WakeOptions& options, const std::vector<WakeDevice>& devices, CReplyChannel& channel,
    std::ostream& out, std::ostream& err)
{
    Result<std::vector<Route>> routes = PlanRoutes(ToRoutePlan(options.plan));
    if (!routes.Ok()) {
        Complain(err, routes.Failure().Message());
        return StatusNetwork;
    }
    std::vector<DeviceTest> tests;
    for (const WakeDevice& device : devices)
        tests.push_back([mac = MacText(device.mac)](const CliDevice& d) { return SameMac(d.reply.mac, mac); });
    std::vector<std::optional<CliDevice>> found;
    if (!AwaitDevices(channel, *routes, tests, options.waitMs, found, err))
        return StatusNetwork;
    std::vector<CliDevice> answered;
    int status = StatusOk;
    for (size_t i = 0; i < devices.size(); ++i) {
        if (found[i]) {
            answered.push_back(*found[i]);
        } else {
            err << "orbisk-cli: " << MacText(devices[i].mac) << " did not answer within " << options.waitMs / 1000.0
                << " s\n";
            status = StatusNoDevice;
        }
    }
    out << FormatDevices(answered, options.format);
    return status;
}

int RunWake(const WakeOptions& options, std::ostream& out, std::ostream& err)
{
    std::vector<WakeDevice> devices;
    if (!ResolveAll(options, devices, err))
        return StatusUsage;
    CReplyChannel channel;
    Status opened = options.waitMs > 0 ? channel.Open() : channel.OpenForSending();
    if (!opened.Ok()) {
        Complain(err, opened.Message());
        return StatusNetwork;
    }
    if (int status = SendPackets(options, devices, channel, out, err); status != StatusOk || options.waitMs == 0)
        return status;
    return AwaitWoken(options, devices, channel, out, err);
}

} // namespace

CliCommand WakeCommand()
{
    return MakeCommand<WakeOptions>({ { "wake", "wake a device with a Wake-on-LAN magic packet",
        "Usage: orbisk-cli wake TARGET... [--wait] [--udp-port] [--json | --csv]\n"
        "                       [--interface | --all-interfaces] [--target]...\n",
        "Sends the Wake-on-LAN magic packet (6 bytes 0xFF, then the MAC address 16\n"
        "times) to 255.255.255.255, UDP port " + std::to_string(kWakePort) + ". A TARGET is a MAC address\n"
        "(aa:bb:cc:dd:ee:ff, aa-bb-cc-dd-ee-ff, aabb.ccdd.eeff or aabbccddeeff), or\n"
        "the host name or address of a device listed by 'orbisk-cli known'. The packet\n"
        "leaves by the port the device last answered on, when that is known, otherwise\n"
        "out of every port.\n",
        {},
        "Exit status: 0 sent (and with --wait, every device answered), 1 a device did not\n"
        "answer within --wait, 2 bad options, an unknown TARGET or a host name that\n"
        "several devices share (nothing is sent), 7 the network cannot be used.\n" },
        WakeTable, kAnyOperands, TakeDevice, CheckWake, RunWake });
}

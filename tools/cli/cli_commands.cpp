#include "cli_commands.h"

#include "cli_devices.h"
#include "cli_scan.h"
#include "device_record.h"
#include "cli_options.h"
#include "cli_password.h"
#include "cli_text.h"
#include "change_check.h"
#include "neighbour.h"
#include "reply_receiver.h"
#include "wire.h"

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <string_view>
#include <unordered_set>

namespace {

// Replies to port 10001 are new inbound flows, which a default-deny desktop
// firewall drops: the commonest reason for an empty scan after a cable.
constexpr const char* kFirewallHint =
    "orbisk-cli: a firewall may be dropping the devices' replies (UDP port 10001 inbound).\n"
    "  To let them in:  sudo ufw allow Orbisk\n"
    "             or:  sudo firewall-cmd --permanent --add-service=orbisk && sudo firewall-cmd --reload\n";

constexpr int kVerifyScans = 3;
constexpr int kVerifyScanMs = 1000;
constexpr int64_t kSharedAddressGraceMs = 300;
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

// Refused before sending: exit status 2 and the reason.
int Refuse(const Status& problem, std::ostream& err)
{
    err << "orbisk-cli: " << problem.Message() << " Nothing was sent; --force sends it anyway.\n";
    return StatusUsage;
}

// The MAC addresses that answer at the device's address on its port: the
// look-up stops at the first, so others of the same burst are waited for a
// little longer.
std::vector<std::string> MacsAtPort(CReplyChannel& channel, const ScanResult& lookup, const CliDevice& device)
{
    std::vector<std::string> macs;
    auto note = [&](const DeviceReply& r) {
        if (r.sender == device.reply.sender && r.ifindex == device.reply.ifindex
            && std::find(macs.begin(), macs.end(), r.mac) == macs.end())
            macs.push_back(r.mac);
    };
    for (const CliDevice& d : lookup.devices)
        note(d.reply);
    channel.Collect(MonotonicNs() + kSharedAddressGraceMs * 1000000, [&](const Datagram& d) {
        if (auto r = ReplyOf(d))
            note(*r);
        return false;
    });
    return macs;
}

std::vector<ListedDevice> Listed(const ScanResult& scan)
{
    std::vector<ListedDevice> listed;
    for (const CliDevice& d : scan.devices)
        listed.push_back({ d.reply.sender, d.reply.mac });
    return listed;
}

// The routes that leave by port `ifindex`; all of them when none is tied to
// that port (unicast targets go where the routing table says).
std::vector<Route> RoutesToPort(const std::vector<Route>& routes, unsigned ifindex)
{
    std::vector<Route> chosen;
    for (const Route& route : routes) {
        if (route.ifindex != 0 && route.ifindex == ifindex)
            chosen.push_back(route);
    }
    return chosen.empty() ? routes : chosen;
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

int RunScan(const ScanOptions& options, std::ostream& out, std::ostream& err)
{
    if (options.help) {
        out << ScanUsage();
        return StatusOk;
    }
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

// Waits for the change reply; discovery replies are not an answer here.
ReplyKind AwaitChange(CReplyChannel& channel, int timeoutMs)
{
    ReplyKind answer = ReplyNone;
    channel.Collect(MonotonicNs() + static_cast<int64_t>(timeoutMs) * 1000000, [&](const Datagram& d) {
        ReplyKind kind = HandleReply(nullptr, d.data, d.length, d.sender);
        if (kind == ReplyChanged || kind == ReplyDenied || kind == ReplyOther)
            answer = kind;
        return answer != ReplyNone;
    });
    return answer;
}

int Verify(CReplyChannel& channel, const SetIpOptions& options, std::vector<Route> routes, const CliDevice& before,
    std::ostream& out, std::ostream& err)
{
    DeviceTest found;
    if (options.mode == AddressMode::Static) {
        found = [&](const CliDevice& d) { return d.reply.sender == options.address; };
        // A target aimed at the old address would miss the new one.
        if (!options.plan.targets.empty())
            routes.push_back({ Ipv4::Parse(options.address).value_or(Ipv4()), routes.front().ifindex,
                routes.front().source, routes.front().interfaceName });
    } else {
        // After DHCP the address is unknown; the device is known by its MAC address.
        const std::string& mac = before.reply.mac;
        const std::string& host = before.reply.hostname;
        found = [&](const CliDevice& d) {
            return mac.empty() ? d.reply.hostname == host : d.reply.mac == mac;
        };
    }
    // A device may take a moment to move to its new configuration.
    for (int attempt = 0; attempt < kVerifyScans; ++attempt) {
        ScanResult result;
        if (!Discover(channel, routes, kVerifyScanMs, kDefaultRepeat, found, result, err))
            return StatusNetwork;
        Remember(result.devices, err);
        for (const CliDevice& device : result.devices) {
            if (found(device)) {
                out << "The device answers at " << device.reply.sender << '\n';
                return StatusOk;
            }
        }
    }
    if (options.mode == AddressMode::Static)
        out << "The device does not answer at " << options.address << '\n';
    else
        out << "The device does not answer any more\n";
    return StatusNotVerified;
}

// One set-ip run: what its steps share.
struct SetIpRun {
    const SetIpOptions& options;
    std::ostream& out;
    std::ostream& err;
    CReplyChannel channel;
    std::vector<Route> routes;
    std::optional<CliDevice> device; // as the look-up heard it; none when it did not answer
};

// The device is looked up first: the request then leaves by the port it
// answered on alone, so a device of the same address on another port is
// not changed with it. StatusOk to go on, or the status to end with.
int LookUp(SetIpRun& run)
{
    const SetIpOptions& options = run.options;
    ScanResult lookup;
    auto isDevice = [&](const CliDevice& d) { return d.reply.sender == options.device; };
    if (!Discover(run.channel, run.routes, kDefaultScanMs, kDefaultRepeat, isDevice, lookup, run.err))
        return StatusNetwork;
    Remember(lookup.devices, run.err);
    if (lookup.devices.empty() || !isDevice(lookup.devices.back())) {
        if (options.mode != AddressMode::Dhcp)
            return StatusOk;
        // A DHCP request carries the device's present values.
        run.out << "No device answered at " << options.device << '\n';
        return StatusNoAnswer;
    }
    const CliDevice& device = run.device.emplace(lookup.devices.back());
    run.routes = RoutesToPort(run.routes, device.reply.ifindex);
    if (options.force)
        return StatusOk;
    Status problem = SharedAddressProblem(options.device, MacsAtPort(run.channel, lookup, device));
    if (problem.Ok() && options.mode == AddressMode::Static)
        problem = AddressInUseProblem(options.address, options.device, device.reply.mac, Listed(lookup), CHostNetwork());
    return problem.Ok() ? StatusOk : Refuse(problem, run.err);
}

// The request as it goes on the wire; the request's copy of the password
// is wiped with the rest of it.
SecretText RequestText(ChangeRequest request, const SecretText& password)
{
    request.password = password.Text();
    SecretText text(BuildChangeRequest(request));
    SecretText copy(std::move(request.password));
    return text;
}

// Sends the change request once. The password is wiped when it returns.
int SendChange(SetIpRun& run, SecretText password)
{
    const SetIpOptions& options = run.options;
    ChangeRequest request { .current = options.device, .user = options.user, .password = {},
        .address = options.address, .netmask = options.netmask, .gateway = options.gateway, .mode = options.mode };
    if (options.mode == AddressMode::Dhcp) {
        // The request carries the device's present values, as the desktop
        // program sends the fields it loaded from the device's row.
        request.address = options.device;
        request.netmask = run.device->reply.netmask;
        request.gateway = run.device->reply.gateway;
    }
    Result<int> sent = run.channel.Send(run.routes, RequestText(std::move(request), password).Text());
    if (!sent.Ok() || *sent == 0) {
        Complain(run.err, sent.Ok() ? std::string() : sent.Failure().Message());
        return StatusNetwork;
    }
    return StatusOk;
}

int TellAnswer(SetIpRun& run)
{
    const SetIpOptions& options = run.options;
    switch (AwaitChange(run.channel, options.timeoutMs)) {
    case ReplyChanged:
        run.out << "Success\n";
        if (!options.verify)
            return StatusOk;
        return Verify(run.channel, options, run.routes, run.device.value_or(CliDevice()), run.out, run.err);
    case ReplyDenied:
        run.out << "Wrong user or password!\n";
        return StatusDenied;
    case ReplyOther:
        run.out << "Could not modify the IP address!\n";
        return StatusRefused;
    default:
        run.out << "No device answered within " << options.timeoutMs << " ms\n";
        return StatusNoAnswer;
    }
}

int RunSetIp(const SetIpOptions& options, std::ostream& out, std::ostream& err)
{
    if (options.help) {
        out << SetIpUsage();
        return StatusOk;
    }
    // The port is taken before the password is asked for: a busy port is
    // reported at once, not after typing.
    SetIpRun run { options, out, err, {}, {}, {} };
    if (!PrepareNetwork(options.plan, run.routes, run.channel, err))
        return StatusNetwork;
    // A configuration that would cut the device off is refused before anything is sent.
    if (options.mode == AddressMode::Static && !options.force) {
        if (Status problem = StaticConfigProblem(options.address, options.netmask, options.gateway); !problem.Ok())
            return Refuse(problem, err);
    }
    Result<SecretText> password = ReadPassword(options.passwordStdin);
    if (!password.Ok()) {
        err << "orbisk-cli: " << password.Failure().Message() << '\n';
        return StatusUsage;
    }
    if (int status = LookUp(run); status != StatusOk)
        return status;
    if (int status = SendChange(run, std::move(*password)); status != StatusOk)
        return status;
    return TellAnswer(run);
}

} // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty()) {
        err << MainUsage();
        return StatusUsage;
    }
    const std::string& command = args[0];
    std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "--help" || command == "-h" || command == "help") {
        out << MainUsage();
        return StatusOk;
    }
    if (command == "--version") {
        out << "orbisk-cli " ORBISK_VERSION "\n";
        return StatusOk;
    }
    if (command == "scan") {
        Result<ScanOptions> options = ParseScanOptions(rest);
        if (!options.Ok()) {
            err << "orbisk-cli scan: " << options.Failure().Message() << "\n" << Synopsis(ScanUsage(), "scan");
            return StatusUsage;
        }
        return RunScan(*options, out, err);
    }
    if (command == "set-ip") {
        Result<SetIpOptions> options = ParseSetIpOptions(rest);
        if (!options.Ok()) {
            err << "orbisk-cli set-ip: " << options.Failure().Message() << "\n" << Synopsis(SetIpUsage(), "set-ip");
            return StatusUsage;
        }
        return RunSetIp(*options, out, err);
    }
    using Command = int (*)(const std::vector<std::string>&, std::ostream&, std::ostream&);
    static const std::pair<const char*, Command> kCommands[] = {
        { "known", RunKnown }, { "wake", RunWake }, { "watch", RunWatch }, { "wait", RunWait },
    };
    for (const auto& [name, run] : kCommands) {
        if (command == name)
            return run(rest, out, err);
    }
    err << "orbisk-cli: unknown command \"" << command << "\"\n\n" << MainUsage();
    return StatusUsage;
}

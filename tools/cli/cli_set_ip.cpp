// orbisk-cli set-ip: the address-change request for one device, sent once
// after a look-up, and its answer.

#include "cli_command.h"
#include "cli_password.h"
#include "cli_discover.h"
#include "device_record.h"
#include "change_check.h"
#include "neighbour.h"
#include "reply_receiver.h"

#include <algorithm>

namespace {

constexpr int kVerifyScans = 3;
constexpr int kVerifyScanMs = 1000;
constexpr int64_t kSharedAddressGraceMs = 300;

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
        auto same = [&](const std::string& mac) { return SameMac(mac, r.mac); };
        if (r.sender == device.reply.sender && r.ifindex == device.reply.ifindex
            && std::none_of(macs.begin(), macs.end(), same))
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

Status CheckAddress(const char* option, const std::string& value)
{
    if (IsDottedQuadIpv4(value))
        return {};
    return BadUsage(std::string(option) + " \"" + value
        + "\" is not a dotted-quad IPv4 address (four numbers 0 to 255, as 192.168.1.20)");
}

std::vector<Option> SetIpTable(SetIpOptions& options, SharedOptions& shared)
{
    auto mode = [&options](AddressMode mode) {
        return [&options, mode](std::string_view, const std::string&) {
            if (options.mode != AddressMode::NotGiven && options.mode != mode)
                return BadUsage("--static and --dhcp exclude each other");
            options.mode = mode;
            return Status();
        };
    };
    auto noPassword = [](std::string_view, const std::string&) {
        return BadUsage("there is no --password option: the password is asked for on the terminal, or read from "
                        "standard input with --password-stdin, so that it never shows in the process list");
    };
    std::vector<Option> table {
        { "--static", Takes::Nothing, mode(AddressMode::Static), {},
            "give the device a fixed address; needs --address,\n--netmask and --gateway" },
        { "--dhcp", Takes::Nothing, mode(AddressMode::Dhcp), {}, "let the device take its address from a DHCP server" },
        { "--address", Takes::Value, SetText(options.address), "A", "the new address (dotted quad, as 192.168.1.77)" },
        { "--netmask", Takes::Value, SetText(options.netmask), "N", "the new netmask (as 255.255.255.0)" },
        { "--gateway", Takes::Value, SetText(options.gateway), "G", "the new gateway (as 192.168.1.1)" },
        { "--user", Takes::Value, SetText(options.user), "NAME", "the device administrator's user name" },
        { "--password", Takes::Refused, noPassword },
        { "--password-stdin", Takes::Nothing, SetFlag(options.passwordStdin), {},
            "read the password as the first line of standard input\ninstead of asking on the terminal" },
        { "--timeout", Takes::Value, ReadTimeout(options.timeoutMs), "MS",
            "how long to wait for the answer (default " + std::to_string(kDefaultChangeWaitMs) + ")" },
        { "--verify", Takes::Nothing, SetFlag(options.verify), {},
            "after \"Success\", scan again and report where the device answers" },
        { "--force", Takes::Nothing, SetFlag(options.force), {},
            "send even what the checks refuse: a netmask, address or gateway\n"
            "that would cut the device off, an address another host holds,\n"
            "several devices answering at DEVICE (they would all change)" },
    };
    shared.AddPlan(table, options.plan);
    return table;
}

void TakeDevice(SetIpOptions& options, const std::string& device)
{
    options.device = device;
}

// What the values say together, once every option is read.
Status CheckSetIp(const SetIpOptions& options, size_t operands)
{
    // The plan first, as the shared step checks it only after this.
    if (Status plan = CheckPlan(options.plan); !plan.Ok())
        return plan;
    if (operands == 0)
        return BadUsage("set-ip needs the device's present address");
    if (Status device = CheckAddress("device address", options.device); !device.Ok())
        return device;
    if (options.mode == AddressMode::NotGiven)
        return BadUsage("set-ip needs --static or --dhcp");
    if (options.mode == AddressMode::Static) {
        const std::pair<const char*, const std::string*> values[] = {
            { "--address", &options.address }, { "--netmask", &options.netmask }, { "--gateway", &options.gateway },
        };
        for (const auto& [option, value] : values) {
            if (value->empty())
                return BadUsage(std::string("--static needs ") + option);
            if (Status address = CheckAddress(option, *value); !address.Ok())
                return address;
        }
    } else if (!options.address.empty() || !options.netmask.empty() || !options.gateway.empty()) {
        return BadUsage("--dhcp takes no --address, --netmask or --gateway: the device's present values are sent");
    }
    if (options.user.empty())
        return BadUsage("set-ip needs --user NAME (not empty)");
    return {};
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
        found = [&](const CliDevice& d) { return IsNamedBy(d.reply, options.address); };
        // A target aimed at the old address would miss the new one.
        if (!options.plan.targets.empty())
            routes.push_back({ Ipv4::Parse(options.address).value_or(Ipv4()), routes.front().ifindex,
                routes.front().source, routes.front().interfaceName });
    } else {
        // After DHCP the address is unknown; the device is known by its MAC
        // address, or by its host name when it sent none.
        const std::string& mac = before.reply.mac;
        const std::string& host = before.reply.hostname;
        found = [&](const CliDevice& d) {
            return mac.empty() ? IsNamedBy(d.reply, host) : SameMac(d.reply.mac, mac);
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
    auto isDevice = [&](const CliDevice& d) { return IsNamedBy(d.reply, options.device); };
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

CommandDefinition<SetIpOptions> SetIpDefinition()
{
    static_assert(kDefaultRepeat == 3, "set-ip's text says the look-up sends up to three requests");
    return { { "set-ip", "change the IP configuration of one device",
        "Usage: orbisk-cli set-ip DEVICE --static --address --netmask --gateway --user\n"
        "                         [--password-stdin] [--timeout] [--verify] [--force]\n"
        "       orbisk-cli set-ip DEVICE --dhcp --user [--password-stdin] [--timeout] [--verify] [--force]\n"
        "       (where the request goes: [--interface | --all-interfaces] [--target])\n",
        "Sends the address-change request for the device now at DEVICE and waits for its\n"
        "answer. The password is asked for on the terminal without echo, or read as one\n"
        "line from standard input with --password-stdin; it is never an argument.\n"
        "The device is looked up first, and the request leaves by the port it answered\n"
        "on alone; with --dhcp the look-up also gives its present netmask and gateway,\n"
        "because the request carries them.\n"
        "The look-up and the --verify check send the discovery request up to three\n"
        "times, as scan does; the change request itself is sent once.\n",
        ListEntry("DEVICE", "the device's present address, as scan lists it", kCliColumn),
        "Exit status: 0 Success, 2 bad options or values (nothing sent), 3 wrong user or\n"
        "password, 4 the device refused for another reason, 5 no device answered,\n"
        "6 --verify did not find the device afterwards, 7 the network cannot be used.\n" },
        SetIpTable, 1, TakeDevice, CheckSetIp, RunSetIp };
}

CliCommand SetIpCommand()
{
    return MakeCommand(SetIpDefinition());
}

#include "devsim_options.h"

#include "command_line.h"
#include "udp_socket.h"

#include <cstdio>
#include <limits>

namespace {

constexpr int kMaxMs = 3600 * 1000;

// "--address: needs an IPv4 address, not ..."
Status Complaint(std::string_view name, const std::string& why)
{
    return BadUsage(std::string(name) + ": " + why);
}

// "--count: needs a whole number from 1 to 65536"
std::string WholeNumber(std::string_view name, const std::string&, const std::string& range)
{
    return std::string(name) + ": needs a whole number from " + range;
}

OptionAction Number(int& field, int low, int high)
{
    return RangedNumber(field, low, high, WholeNumber);
}

OptionAction Address(std::string& field)
{
    return [&field](std::string_view name, const std::string& value) {
        field = value;
        return IsDottedQuadIpv4(value) ? Status() : Complaint(name, "needs an IPv4 address, not \"" + value + "\"");
    };
}

// Bytes for the list, or for the one field.
OptionAction Bytes(std::vector<std::string>* list, std::optional<std::string>* field = nullptr)
{
    return [list, field](std::string_view name, const std::string& value) {
        Result<std::string> decoded = DecodeBytes(value);
        if (!decoded.Ok())
            return Complaint(name, decoded.Failure().Message());
        if (list != nullptr)
            list->push_back(*decoded);
        else
            *field = *decoded;
        return Status();
    };
}

// Help column of the option list.
constexpr size_t kColumn = 23;

// The groups of options, each under its heading in the usage text. Built
// before the command line is read, so the defaults they name are the ones
// SimOptions starts with.
std::vector<Option> DeviceOptions(SimOptions& o)
{
    auto address = [&o](std::string_view name, const std::string& value) {
        if (!IsDottedQuadIpv4(value))
            return Complaint(name, "needs an IPv4 address, not \"" + value + "\"");
        o.addresses.push_back(value);
        return Status();
    };
    return {
        { "--address", Takes::Value, address, "A",
            "a device address (repeatable); with --count N, the first\n"
            "of N consecutive addresses. Every address must already be\n"
            "on an interface of the host. Default: the host's first\n"
            "non-loopback IPv4 address (127.0.0.1 when there is none)" },
        { "--count", Takes::Value, Number(o.count, 1, 65536), "N", "number of devices (default: one per --address, or 1)" },
        { "--hostname", Takes::Value, SetText(o.hostname), "TEXT",
            "host name (default " + o.hostname + "); with several devices each gets\nTEXT-0001, TEXT-0002, ..." },
        { "--mac", Takes::Value, SetText(o.mac), "TEXT",
            "MAC address (default " + o.mac + "), incremented per\ndevice when it is six hex octets" },
        { "--firmware", Takes::Value, SetText(o.version), "TEXT",
            "firmware version the devices report (default " + o.version + ")" },
        { "--gateway", Takes::Value, SetText(o.gateway), "A", "gateway (default: the device's /24 with .1)" },
        { "--netmask", Takes::Value, SetText(o.netmask), "A", "netmask (default " + o.netmask + ")" },
        { "--mode", Takes::Value, Number(o.mode, 0, 1), "0|1",
            "address mode: 0 static, 1 DHCP (default " + std::to_string(o.mode) + ")" },
        { "--user", Takes::Value, SetText(o.user), "TEXT", "administrator name (default " + o.user + ")" },
        { "--password", Takes::Value, SetText(o.password), "TEXT", "administrator password (default " + o.password + ")" },
        { "--asleep", Takes::Nothing, SetFlag(o.asleep), {},
            "start asleep: answer nothing until a Wake-on-LAN magic\n"
            "packet for the device's MAC address arrives on UDP\n"
            "port 9 (which it then listens on)" },
        { "--boot-ms", Takes::Value, Number(o.bootMs, 0, kMaxMs), "MS",
            "once woken, answer after MS (default " + std::to_string(o.bootMs) + ")" },
    };
}

std::vector<Option> ReplyOptions(SimOptions& o)
{
    return {
        { "--reply-delay", Takes::Value, Number(o.replyDelayMs, 0, kMaxMs), "MS", "wait MS before each reply" },
        { "--jitter", Takes::Value, Number(o.jitterMs, 0, kMaxMs), "MS", "add a random 0..MS to each device's delay" },
        { "--duplicates", Takes::Value, Number(o.duplicates, 1, 1000), "N", "send every reply N times" },
        { "--raw-reply", Takes::Value, Bytes(&o.rawReplies), "BYTES",
            "answer a discovery request with BYTES instead of the\n"
            "discovery reply (repeatable: all are sent, in order)" },
        { "--malformed", Takes::Nothing, SetFlag(o.malformed), {},
            "answer a discovery request with broken replies instead\n"
            "(NUL bytes, bytes 0x80-0xFF, 1000 '@', no '@', '#' alone)" },
        { "--change-reply", Takes::Value, Bytes(nullptr, &o.changeReply), "BYTES",
            "answer every change request addressed to a device with\n"
            "BYTES, whatever the credentials, and change nothing" },
    };
}

std::vector<Option> LossOptions(SimOptions& o)
{
    return {
        { "--loss", Takes::Value, Number(o.lossPercent, 0, 100), "PERCENT",
            "drop PERCENT of the requests heard and, apart from\n"
            "that, of the reply datagrams to be sent, each at random" },
        { "--seed", Takes::Value, RangedNumber(o.seed, 0u, ~0u, WholeNumber), "N",
            "seed of the random choices (default: from the clock)" },
        { "--drop-first", Takes::Value, Number(o.dropFirst, 0, 1000000), "N",
            "drop the first N requests each device would act on" },
        { "--drop-first-replies", Takes::Value, Number(o.dropFirstReplies, 0, 1000000), "N",
            "drop the first N reply datagrams each device would send" },
    };
}

std::vector<Option> TrafficOptions(SimOptions& o)
{
    auto positive = [](std::string_view name, const std::string&, const std::string&) {
        return std::string(name) + ": needs a positive number of seconds";
    };
    OptionAction seconds = RangedNumber(o.floodSeconds, std::numeric_limits<double>::denorm_min(), 86400.0, positive);
    char floodSeconds[32];
    std::snprintf(floodSeconds, sizeof floodSeconds, "%g", o.floodSeconds);
    return {
        { "--flood", Takes::Value, Number(o.floodRate, 1, 10000000), "RATE", "junk datagrams, RATE a second ..." },
        { "--flood-seconds", Takes::Value, seconds, "S",
            "... for S seconds (default " + std::string(floodSeconds) + ") ..." },
        { "--flood-target", Takes::Value, Address(o.floodTarget), "A", "... to A (default: --target)" },
        { "--every-length", Takes::Value, Address(o.everyLengthTarget), "A",
            "one datagram of every length 0..65507 to A, once" },
        { "--unsolicited", Takes::Value, Bytes(&o.unsolicited), "BYTES",
            "send BYTES from every device address every --interval\n(repeatable) ..." },
        { "--interval", Takes::Value, Number(o.intervalMs, 1, kMaxMs), "MS",
            "... (default " + std::to_string(o.intervalMs) + ") ..." },
        { "--target", Takes::Value, Address(o.target), "A", "... to A" },
    };
}

std::vector<Option> OutputOptions(SimOptions& o, bool& help, bool& version)
{
    return {
        { "--log", Takes::Value, SetText(o.logFile), "FILE",
            "append every datagram received as one line,\n"
            "\"src=A:PORT dst=A len=N hex=...\", flushed at once" },
        { "--verbose", Takes::Nothing, SetFlag(o.verbose), {}, "tell on stderr about every request handled", "-v" },
        { "--help", Takes::Nothing, SetFlag(help), {}, "this text", "-h" },
        { "--version", Takes::Nothing, SetFlag(version), {}, "the simulator's own version" },
    };
}

struct Group {
    std::string_view heading;
    std::vector<Option> options;
};

std::vector<Group> Groups(SimOptions& o, bool& help, bool& version)
{
    return {
        { "Devices:", DeviceOptions(o) },
        { "Replies:", ReplyOptions(o) },
        { "Loss (each device on its own, as broadcast over Wi-Fi):", LossOptions(o) },
        { "Hostile traffic to port 10001 (sent from the first device address):", TrafficOptions(o) },
        { "Output:", OutputOptions(o, help, version) },
    };
}

// What the options say together, once all are read.
Status CheckTogether(SimOptions& o)
{
    if (o.addresses.size() > 1 && o.count != 0 && o.count != static_cast<int>(o.addresses.size()))
        return BadUsage("--count must match the number of --address options, or be used with one --address");
    if (o.floodTarget.empty())
        o.floodTarget = o.target;
    if (o.floodRate > 0 && o.floodTarget.empty())
        return BadUsage("--flood needs --flood-target or --target");
    if (!o.unsolicited.empty() && o.target.empty())
        return BadUsage("--unsolicited needs --target");
    return {};
}

std::vector<Option> Table(SimOptions& o, bool& help, bool& version)
{
    std::vector<Option> table;
    for (Group& group : Groups(o, help, version))
        table.insert(table.end(), group.options.begin(), group.options.end());
    return table;
}

} // namespace

std::vector<std::string> OptionNames()
{
    SimOptions options;
    bool help = false, version = false;
    std::vector<std::string> names;
    for (const Option& option : Table(options, help, version)) {
        names.emplace_back(option.name);
        if (!option.shortName.empty())
            names.emplace_back(option.shortName);
    }
    return names;
}

std::vector<Option> SimOptionTable()
{
    SimOptions options;
    bool help = false, version = false;
    return WithoutActions(Table(options, help, version));
}

Result<SimCommand> ParseOptions(const std::vector<std::string>& args)
{
    SimCommand command;
    SimOptions& o = command.options;
    bool help = false, version = false;
    // The simulator takes no operands, before "--" or after it.
    if (Status status = ParseCommandLine(args, Table(o, help, version), Unexpected); !status.Ok())
        return status;
    if (help || version) {
        command.action = help ? SimAction::Help : SimAction::Version;
        return command;
    }
    if (Status status = CheckTogether(o); !status.Ok())
        return status;
    return command;
}

std::string UsageText()
{
    SimOptions defaults;
    bool help = false, version = false;
    std::string usage = R"(Usage: orbisk-devsim [OPTIONS]

Plays one or more NAS devices on this host: answers the discovery request and
the address-change request on UDP port 10000, replying to the requester's
address, port 10001. Run it only inside a network namespace of the virtual LAN.
)";
    for (const Group& group : Groups(defaults, help, version))
        usage += "\n" + std::string(group.heading) + "\n" + OptionList(group.options, kColumn);
    return usage + R"(
BYTES is text with the escapes \\ \0 \n \r \t \xHH, or "hex:" and hex digits
(e.g. hex:2430 is "$0").

A change request is taken by the device whose address is its current-address
field. With the right user and password the device first takes the new
configuration and then answers "$0", from its new address: a static change
moves the address on the interface (ip addr add, then ip addr del); DHCP keeps
the address and only reports mode 1 from then on. A static change to no dotted
IPv4 address or netmask, to another device's address, or one the interface
refuses is answered with "$2" and changes nothing. Wrong credentials get "$1".

SIGTERM or SIGINT ends the program with status 0; bad options give status 2,
a failure to start status 1.
)";
}

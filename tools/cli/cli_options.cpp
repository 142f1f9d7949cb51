#include "cli_options.h"

#include "command_line.h"
#include "ipv4.h"

#include <cstdio>

namespace {

constexpr int kMaxTimeoutMs = 24 * 3600 * 1000;
// The messages of a bad option say which program complains: "option --timeout
// needs a value", "unknown option -x".
constexpr CommandLineStyle kStyle { .sayOption = true, .dashIsOption = true };

OptionAction ReadTimeout(int& timeoutMs)
{
    return [&timeoutMs](std::string_view, const std::string& text) {
        std::optional<int> value = ReadNumber(text, 1, kMaxTimeoutMs);
        if (!value)
            return BadUsage("--timeout \"" + text + "\" is not a number of milliseconds from 1 to "
                + std::to_string(kMaxTimeoutMs));
        timeoutMs = *value;
        return Status();
    };
}

// Seconds, as "120" or "0.5", kept as milliseconds.
OptionAction ReadSeconds(int& ms, double low, double high)
{
    return [&ms, low, high](std::string_view name, const std::string& text) {
        std::optional<double> value = ReadNumber(text, low, high);
        if (!value) {
            char range[64];
            std::snprintf(range, sizeof range, "%g to %g", low, high);
            return BadUsage(std::string(name) + " \"" + text + "\" is not a number of seconds from " + range);
        }
        ms = static_cast<int>(*value * 1000 + 0.5);
        return Status();
    };
}

// Help column of the option lists.
constexpr size_t kColumn = 24;

// --json and --csv, which exclude each other.
struct FormatFlags {
    bool json = false, csv = false;

    void AddTo(std::vector<Option>& table, std::string jsonHelp = "an array of objects instead of the table",
        std::string csvHelp = "comma-separated values (RFC 4180) instead of the table")
    {
        table.push_back({ "--json", Takes::Nothing, SetFlag(json), {}, std::move(jsonHelp) });
        table.push_back({ "--csv", Takes::Nothing, SetFlag(csv), {}, std::move(csvHelp) });
    }
    Result<OutputFormat> Format() const
    {
        if (json && csv)
            return BadUsage("--json and --csv exclude each other");
        return json ? OutputFormat::Json : csv ? OutputFormat::Csv : OutputFormat::Table;
    }
};

// The options that say where requests go, the same for both commands.
std::vector<Option> PlanOptions(SendPlan& plan)
{
    auto interface = [&plan](std::string_view, const std::string& name) {
        plan.interfaceName = name;
        return name.empty() ? BadUsage("--interface needs an interface name") : Status();
    };
    auto target = [&plan](std::string_view, const std::string& text) {
        std::optional<std::string> destination = TargetDestination(text);
        if (!destination)
            return BadUsage("--target \"" + text
                + "\" is not ADDRESS or ADDRESS/PREFIX (a dotted-quad IPv4 address, a prefix of 0 to 32)");
        plan.targets.push_back(*destination);
        return Status();
    };
    return {
        { "--interface", Takes::Value, interface, "NAME", "send out of that port alone", {}, kOfferInterfaces },
        { "--all-interfaces", Takes::Nothing, SetFlag(plan.allInterfaces), {},
            "send out of every port (the default; kept for scripts)" },
        { "--target", Takes::Value, target, "ADDRESS[/PREFIX]",
            "send to that address, or to the subnet's broadcast address,\n"
            "instead of 255.255.255.255 (repeatable)" },
    };
}

Status CheckPlan(const SendPlan& plan)
{
    if (plan.allInterfaces && !plan.interfaceName.empty())
        return BadUsage("--interface and --all-interfaces exclude each other");
    if (plan.allInterfaces && !plan.targets.empty())
        return BadUsage("--target and --all-interfaces exclude each other");
    return {};
}

Status CheckAddress(const char* option, const std::string& value)
{
    if (IsDottedQuadIpv4(value))
        return {};
    return BadUsage(std::string(option) + " \"" + value
        + "\" is not a dotted-quad IPv4 address (four numbers 0 to 255, as 192.168.1.20)");
}

std::vector<Option> SetIpTable(SetIpOptions& options)
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
    std::vector<Option> plan = PlanOptions(options.plan);
    table.insert(table.end(), plan.begin(), plan.end());
    return table;
}

std::vector<Option> ScanTable(ScanOptions& options, FormatFlags& formats)
{
    auto repeat = [&options](std::string_view, const std::string& text) {
        // One digit, as the help text shows it: "03" is refused.
        static_assert(kMaxRepeat <= 9);
        std::optional<int> value = text.size() == 1 ? ReadNumber(text, 1, kMaxRepeat) : std::nullopt;
        if (!value)
            return BadUsage("--repeat \"" + text + "\" is not a number of requests from 1 to "
                + std::to_string(kMaxRepeat));
        options.repeat = *value;
        return Status();
    };
    std::vector<Option> table {
        { "--timeout", Takes::Value, ReadTimeout(options.timeoutMs), "MS",
            "how long to collect replies (default " + std::to_string(kDefaultScanMs) + ")" },
        { "--repeat", Takes::Value, repeat, "N",
            "send the request N times, 1 to " + std::to_string(kMaxRepeat) + " (default " + std::to_string(kDefaultRepeat)
                + "; 1 sends it once)",
            {}, "1 2 3 4 5" },
    };
    static_assert(kMaxRepeat == 5, "the words offered for --repeat");
    formats.AddTo(table);
    std::vector<Option> plan = PlanOptions(options.plan);
    table.insert(table.end(), plan.begin(), plan.end());
    table.push_back({ "--stats", Takes::Nothing, SetFlag(options.stats), {}, "timing and CPU figures on standard error" });
    return table;
}

std::vector<Option> KnownTable(KnownOptions& options, FormatFlags& formats)
{
    std::vector<Option> table;
    formats.AddTo(table);
    table.push_back({ "--forget", Takes::Nothing, SetFlag(options.forget), {}, "forget every device, and list none" });
    return table;
}

std::vector<Option> WakeTable(WakeOptions& options, FormatFlags& formats)
{
    auto udpPort = [&options](std::string_view, const std::string& text) {
        std::optional<int> port = ReadNumber(text, 1, 65535);
        if (!port)
            return BadUsage("--udp-port \"" + text + "\" is not a port number from 1 to 65535");
        options.udpPort = *port;
        return Status();
    };
    std::vector<Option> table {
        { "--wait", Takes::Value, ReadSeconds(options.waitMs, 0.001, 86400), "SECONDS",
            "then wait until each device answers a scan, and list it" },
        { "--udp-port", Takes::Value, udpPort, "N",
            "the UDP port the packet goes to (default " + std::to_string(kDefaultWakeUdpPort) + ")" },
    };
    formats.AddTo(table, "the list of --wait as an array of objects",
        "the list of --wait as comma-separated values (RFC 4180)");
    std::vector<Option> plan = PlanOptions(options.plan);
    table.insert(table.end(), plan.begin(), plan.end());
    return table;
}

std::vector<Option> WatchTable(WatchOptions& options)
{
    auto number = [](int& field, int low, int high) {
        return [&field, low, high](std::string_view name, const std::string& text) {
            std::optional<int> value = ReadNumber(text, low, high);
            if (!value)
                return BadUsage(std::string(name) + " \"" + text + "\" is not a number from " + std::to_string(low)
                    + " to " + std::to_string(high));
            field = *value;
            return Status();
        };
    };
    std::vector<Option> table {
        { "--interval", Takes::Value, ReadSeconds(options.intervalMs, 0.1, 86400), "SECONDS",
            "time from one scan to the next (default " + std::to_string(kDefaultWatchSeconds) + ")" },
        { "--count", Takes::Value, number(options.count, 1, 1000000000), "N", "stop after N scans" },
        { "--misses", Takes::Value, number(options.misses, 1, 1000), "N",
            "a device is gone after N scans in a row without it\n(default " + std::to_string(kDefaultMisses)
                + ", so one lost reply is no event)" },
        { "--json", Takes::Nothing, SetFlag(options.json), {}, "one JSON object per line" },
        { "--textfile", Takes::Value,
            [&options](std::string_view, const std::string& text) {
                options.textfile = text;
                return text.empty() ? BadUsage("--textfile needs a file name") : Status();
            },
            "FILE",
            "after every scan, replace FILE with the devices as\nPrometheus metrics (for the node exporter)" },
    };
    std::vector<Option> plan = PlanOptions(options.plan);
    table.insert(table.end(), plan.begin(), plan.end());
    return table;
}

std::vector<Option> WaitTable(WaitOptions& options, FormatFlags& formats)
{
    std::vector<Option> table { { "--timeout", Takes::Value, ReadSeconds(options.timeoutMs, 0.001, 86400), "SECONDS",
        "how long to keep scanning (default " + std::to_string(kDefaultWaitSeconds) + ")" } };
    formats.AddTo(table);
    std::vector<Option> plan = PlanOptions(options.plan);
    table.insert(table.end(), plan.begin(), plan.end());
    return table;
}

// What the values say together, once every option is read.
Status CheckSetIp(const SetIpOptions& options, bool haveDevice)
{
    if (Status plan = CheckPlan(options.plan); !plan.Ok())
        return plan;
    if (!haveDevice)
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

} // namespace

std::optional<std::string> TargetDestination(std::string_view text)
{
    std::string_view address = text;
    std::optional<unsigned> prefix = 32;
    if (size_t slash = text.find('/'); slash != std::string_view::npos) {
        address = text.substr(0, slash);
        prefix = ReadNumber(text.substr(slash + 1), 0u, 32u);
    }
    std::optional<Ipv4> parsed = IsDottedQuadIpv4(address) ? Ipv4::Parse(address) : std::nullopt;
    if (!prefix || !parsed)
        return std::nullopt;
    return parsed->Broadcast(Ipv4::MaskOfPrefix(static_cast<int>(*prefix))).ToText();
}

Result<ScanOptions> ParseScanOptions(const std::vector<std::string>& args)
{
    ScanOptions options;
    if (AsksForHelp(args)) {
        options.help = true;
        return options;
    }
    FormatFlags formats;
    if (Status status = ParseCommandLine(args, ScanTable(options, formats), Unexpected, kStyle); !status.Ok())
        return status;
    Result<OutputFormat> format = formats.Format();
    if (!format.Ok())
        return format.Failure();
    options.format = *format;
    if (Status plan = CheckPlan(options.plan); !plan.Ok())
        return plan;
    return options;
}

Result<SetIpOptions> ParseSetIpOptions(const std::vector<std::string>& args)
{
    SetIpOptions options;
    if (AsksForHelp(args)) {
        options.help = true;
        return options;
    }
    bool haveDevice = false;
    auto device = [&](const std::string& operand) {
        if (haveDevice)
            return Unexpected(operand);
        options.device = operand;
        haveDevice = true;
        return Status();
    };
    if (Status status = ParseCommandLine(args, SetIpTable(options), device, kStyle); !status.Ok())
        return status;
    if (Status status = CheckSetIp(options, haveDevice); !status.Ok())
        return status;
    return options;
}

Result<KnownOptions> ParseKnownOptions(const std::vector<std::string>& args)
{
    KnownOptions options;
    if (AsksForHelp(args)) {
        options.help = true;
        return options;
    }
    FormatFlags formats;
    if (Status status = ParseCommandLine(args, KnownTable(options, formats), Unexpected, kStyle); !status.Ok())
        return status;
    Result<OutputFormat> format = formats.Format();
    if (!format.Ok())
        return format.Failure();
    options.format = *format;
    return options;
}

Result<WakeOptions> ParseWakeOptions(const std::vector<std::string>& args)
{
    WakeOptions options;
    if (AsksForHelp(args)) {
        options.help = true;
        return options;
    }
    FormatFlags formats;
    auto target = [&options](const std::string& operand) {
        options.targets.push_back(operand);
        return Status();
    };
    if (Status status = ParseCommandLine(args, WakeTable(options, formats), target, kStyle); !status.Ok())
        return status;
    Result<OutputFormat> format = formats.Format();
    if (!format.Ok())
        return format.Failure();
    options.format = *format;
    if (options.targets.empty())
        return BadUsage("wake needs a MAC address, or the host name or address of a remembered device");
    if (Status plan = CheckPlan(options.plan); !plan.Ok())
        return plan;
    return options;
}

Result<WatchOptions> ParseWatchOptions(const std::vector<std::string>& args)
{
    WatchOptions options;
    if (AsksForHelp(args)) {
        options.help = true;
        return options;
    }
    if (Status status = ParseCommandLine(args, WatchTable(options), Unexpected, kStyle); !status.Ok())
        return status;
    if (Status plan = CheckPlan(options.plan); !plan.Ok())
        return plan;
    return options;
}

Result<WaitOptions> ParseWaitOptions(const std::vector<std::string>& args)
{
    WaitOptions options;
    if (AsksForHelp(args)) {
        options.help = true;
        return options;
    }
    FormatFlags formats;
    bool haveTarget = false;
    auto target = [&](const std::string& operand) {
        if (haveTarget)
            return Unexpected(operand);
        options.target = operand;
        haveTarget = true;
        return Status();
    };
    if (Status status = ParseCommandLine(args, WaitTable(options, formats), target, kStyle); !status.Ok())
        return status;
    Result<OutputFormat> format = formats.Format();
    if (!format.Ok())
        return format.Failure();
    options.format = *format;
    if (!haveTarget || options.target.empty())
        return BadUsage("wait needs the MAC address, host name or address of the device to wait for");
    if (Status plan = CheckPlan(options.plan); !plan.Ok())
        return plan;
    return options;
}

namespace {

// What a command's usage text says besides its options.
struct CommandText {
    CliCommand command;
    std::string synopsis;    // from "Usage:", option names alone: the table adds their values
    std::string description;
    std::string operand;     // an entry of the list before the options, or none
    std::string exitStatus;
};

const std::vector<CommandText>& Texts()
{
    static_assert(kDefaultRepeat == 3, "set-ip's text says the look-up sends up to three requests");
    static const std::vector<CommandText> texts {
        { { "scan", "list the NAS devices that answer a discovery request", false },
            "Usage: orbisk-cli scan [--timeout] [--repeat] [--json | --csv] [--stats]\n"
            "                       [--interface | --all-interfaces] [--target]...\n",
            "Sends the discovery request out of every network port that is up and can\n"
            "broadcast, and lists every device that answers before the timeout, once each,\n"
            "in the order their replies arrived. The request is sent several times early in\n"
            "the timeout, because a broadcast is easily lost on Wi-Fi.\n",
            {},
            "Exit status: 0 a device was listed, 1 none answered, 2 bad options,\n"
            "7 the network cannot be used (port 10001 taken, no such interface, ...).\n" },
        { { "set-ip", "change the IP configuration of one device", true },
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
            ListEntry("DEVICE", "the device's present address, as scan lists it", kColumn),
            "Exit status: 0 Success, 2 bad options or values (nothing sent), 3 wrong user or\n"
            "password, 4 the device refused for another reason, 5 no device answered,\n"
            "6 --verify did not find the device afterwards, 7 the network cannot be used.\n" },
        { { "known", "list the devices heard before, newest first", false },
            "Usage: orbisk-cli known [--json | --csv] [--forget]\n",
            "Lists the devices that scan, set-ip, watch, wait and wake --wait have heard,\n"
            "newest first, with when each was last heard (UTC). They are kept in\n"
            "$XDG_STATE_HOME/orbisk/devices (~/.local/state/orbisk/devices by default);\n"
            "ORBISK_NO_STATE=1 in the environment stops the recording.\n",
            {},
            "Exit status: 0, or 2 bad options, 7 the record could not be emptied.\n" },
        { { "wake", "wake a device with a Wake-on-LAN magic packet", true },
            "Usage: orbisk-cli wake TARGET... [--wait] [--udp-port] [--json | --csv]\n"
            "                       [--interface | --all-interfaces] [--target]...\n",
            "Sends the Wake-on-LAN magic packet (6 bytes 0xFF, then the MAC address 16\n"
            "times) to 255.255.255.255, UDP port " + std::to_string(kDefaultWakeUdpPort) + ". A TARGET is a MAC address\n"
            "(aa:bb:cc:dd:ee:ff, aa-bb-cc-dd-ee-ff, aabb.ccdd.eeff or aabbccddeeff), or\n"
            "the host name or address of a device listed by 'orbisk-cli known'. The packet\n"
            "leaves by the port the device last answered on, when that is known, otherwise\n"
            "out of every port.\n",
            {},
            "Exit status: 0 sent (and with --wait, every device answered), 1 a device did not\n"
            "answer within --wait, 2 bad options, an unknown TARGET or a host name that\n"
            "several devices share (nothing is sent), 7 the network cannot be used.\n" },
        { { "watch", "scan again and again and tell when devices appear, change or go", false },
            "Usage: orbisk-cli watch [--interval] [--count] [--misses] [--json]\n"
            "                        [--textfile] [--interface | --all-interfaces]\n"
            "                        [--target]...\n",
            "Scans every --interval seconds, as scan does, and prints a line when a device\n"
            "appears, when one of its fields changes (old and new value), and when it is\n"
            "gone. The first scan reports every device as appeared. Each line begins with\n"
            "the time (UTC) and is written at once. It runs until SIGINT or SIGTERM.\n"
            "With --textfile, after every scan FILE is replaced whole by the devices in\n"
            "Prometheus's text format (orbisk_device_up, orbisk_device_info, ...), for the\n"
            "node exporter's textfile collector; a device once seen stays listed, 0 when gone.\n",
            {},
            "Exit status: 0 stopped by a signal or after --count scans, 2 bad options,\n"
            "7 the network cannot be used or the --textfile could not be written.\n" },
        { { "wait", "scan until one device answers, then list it", true },
            "Usage: orbisk-cli wait TARGET [--timeout] [--json | --csv]\n"
            "                       [--interface | --all-interfaces] [--target]...\n",
            "Scans until a device with that MAC address, host name or address answers, and\n"
            "lists it: how a script learns where a device is after a restart or after it\n"
            "was switched to DHCP.\n",
            {},
            "Exit status: 0 the device answered, 1 it did not within the timeout,\n"
            "2 bad options, 7 the network cannot be used.\n" },
    };
    return texts;
}

std::string Usage(std::string_view command)
{
    for (const CommandText& text : Texts()) {
        if (text.command.name != command)
            continue;
        std::vector<Option> table = CommandOptions(command);
        return ExpandSynopsis(text.synopsis, table) + "\n" + text.description + "\n" + text.operand
            + OptionList(table, kColumn) + "\n" + text.exitStatus;
    }
    return {};
}

} // namespace

std::string MainUsage()
{
    std::string usage = "Usage: orbisk-cli COMMAND [OPTIONS]\n"
                        "       orbisk-cli --help | --version\n"
                        "\n"
                        "Commands:\n";
    for (const CliCommand& command : Commands())
        usage += ListEntry(command.name, command.summary, 11);
    return usage + "\nRun 'orbisk-cli COMMAND --help' for a command's options, 'man orbisk-cli' for more.\n";
}

std::string ScanUsage() { return Usage("scan"); }
std::string SetIpUsage() { return Usage("set-ip"); }
std::string KnownUsage() { return Usage("known"); }
std::string WakeUsage() { return Usage("wake"); }
std::string WatchUsage() { return Usage("watch"); }
std::string WaitUsage() { return Usage("wait"); }

std::vector<CliCommand> Commands()
{
    std::vector<CliCommand> commands;
    for (const CommandText& text : Texts())
        commands.push_back(text.command);
    return commands;
}

std::vector<std::string> CommandNames()
{
    std::vector<std::string> names;
    for (const CliCommand& command : Commands())
        names.emplace_back(command.name);
    return names;
}

std::vector<Option> CommandOptions(std::string_view command)
{
    // The tables are built over throw-away values, and their actions dropped
    // before those go.
    ScanOptions scan;
    SetIpOptions setIp;
    KnownOptions known;
    WakeOptions wake;
    WatchOptions watch;
    WaitOptions wait;
    FormatFlags formats;
    if (command == "scan")
        return WithoutActions(ScanTable(scan, formats));
    if (command == "set-ip")
        return WithoutActions(SetIpTable(setIp));
    if (command == "known")
        return WithoutActions(KnownTable(known, formats));
    if (command == "wake")
        return WithoutActions(WakeTable(wake, formats));
    if (command == "watch")
        return WithoutActions(WatchTable(watch));
    if (command == "wait")
        return WithoutActions(WaitTable(wait, formats));
    return {};
}

std::vector<std::string> OptionNames(std::string_view command)
{
    std::vector<std::string> names;
    for (const Option& option : CommandOptions(command)) {
        if (option.takes != Takes::Refused) // there only to say why not
            names.emplace_back(option.name);
    }
    return names;
}

#include "cli_options.h"

#include "ipv4.h"

#include <cstdint>

namespace {

constexpr int kMaxTimeoutMs = 24 * 3600 * 1000;

// Walks "--name value" and "--name=value" arguments one at a time.
class ArgReader {
public:
    explicit ArgReader(const std::vector<std::string>& args) : m_args(args) {}

    bool Next()
    {
        if (m_index >= m_args.size())
            return false;
        if (!m_operandsOnly && m_args[m_index] == "--") {
            m_operandsOnly = true;
            if (++m_index >= m_args.size())
                return false;
        }
        const std::string& arg = m_args[m_index++];
        m_inline.reset();
        m_name = arg;
        if (!m_operandsOnly && arg.starts_with("--")) {
            if (size_t eq = arg.find('='); eq != std::string::npos) {
                m_name = arg.substr(0, eq);
                m_inline = arg.substr(eq + 1);
            }
        }
        return true;
    }
    const std::string& Name() const { return m_name; }
    // After "--" every argument is an operand, even one that starts with "-".
    bool IsOption() const { return !m_operandsOnly && m_name.size() > 1 && m_name[0] == '-'; }
    bool HasInline() const { return m_inline.has_value(); }

    std::optional<std::string> Value(std::string& error)
    {
        if (m_inline)
            return m_inline;
        if (m_index >= m_args.size()) {
            error = "option " + m_name + " needs a value";
            return std::nullopt;
        }
        return m_args[m_index++];
    }

private:
    const std::vector<std::string>& m_args;
    size_t m_index = 0;
    bool m_operandsOnly = false;
    std::string m_name;
    std::optional<std::string> m_inline;
};

bool WantsHelp(const std::vector<std::string>& args)
{
    for (const std::string& arg : args) {
        if (arg == "--")
            return false;
        if (arg == "--help" || arg == "-h")
            return true;
    }
    return false;
}

// The value of --timeout, in milliseconds; false (and error) when it is missing or out of range.
bool ReadTimeout(ArgReader& reader, int& timeoutMs, std::string& error)
{
    std::optional<std::string> given = reader.Value(error);
    if (!given)
        return false;
    const std::string& text = *given;
    long long value = 0;
    bool ok = !text.empty() && text.size() <= 9;
    for (char c : text) {
        ok = ok && c >= '0' && c <= '9';
        value = value * 10 + (c - '0');
    }
    if (!ok || value < 1 || value > kMaxTimeoutMs) {
        error = "--timeout \"" + text + "\" is not a number of milliseconds from 1 to " + std::to_string(kMaxTimeoutMs);
        return false;
    }
    timeoutMs = static_cast<int>(value);
    return true;
}

// The value of --repeat: how many discovery requests one scan sends.
bool ReadRepeat(ArgReader& reader, int& repeat, std::string& error)
{
    std::optional<std::string> given = reader.Value(error);
    if (!given)
        return false;
    const std::string& text = *given;
    if (text.size() != 1 || text[0] < '1' || text[0] > '0' + kMaxRepeat) {
        error = "--repeat \"" + text + "\" is not a number of requests from 1 to " + std::to_string(kMaxRepeat);
        return false;
    }
    repeat = text[0] - '0';
    return true;
}

// The options that say where requests go; false when the argument is none of them.
bool ReadPlanOption(ArgReader& reader, SendPlan& plan, bool& failed, std::string& error)
{
    const std::string& name = reader.Name();
    if (name == "--all-interfaces" && !reader.HasInline()) {
        plan.allInterfaces = true;
        return true;
    }
    if (name != "--interface" && name != "--target")
        return false;
    std::optional<std::string> value = reader.Value(error);
    if (!value) {
        failed = true;
        return true;
    }
    if (name == "--interface") {
        if (value->empty()) {
            error = "--interface needs an interface name";
            failed = true;
        }
        plan.interfaceName = *value;
        return true;
    }
    std::optional<std::string> destination = TargetDestination(*value);
    if (!destination) {
        error = "--target \"" + *value + "\" is not ADDRESS or ADDRESS/PREFIX (a dotted-quad IPv4 address, a prefix of 0 to 32)";
        failed = true;
        return true;
    }
    plan.targets.push_back(*destination);
    return true;
}

bool CheckPlan(const SendPlan& plan, std::string& error)
{
    if (plan.allInterfaces && !plan.interfaceName.empty()) {
        error = "--interface and --all-interfaces exclude each other";
        return false;
    }
    if (plan.allInterfaces && !plan.targets.empty()) {
        error = "--target and --all-interfaces exclude each other";
        return false;
    }
    return true;
}

std::string Unknown(const ArgReader& reader)
{
    if (reader.IsOption())
        return "unknown option " + reader.Name();
    return "unexpected argument \"" + reader.Name() + "\"";
}

bool CheckAddress(const char* option, const std::string& value, std::string& error)
{
    if (IsDottedQuadIpv4(value))
        return true;
    error = std::string(option) + " \"" + value + "\" is not a dotted-quad IPv4 address (four numbers 0 to 255, as 192.168.1.20)";
    return false;
}

} // namespace

std::optional<std::string> TargetDestination(std::string_view text)
{
    std::string_view address = text;
    int prefix = 32;
    if (size_t slash = text.find('/'); slash != std::string_view::npos) {
        address = text.substr(0, slash);
        std::string_view digits = text.substr(slash + 1);
        if (digits.empty() || digits.size() > 2)
            return std::nullopt;
        prefix = 0;
        for (char c : digits) {
            if (c < '0' || c > '9')
                return std::nullopt;
            prefix = prefix * 10 + (c - '0');
        }
        if (prefix > 32)
            return std::nullopt;
    }
    std::optional<Ipv4> parsed = Ipv4::Parse(address);
    if (!parsed)
        return std::nullopt;
    return parsed->Broadcast(Ipv4::MaskOfPrefix(prefix)).ToText();
}

std::optional<ScanOptions> ParseScanOptions(const std::vector<std::string>& args, std::string& error)
{
    ScanOptions options;
    if (WantsHelp(args)) {
        options.help = true;
        return options;
    }
    bool json = false, csv = false;
    ArgReader reader(args);
    while (reader.Next()) {
        const std::string& name = reader.Name();
        bool failed = false;
        if (!reader.IsOption()) {
            error = Unknown(reader);
            return std::nullopt;
        }
        if (ReadPlanOption(reader, options.plan, failed, error)) {
            if (failed)
                return std::nullopt;
        } else if (name == "--timeout") {
            if (!ReadTimeout(reader, options.timeoutMs, error))
                return std::nullopt;
        } else if (name == "--repeat") {
            if (!ReadRepeat(reader, options.repeat, error))
                return std::nullopt;
        } else if (name == "--json" && !reader.HasInline()) {
            json = true;
        } else if (name == "--csv" && !reader.HasInline()) {
            csv = true;
        } else if (name == "--stats" && !reader.HasInline()) {
            options.stats = true;
        } else {
            error = Unknown(reader);
            return std::nullopt;
        }
    }
    if (json && csv) {
        error = "--json and --csv exclude each other";
        return std::nullopt;
    }
    options.format = json ? OutputFormat::Json : csv ? OutputFormat::Csv : OutputFormat::Table;
    if (!CheckPlan(options.plan, error))
        return std::nullopt;
    return options;
}

std::optional<SetIpOptions> ParseSetIpOptions(const std::vector<std::string>& args, std::string& error)
{
    SetIpOptions options;
    if (WantsHelp(args)) {
        options.help = true;
        return options;
    }
    bool haveDevice = false;
    ArgReader reader(args);
    while (reader.Next()) {
        const std::string& name = reader.Name();
        bool failed = false;
        std::string* text = nullptr;
        if (!reader.IsOption()) {
            if (haveDevice) {
                error = Unknown(reader);
                return std::nullopt;
            }
            options.device = name;
            haveDevice = true;
            continue;
        }
        if (ReadPlanOption(reader, options.plan, failed, error)) {
            if (failed)
                return std::nullopt;
            continue;
        }
        if (name == "--static" || name == "--dhcp") {
            AddressMode mode = name == "--static" ? AddressMode::Static : AddressMode::Dhcp;
            if (reader.HasInline() || (options.mode != AddressMode::NotGiven && options.mode != mode)) {
                error = reader.HasInline() ? name + " takes no value" : "--static and --dhcp exclude each other";
                return std::nullopt;
            }
            options.mode = mode;
        } else if (name == "--password" || name.starts_with("--password=")) {
            error = "there is no --password option: the password is asked for on the terminal, or read from "
                    "standard input with --password-stdin, so that it never shows in the process list";
            return std::nullopt;
        } else if (name == "--password-stdin" && !reader.HasInline()) {
            options.passwordStdin = true;
        } else if (name == "--verify" && !reader.HasInline()) {
            options.verify = true;
        } else if (name == "--force" && !reader.HasInline()) {
            options.force = true;
        } else if (name == "--timeout") {
            if (!ReadTimeout(reader, options.timeoutMs, error))
                return std::nullopt;
        } else if (name == "--address") {
            text = &options.address;
        } else if (name == "--netmask") {
            text = &options.netmask;
        } else if (name == "--gateway") {
            text = &options.gateway;
        } else if (name == "--user") {
            text = &options.user;
        } else {
            error = Unknown(reader);
            return std::nullopt;
        }
        if (text != nullptr) {
            auto value = reader.Value(error);
            if (!value)
                return std::nullopt;
            *text = *value;
        }
    }
    if (!CheckPlan(options.plan, error))
        return std::nullopt;
    if (!haveDevice) {
        error = "set-ip needs the device's present address";
        return std::nullopt;
    }
    if (!CheckAddress("device address", options.device, error))
        return std::nullopt;
    if (options.mode == AddressMode::NotGiven) {
        error = "set-ip needs --static or --dhcp";
        return std::nullopt;
    }
    if (options.mode == AddressMode::Static) {
        const std::pair<const char*, const std::string*> values[] = {
            { "--address", &options.address }, { "--netmask", &options.netmask }, { "--gateway", &options.gateway },
        };
        for (const auto& [option, value] : values) {
            if (value->empty()) {
                error = std::string("--static needs ") + option;
                return std::nullopt;
            }
            if (!CheckAddress(option, *value, error))
                return std::nullopt;
        }
    } else if (!options.address.empty() || !options.netmask.empty() || !options.gateway.empty()) {
        error = "--dhcp takes no --address, --netmask or --gateway: the device's present values are sent";
        return std::nullopt;
    }
    if (options.user.empty()) {
        error = "set-ip needs --user NAME (not empty)";
        return std::nullopt;
    }
    return options;
}

std::string MainUsage()
{
    return "Usage: orbisk-cli COMMAND [OPTIONS]\n"
           "       orbisk-cli --help | --version\n"
           "\n"
           "Commands:\n"
           "  scan     list the NAS devices that answer a discovery request\n"
           "  set-ip   change the IP configuration of one device\n"
           "\n"
           "Run 'orbisk-cli COMMAND --help' for a command's options, 'man orbisk-cli' for more.\n";
}

std::string ScanUsage()
{
    return "Usage: orbisk-cli scan [--timeout MS] [--repeat N] [--json | --csv] [--stats]\n"
           "                       [--interface NAME | --all-interfaces] [--target ADDRESS[/PREFIX]]...\n"
           "\n"
           "Sends the discovery request out of every network port that is up and can\n"
           "broadcast, and lists every device that answers before the timeout, once each,\n"
           "in the order their replies arrived. The request is sent several times early in\n"
           "the timeout, because a broadcast is easily lost on Wi-Fi.\n"
           "\n"
           "  --timeout MS          how long to collect replies (default 1500)\n"
           "  --repeat N            send the request N times, 1 to 5 (default 3; 1 sends it once)\n"
           "  --json                an array of objects instead of the table\n"
           "  --csv                 comma-separated values (RFC 4180) instead of the table\n"
           "  --interface NAME      send out of that port alone\n"
           "  --all-interfaces      send out of every port (the default; kept for scripts)\n"
           "  --target ADDRESS[/PREFIX]\n"
           "                        send to that address, or to the subnet's broadcast address,\n"
           "                        instead of 255.255.255.255 (repeatable)\n"
           "  --stats               timing and CPU figures on standard error\n"
           "\n"
           "Exit status: 0 a device was listed, 1 none answered, 2 bad options,\n"
           "7 the network cannot be used (port 10001 taken, no such interface, ...).\n";
}

std::string SetIpUsage()
{
    return "Usage: orbisk-cli set-ip DEVICE --static --address A --netmask N --gateway G --user NAME\n"
           "                         [--password-stdin] [--timeout MS] [--verify] [--force]\n"
           "       orbisk-cli set-ip DEVICE --dhcp --user NAME [--password-stdin] [--timeout MS] [--verify] [--force]\n"
           "       (where the request goes: [--interface NAME | --all-interfaces] [--target ADDRESS[/PREFIX]])\n"
           "\n"
           "Sends the address-change request for the device now at DEVICE and waits for its\n"
           "answer. The password is asked for on the terminal without echo, or read as one\n"
           "line from standard input with --password-stdin; it is never an argument.\n"
           "The device is looked up first, and the request leaves by the port it answered\n"
           "on alone; with --dhcp the look-up also gives its present netmask and gateway,\n"
           "because the request carries them.\n"
           "The look-up and the --verify check send the discovery request up to three\n"
           "times, as scan does; the change request itself is sent once.\n"
           "\n"
           "  DEVICE                the device's present address, as scan lists it\n"
           "  --static              give the device a fixed address; needs --address,\n"
           "                        --netmask and --gateway\n"
           "  --dhcp                let the device take its address from a DHCP server\n"
           "  --address A           the new address (dotted quad, as 192.168.1.77)\n"
           "  --netmask N           the new netmask (as 255.255.255.0)\n"
           "  --gateway G           the new gateway (as 192.168.1.1)\n"
           "  --user NAME           the device administrator's user name\n"
           "  --password-stdin      read the password as the first line of standard input\n"
           "                        instead of asking on the terminal\n"
           "  --timeout MS          how long to wait for the answer (default 3000)\n"
           "  --verify              after \"Success\", scan again and report where the device answers\n"
           "  --force               send even what the checks refuse: a netmask, address or gateway\n"
           "                        that would cut the device off, an address another host holds,\n"
           "                        several devices answering at DEVICE (they would all change)\n"
           "  --interface NAME      send out of that port alone\n"
           "  --all-interfaces      send out of every port (the default; kept for scripts)\n"
           "  --target ADDRESS[/PREFIX]\n"
           "                        send to that address, or to the subnet's broadcast address,\n"
           "                        instead of 255.255.255.255 (repeatable)\n"
           "\n"
           "Exit status: 0 Success, 2 bad options or values (nothing sent), 3 wrong user or\n"
           "password, 4 the device refused for another reason, 5 no device answered,\n"
           "6 --verify did not find the device afterwards, 7 the network cannot be used.\n";
}

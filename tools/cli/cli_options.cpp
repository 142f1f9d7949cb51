#include "cli_command.h"

#include "ipv4.h"

#include <algorithm>

namespace {

constexpr int kMaxTimeoutMs = 24 * 3600 * 1000;

} // namespace

NumberWording IsNot(std::string what)
{
    return [what](std::string_view name, const std::string& value, const std::string& range) {
        return std::string(name) + " \"" + value + "\" is not " + what + " from " + range;
    };
}

OptionAction ReadTimeout(int& timeoutMs)
{
    return RangedNumber(timeoutMs, 1, kMaxTimeoutMs, IsNot("a number of milliseconds"));
}

OptionAction ReadSeconds(int& ms, double low, double high)
{
    return RangedNumber<double>(low, high, IsNot("a number of seconds"),
        [&ms](double seconds) { ms = static_cast<int>(seconds * 1000 + 0.5); });
}

void SharedOptions::AddFormats(std::vector<Option>& table, OutputFormat& format, std::string jsonHelp,
    std::string csvHelp)
{
    m_format = &format;
    table.push_back({ "--json", Takes::Nothing, SetFlag(m_json), {}, std::move(jsonHelp) });
    table.push_back({ "--csv", Takes::Nothing, SetFlag(m_csv), {}, std::move(csvHelp) });
}

void SharedOptions::AddPlan(std::vector<Option>& table, SendPlan& plan)
{
    m_plan = &plan;
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
    table.insert(table.end(), {
        { "--interface", Takes::Value, interface, "NAME", "send out of that port alone", {}, kOfferInterfaces },
        { "--all-interfaces", Takes::Nothing, SetFlag(plan.allInterfaces), {},
            "send out of every port (the default; kept for scripts)" },
        { "--target", Takes::Value, target, "ADDRESS[/PREFIX]",
            "send to that address, or to the subnet's broadcast address,\n"
            "instead of 255.255.255.255 (repeatable)" },
    });
}

Status SharedOptions::CheckFormats()
{
    if (m_json && m_csv)
        return BadUsage("--json and --csv exclude each other");
    if (m_format != nullptr)
        *m_format = m_json ? OutputFormat::Json : m_csv ? OutputFormat::Csv : OutputFormat::Table;
    return {};
}

Status SharedOptions::CheckPlan() const
{
    return m_plan != nullptr ? ::CheckPlan(*m_plan) : Status();
}

Status CheckPlan(const SendPlan& plan)
{
    if (plan.allInterfaces && !plan.interfaceName.empty())
        return BadUsage("--interface and --all-interfaces exclude each other");
    if (plan.allInterfaces && !plan.targets.empty())
        return BadUsage("--target and --all-interfaces exclude each other");
    return {};
}

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

const CliCommand* FindCommand(std::string_view name)
{
    const std::vector<CliCommand>& commands = Commands();
    auto found = std::find_if(commands.begin(), commands.end(), [&](const CliCommand& c) { return c.name == name; });
    return found == commands.end() ? nullptr : &*found;
}

std::string Usage(std::string_view name)
{
    const CliCommand* command = FindCommand(name);
    if (command == nullptr)
        return {};
    std::vector<Option> table = command->options();
    return ExpandSynopsis(command->synopsis, table) + "\n" + command->description + "\n" + command->operand
        + OptionList(table, kCliColumn) + "\n" + command->exitStatus;
}

std::string Synopsis(const std::string& usage, std::string_view command)
{
    return usage.substr(0, usage.find("\n\n") + 1) + "Run 'orbisk-cli " + std::string(command) + " --help' for more.\n";
}

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

std::vector<std::string> CommandNames()
{
    std::vector<std::string> names;
    for (const CliCommand& command : Commands())
        names.emplace_back(command.name);
    return names;
}

std::vector<Option> CommandOptions(std::string_view name)
{
    const CliCommand* command = FindCommand(name);
    return command != nullptr ? command->options() : std::vector<Option>();
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

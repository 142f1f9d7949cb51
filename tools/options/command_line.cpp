#include "command_line.h"

#include <algorithm>

namespace {

const Option* Find(std::span<const Option> table, std::string_view name)
{
    auto found = std::find_if(table.begin(), table.end(),
        [&](const Option& o) { return o.name == name || (!o.shortName.empty() && o.shortName == name); });
    return found == table.end() ? nullptr : &*found;
}

bool LooksLikeOption(const std::string& arg, std::span<const Option> table, CommandLineStyle style)
{
    if (arg.size() < 2 || arg[0] != '-')
        return false;
    return arg[1] == '-' || style.dashIsOption || Find(table, arg) != nullptr;
}

} // namespace

Status BadUsage(std::string sentence)
{
    return Status::Refused(std::errc::invalid_argument, std::move(sentence));
}

Status Unexpected(const std::string& argument)
{
    return BadUsage("unexpected argument \"" + argument + "\"");
}

Status ParseCommandLine(const std::vector<std::string>& args, std::span<const Option> table,
    const OperandAction& operand, CommandLineStyle style)
{
    bool operandsOnly = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!operandsOnly && arg == "--") {
            operandsOnly = true;
            continue;
        }
        if (operandsOnly || !LooksLikeOption(arg, table, style)) {
            if (Status status = operand(arg); !status.Ok())
                return status;
            continue;
        }
        std::string name = arg;
        std::optional<std::string> value;
        if (size_t eq = arg.find('='); arg.starts_with("--") && eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
        }
        const Option* option = Find(table, name);
        if (option == nullptr)
            return BadUsage("unknown option " + name);
        if (option->takes == Takes::Nothing && value)
            return BadUsage(name + " takes no value");
        if (option->takes == Takes::Value && !value) {
            if (i + 1 == args.size())
                return BadUsage((style.sayOption ? "option " : "") + name + " needs a value");
            value = args[++i];
        }
        if (Status status = option->take(name, value.value_or("")); !status.Ok())
            return status;
    }
    return {};
}

bool AsksForHelp(const std::vector<std::string>& args)
{
    for (const std::string& arg : args) {
        if (arg == "--")
            return false;
        if (arg == "--help" || arg == "-h")
            return true;
    }
    return false;
}

OptionAction SetFlag(bool& field)
{
    return [&field](std::string_view, const std::string&) {
        field = true;
        return Status();
    };
}

OptionAction SetText(std::string& field)
{
    return [&field](std::string_view, const std::string& value) {
        field = value;
        return Status();
    };
}

std::string OptionLabel(const Option& option)
{
    std::string label(option.name);
    if (!option.value.empty())
        label += " " + std::string(option.value);
    if (!option.shortName.empty())
        label += ", " + std::string(option.shortName);
    return label;
}

std::string ListEntry(std::string_view label, std::string_view help, size_t column)
{
    std::string entry = "  " + std::string(label);
    if (entry.size() + 1 > column)
        entry += "\n" + std::string(column, ' ');
    else
        entry += std::string(column - entry.size(), ' ');
    for (size_t start = 0; start <= help.size();) {
        size_t end = std::min(help.find('\n', start), help.size());
        if (start > 0)
            entry += std::string(column, ' ');
        entry += std::string(help.substr(start, end - start)) + "\n";
        start = end + 1;
    }
    return entry;
}

std::string OptionList(std::span<const Option> table, size_t column)
{
    std::string list;
    for (const Option& option : table) {
        if (!option.help.empty())
            list += ListEntry(OptionLabel(option), option.help, column);
    }
    return list;
}

std::string ExpandSynopsis(std::string_view synopsis, std::span<const Option> table)
{
    auto isNameChar = [](char c) { return (c >= 'a' && c <= 'z') || c == '-'; };
    std::string text;
    for (size_t i = 0; i < synopsis.size();) {
        bool starts = synopsis.substr(i).starts_with("--") && (i == 0 || !isNameChar(synopsis[i - 1]));
        if (!starts) {
            text += synopsis[i++];
            continue;
        }
        size_t end = i + 2;
        while (end < synopsis.size() && isNameChar(synopsis[end]))
            ++end;
        std::string_view name = synopsis.substr(i, end - i);
        text += name;
        if (const Option* option = Find(table, name); option != nullptr && !option->value.empty())
            text += " " + std::string(option->value);
        i = end;
    }
    return text;
}

std::vector<Option> WithoutActions(std::vector<Option> table)
{
    for (Option& option : table)
        option.take = nullptr;
    return table;
}

#include "cli_completion.h"

#include "cli_command.h"

#include <map>

namespace {

// "a | b | c", broken before it passes `width` into lines indented by `indent`.
std::string Alternatives(const std::vector<std::string>& words, size_t indent, size_t width = 100)
{
    std::string text, line;
    for (const std::string& word : words) {
        if (line.empty()) {
            line = word;
        } else if (indent + line.size() + 3 + word.size() + 2 > width) {
            text += line + " | \\\n" + std::string(indent + 4, ' ');
            line = word;
        } else {
            line += " | " + word;
        }
    }
    return text + line;
}

std::string Joined(const std::vector<std::string>& words, std::string_view between = " ")
{
    std::string text;
    for (const std::string& word : words)
        text += (text.empty() ? "" : std::string(between)) + word;
    return text;
}

std::vector<Option> Offered(std::string_view command)
{
    std::vector<Option> options;
    for (Option& option : CommandOptions(command)) {
        if (option.takes != Takes::Refused) // there only to say why not
            options.push_back(std::move(option));
    }
    return options;
}

// The first clause of the help, on one line, quoted for fish.
std::string FishDescription(std::string_view help)
{
    std::string text;
    for (char c : help)
        text += c == '\n' ? ' ' : c;
    for (std::string_view end : { "; ", ": " }) {
        if (size_t at = text.find(end); at != std::string::npos)
            text.resize(at);
    }
    // Not half a parenthesis: "every port (the default; ...)" is "every port".
    if (size_t open = text.rfind(" ("); open != std::string::npos && text.find(')', open) == std::string::npos)
        text.resize(open);
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + "'";
}

// The bash cases of each command's options (`lists`) and of what follows
// an option that takes a value (`afterOption`).
void BashCases(const std::vector<std::string>& commands, std::string& lists, std::string& afterOption)
{
    // After an option that takes a value: "command:--option" patterns by
    // what they offer ("" nothing).
    std::map<std::string, std::vector<std::string>> byOffer;
    for (const std::string& command : commands) {
        std::vector<std::string> names;
        for (const Option& option : Offered(command)) {
            names.emplace_back(option.name);
            if (option.takes == Takes::Value)
                byOffer[std::string(option.offer)].push_back(command + ":" + std::string(option.name));
        }
        names.emplace_back("--help");
        lists += "        " + command + ")\n            options=\"" + Joined(names) + "\"\n            ;;\n";
    }
    for (const auto& [offer, patterns] : byOffer) {
        afterOption += "        " + Alternatives(patterns, 8) + ")\n";
        if (offer == kOfferInterfaces) {
            afterOption += "            # The network interfaces of this machine.\n"
                           "            COMPREPLY=($(compgen -W \"$(command ls /sys/class/net 2>/dev/null)\" -- \"$cur\"))\n";
        } else if (!offer.empty()) {
            afterOption += "            COMPREPLY=($(compgen -W \"" + offer + "\" -- \"$cur\"))\n";
        }
        afterOption += "            return\n            ;;\n";
    }
}

} // namespace

std::string BashCompletion()
{
    std::vector<std::string> commands, withoutOperands;
    for (const CliCommand& command : Commands()) {
        commands.emplace_back(command.name);
        if (!command.operands)
            withoutOperands.emplace_back(command.name);
    }

    std::string lists, afterOption;
    BashCases(commands, lists, afterOption);

    return "# bash completion for orbisk-cli                            -*- shell-script -*-\n"
           "# Made from orbisk-cli's option tables when it is built.\n"
           "\n"
           "_orbisk_cli()\n"
           "{\n"
           "    local cur prev words cword\n"
           "    _init_completion || return\n"
           "\n"
           "    local command=\"\" i\n"
           "    for ((i = 1; i < cword; i++)); do\n"
           "        case ${words[i]} in\n"
           "            " + Alternatives(commands, 12) + ")\n"
           "                command=${words[i]}\n"
           "                break\n"
           "                ;;\n"
           "        esac\n"
           "    done\n"
           "\n"
           "    case $command:$prev in\n"
        + afterOption
        + "    esac\n"
           "\n"
           "    local options\n"
           "    case $command in\n"
        + lists
        + "        *)\n"
           "            COMPREPLY=($(compgen -W \"" + Joined(commands) + " --help --version\" -- \"$cur\"))\n"
           "            return\n"
           "            ;;\n"
           "    esac\n"
           "    # Options come first; a command without operands offers them at once.\n"
           "    if [[ $cur == -* || $command == @(" + Joined(withoutOperands, "|") + ") ]]; then\n"
           "        COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
           "    fi\n"
           "} &&\n"
           "    complete -F _orbisk_cli orbisk-cli\n";
}

std::string FishCompletion()
{
    const std::string prefix = "complete -c orbisk-cli ";
    std::string text = "# fish completion for orbisk-cli\n"
                       "# Made from orbisk-cli's option tables when it is built.\n";
    std::vector<std::string> names;
    for (const CliCommand& command : Commands())
        names.emplace_back(command.name);
    text += "set -l commands " + Joined(names) + "\n" + prefix + "-f\n";
    const std::string noCommand = "-n \"not __fish_seen_subcommand_from $commands\" ";
    for (const CliCommand& command : Commands()) {
        text += prefix + noCommand + "-a " + std::string(command.name) + " -d "
            + FishDescription(command.summary) + "\n";
    }
    text += prefix + noCommand + "-l version -d 'the program version'\n";
    text += prefix + "-s h -l help -d 'usage'\n";
    for (const CliCommand& command : Commands()) {
        for (const Option& option : Offered(command.name)) {
            text += prefix + "-n \"__fish_seen_subcommand_from " + std::string(command.name) + "\" -l "
                + std::string(option.name.substr(2));
            if (option.takes == Takes::Value) {
                text += " -x";
                if (option.offer == kOfferInterfaces)
                    text += " -a '(__fish_print_interfaces)'";
                else if (!option.offer.empty())
                    text += " -a '" + std::string(option.offer) + "'";
            }
            text += " -d " + FishDescription(option.help) + "\n";
        }
    }
    return text;
}

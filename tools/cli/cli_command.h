#pragma once

// How an orbisk-cli command is written. Each command is a file of its own
// that makes one entry of the table in cli_commands.cpp: its name and usage
// texts, its options, and what it does. The steps every command shares are
// here: --help, the output format, where requests go, and a refusal of the
// command line with the usage lines after it.

#include "cli_options.h"
#include "command_line.h"

#include <cstddef>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

// The messages of a bad option say which program complains: "option --timeout
// needs a value", "unknown option -x".
inline constexpr CommandLineStyle kCliStyle { .sayOption = true, .dashIsOption = true };

// Help column of the option lists.
inline constexpr size_t kCliColumn = 24;

// What the shared parse step reads for the commands that take it: --json and
// --csv, which exclude each other, and the options that say where requests
// go. Lives as long as the table it adds to.
class SharedOptions {
public:
    // --json and --csv, into `format` once every option is read.
    void AddFormats(std::vector<Option>& table, OutputFormat& format,
        std::string jsonHelp = "an array of objects instead of the table",
        std::string csvHelp = "comma-separated values (RFC 4180) instead of the table");
    // --interface, --all-interfaces and --target, into `plan`.
    void AddPlan(std::vector<Option>& table, SendPlan& plan);

    // What they say together, once every option is read.
    Status CheckFormats();
    Status CheckPlan() const;

private:
    bool m_json = false, m_csv = false;
    OutputFormat* m_format = nullptr;
    SendPlan* m_plan = nullptr;
};

// --interface and --all-interfaces, or --target and --all-interfaces.
Status CheckPlan(const SendPlan& plan);

// A refused number in orbisk-cli's words: "--udp-port "0" is not a port
// number from 1 to 65535", with `what` "a port number".
NumberWording IsNot(std::string what);
// --timeout MS, from 1 ms to a day.
OptionAction ReadTimeout(int& timeoutMs);
// Seconds, as "120" or "0.5", kept as milliseconds.
OptionAction ReadSeconds(int& ms, double low, double high);

// What a command's usage texts say besides its options.
struct CommandText {
    std::string_view name;    // "scan"
    std::string_view summary; // its line in the main usage text
    std::string synopsis;     // from "Usage:", option names alone: the table adds their values
    std::string description;
    std::string operand;      // an entry of the list before the options, or none
    std::string exitStatus;
};

inline constexpr size_t kAnyOperands = static_cast<size_t>(-1);

// One command as its file writes it, over its own options O (which have a
// `help` flag): { { the texts }, table, maxOperands, operand, check, run }.
// The shared parse step runs in this order: --help, the table and the
// operands, the formats, `check`, the plan.
template <class O>
struct CommandDefinition : CommandText {
    // The options in the order of the usage text; `shared` adds its own
    // where the command takes them.
    std::vector<Option> (*table)(O& options, SharedOptions& shared) = nullptr;
    size_t maxOperands = 0;                                            // more are unexpected arguments
    void (*operand)(O& options, const std::string& operand) = nullptr; // takes each one
    Status (*check)(const O& options, size_t operands) = nullptr;      // what the values say together
    int (*run)(const O& options, std::ostream& out, std::ostream& err) = nullptr; // the exit status
};

// A command as the table holds it, whatever its options.
struct CliCommand : CommandText {
    bool operands = false; // takes arguments besides options
    std::function<std::vector<Option>()> options; // its table, without actions
    std::function<int(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)> run;
};

// The table, in the order of the main usage text.
const std::vector<CliCommand>& Commands();
const CliCommand* FindCommand(std::string_view name);

// The usage lines of a command's help, for a complaint about its options.
std::string Synopsis(const std::string& usage, std::string_view command);

// The shared parse step: the options, or the failure for standard error.
template <class O>
Result<O> ParseCommand(const std::vector<std::string>& args, const CommandDefinition<O>& definition)
{
    O options;
    if (AsksForHelp(args)) {
        options.help = true;
        return options;
    }
    SharedOptions shared;
    size_t operands = 0;
    auto operand = [&](const std::string& text) {
        if (operands == definition.maxOperands)
            return Unexpected(text);
        ++operands;
        definition.operand(options, text);
        return Status();
    };
    if (Status status = ParseCommandLine(args, definition.table(options, shared), operand, kCliStyle); !status.Ok())
        return status;
    if (Status formats = shared.CheckFormats(); !formats.Ok())
        return formats;
    if (definition.check) {
        if (Status checked = definition.check(options, operands); !checked.Ok())
            return checked;
    }
    if (Status plan = shared.CheckPlan(); !plan.Ok())
        return plan;
    return options;
}

// The definitions of scan and set-ip, whose options the tests read as parsed.
CommandDefinition<ScanOptions> ScanDefinition();
CommandDefinition<SetIpOptions> SetIpDefinition();

// The table's entry for a command: --help gives its usage text, a refused
// command line the reason and the usage lines (exit status 2).
template <class O>
CliCommand MakeCommand(CommandDefinition<O> definition)
{
    CliCommand command { static_cast<const CommandText&>(definition), definition.maxOperands > 0, {}, {} };
    command.options = [table = definition.table] {
        O options;
        SharedOptions shared;
        return WithoutActions(table(options, shared));
    };
    command.run = [definition](const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
        Result<O> options = ParseCommand(args, definition);
        if (!options.Ok()) {
            err << "orbisk-cli " << definition.name << ": " << options.Failure().Message() << "\n"
                << Synopsis(Usage(definition.name), definition.name);
            return static_cast<int>(StatusUsage);
        }
        if (options->help) {
            out << Usage(definition.name);
            return static_cast<int>(StatusOk);
        }
        return definition.run(*options, out, err);
    };
    return command;
}

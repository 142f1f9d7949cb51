#pragma once

// The command lines of orbisk-cli and orbisk-devsim, read one way: each
// program lists its options in a table, with what to do with each value.
// Options are "--name value" or "--name=value"; "--" ends them, and every
// argument after it is an operand.

#include "status.h"

#include <charconv>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

enum class Takes {
    Nothing, // a flag; "--name=value" is refused
    Value,   // the inline value, or else the next argument, whatever it is
    Refused, // an option that exists only to be refused, in either spelling
};

// Takes one option's value ("" for a flag); a failure's message is the
// operator's, as it is. The option's name comes along for the wording.
using OptionAction = std::function<Status(std::string_view name, const std::string& value)>;
using OperandAction = std::function<Status(const std::string& operand)>;

struct Option {
    std::string_view name; // "--timeout", or a short alias such as "-h"
    Takes takes;
    OptionAction take;
};

// Where the two programs word the parser's own complaints differently.
struct CommandLineStyle {
    bool sayOption = false;    // "option --timeout needs a value", not "--timeout needs a value"
    bool dashIsOption = false; // "-x" is an unknown option, not an unexpected argument
};

// Hands every option to its entry and every operand to `operand`, in the
// order given; stops at the first failure.
Status ParseCommandLine(const std::vector<std::string>& args, std::span<const Option> table,
    const OperandAction& operand, CommandLineStyle style = {});

// A refusal of the command line: exit status 2 in both programs.
Status BadUsage(std::string sentence);
Status Unexpected(const std::string& argument);

// "--help" or "-h" before any "--": help is given whatever else is wrong.
bool AsksForHelp(const std::vector<std::string>& args);

// The common entries.
OptionAction SetFlag(bool& field);
OptionAction SetText(std::string& field);

// A number from low to high and nothing else: no sign where T is unsigned,
// no '+', no spaces, no hex.
template <class T>
std::optional<T> ReadNumber(std::string_view text, T low, T high)
{
    T value {};
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !(value >= low && value <= high))
        return std::nullopt;
    return value;
}

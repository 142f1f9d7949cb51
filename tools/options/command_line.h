#pragma once

// The command lines of orbisk-cli and orbisk-devsim, read one way: each
// program lists its options in a table, with what to do with each value and
// how the usage text and the shell completions describe it, so that an
// option is written down once.
// Options are "--name value" or "--name=value"; "--" ends them, and every
// argument after it is an operand.

#include "read_number.h"
#include "status.h"

#include <cstdio>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
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

// Offered by a shell completion for an option's value: these words, or this
// machine's network interfaces.
inline constexpr std::string_view kOfferInterfaces = "(interfaces)";

struct Option {
    std::string_view name; // "--timeout"
    Takes takes;
    OptionAction take;
    std::string_view value = {};     // the value's name in the texts: "MS", "ADDRESS[/PREFIX]"
    std::string help = {};           // its lines in the usage text, '\n' between them; none: not listed
    std::string_view shortName = {}; // a second spelling, "-v"
    std::string_view offer = {};     // completion of the value: words, or kOfferInterfaces
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

// "--timeout MS", "--verbose, -v".
std::string OptionLabel(const Option& option);

// One entry of an option list: two spaces, the label, the help from
// `column` on (on the next line when the label reaches it), every further
// help line indented to `column`.
std::string ListEntry(std::string_view label, std::string_view help, size_t column);

// Every listed option of the table, in its order.
std::string OptionList(std::span<const Option> table, size_t column);

// The synopsis as written, with each option name of the table followed by
// the name of its value: "[--timeout]" becomes "[--timeout MS]".
std::string ExpandSynopsis(std::string_view synopsis, std::span<const Option> table);

// The table for the documents alone: the same entries, without their actions.
std::vector<Option> WithoutActions(std::vector<Option> table);

// The common entries.
OptionAction SetFlag(bool& field);
OptionAction SetText(std::string& field);

// "1 to 5", "0.1 to 86400".
template <class T>
std::string RangeText(T low, T high)
{
    if constexpr (std::is_floating_point_v<T>) {
        char range[64];
        std::snprintf(range, sizeof range, "%g to %g", static_cast<double>(low), static_cast<double>(high));
        return range;
    } else {
        return std::to_string(low) + " to " + std::to_string(high);
    }
}

// How a program words a number it refuses, from the option's name, the value
// as given and the range as RangeText has it.
using NumberWording = std::function<std::string(std::string_view name, const std::string& value,
    const std::string& range)>;

// An option whose value is a number from low to high (ReadNumber), handed to
// `take`; anything else is refused in the program's words. A value longer
// than maxLength characters is refused too (0: any length).
template <class T>
OptionAction RangedNumber(T low, T high, NumberWording wording, std::function<void(T)> take, size_t maxLength = 0)
{
    return [=](std::string_view name, const std::string& text) {
        std::optional<T> value = ReadNumber(text, low, high);
        if (!value || (maxLength != 0 && text.size() > maxLength))
            return BadUsage(wording(name, text, RangeText(low, high)));
        take(*value);
        return Status();
    };
}

// The same, into a field.
template <class T, class Field>
OptionAction RangedNumber(Field& field, T low, T high, NumberWording wording)
{
    return RangedNumber<T>(low, high, std::move(wording), [&field](T value) { field = value; });
}
